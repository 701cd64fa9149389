#include "listing/TFileListBox.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "desktop/BusyCursor.h"
#include "listing/MaskFilter.h"
#include "listing/NameOrder.h"
#include "listing/Paths.h"
#include "listing/TDirectoryListBox.h"
#include "listing/Wildcard.h"
#include "platform/FileSystem.h"
#include "platform/PendingFile.h"
#include "util/Ascii.h"

namespace twinfold {
namespace {

using Item = TFileListBox::Item;
using Glyph = TFileListBox::Glyph;

// Entries from this position on take long enough to show the busy cursor.
constexpr std::size_t kBusyFrom = 100;

// The search passes an entry with a hidden, system, volume or directory bit
// only when that bit is asked for; it is then admitted by ftNormal or by any
// asked bit it carries.
bool Admits(const platform::DirEntry& entry, TFileType type) {
    constexpr std::uint32_t kSearchBits =
        platform::kHidden | platform::kSystem | platform::kVolumeId | platform::kDirectory;
    const std::uint32_t asked = type.AttributeWord();
    if ((entry.attributes & kSearchBits & ~asked) != 0) return false;
    return type.Contains(TFileAttr::ftNormal) || (entry.attributes & asked) != 0;
}

Glyph FileGlyph(const std::string& name) {
    static constexpr std::array<std::string_view, 4> kRunnable = {".exe", ".com", ".bat", ".pif"};
    auto dot = name.rfind('.');
    if (dot == std::string::npos) return Glyph::UnknownFile;
    std::string extension;
    for (char c : name.substr(dot)) extension.push_back(static_cast<char>(FoldCase(c)));
    bool runnable = std::find(kRunnable.begin(), kRunnable.end(), extension) != kRunnable.end();
    return runnable ? Glyph::Executable : Glyph::UnknownFile;
}

Item ItemFor(const platform::DirEntry& entry) {
    if ((entry.attributes & platform::kDirectory) != 0) {
        return {"[" + entry.name + "]", Glyph::ClosedFolder};
    }
    return {entry.name, FileGlyph(entry.name)};
}

// One pass over the directory's entries per mask piece, so a name that two
// pieces match is listed twice; a directory that cannot be read lists nothing.
std::vector<Item> ReadItems(const std::string& directory, const std::string& mask, TFileType type,
                            BusyCursor& busy) {
    std::vector<Item> items;
    // The read-only bit decides admission only for a class without plain files.
    const bool needsReadOnly =
        !type.Contains(TFileAttr::ftNormal) && type.Contains(TFileAttr::ftReadOnly);
    auto found = platform::ReadDirectory(
        directory, needsReadOnly ? platform::Detail::Full : platform::Detail::Kinds);
    if (!found) return items;
    for (const std::string& piece : SplitMask(mask)) {
        if (piece.empty()) continue;
        for (const auto& entry : found.value()) {
            if (!Admits(entry, type) || !MatchesPattern(entry.name, piece)) continue;
            if (platform::IsTemporaryName(entry.name)) continue;  // never synced
            items.push_back(ItemFor(entry));
            if (items.size() > kBusyFrom) busy.Show();
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return ListedBefore(a.text, b.text); });
    return items;
}

}  // namespace

TFileListBox::TFileListBox() {
    auto cwd = platform::CurrentDirectory();
    directory_ = cwd ? cwd.value() : std::string(platform::kRoot);
    (void)Reload();  // nothing to report to yet: an unreadable start lists nothing
}

Status TFileListBox::SetDirectory(const std::string& path) {
    if (path == directory_) return Ok();
    // The former directory may have vanished; the new path alone decides.
    (void)platform::SetCurrentDirectory(directory_);
    if (auto entered = EnterDirectory(path); !entered) return entered;
    return Reload();
}

Status TFileListBox::SetMask(const std::string& mask) {
    if (mask == mask_) return Ok();
    mask_ = mask;
    return Reload();
}

Status TFileListBox::SetFileType(TFileType type) {
    if (type == fileType_) return Ok();
    fileType_ = type;
    return Reload();
}

Status TFileListBox::Reload() {
    if (auto entered = platform::SetCurrentDirectory(directory_); !entered) {
        return CannotOpenDirectory(directory_, entered.error());
    }
    {
        BusyCursor busy(desktop_);
        ReplaceItems(ReadItems(directory_, mask_, fileType_, busy));
    }
    Change();
    return Ok();
}

void TFileListBox::ShowItems(const std::string& path, const std::vector<std::string>& names) {
    directory_ = path;
    std::vector<Item> items;
    items.reserve(names.size());
    for (const auto& name : names) items.push_back({name, FileGlyph(name)});
    ReplaceItems(std::move(items));
    Change();
}

void TFileListBox::SetItemIndex(int index) {
    itemIndex_ = InRange(index) ? index : -1;
    if (MultiSelect) return;
    for (auto& item : items_) item.selected = false;
    if (itemIndex_ >= 0) items_[static_cast<std::size_t>(itemIndex_)].selected = true;
}

bool TFileListBox::Selected(int index) const {
    return InRange(index) && items_[static_cast<std::size_t>(index)].selected;
}

void TFileListBox::SetSelected(int index, bool selected) {
    if (!InRange(index)) return;
    if (MultiSelect) {
        items_[static_cast<std::size_t>(index)].selected = selected;
    } else if (selected) {
        SetItemIndex(index);
    } else if (Selected(index)) {
        SetItemIndex(-1);
    }
}

int TFileListBox::SelCount() const {
    return static_cast<int>(std::count_if(items_.begin(), items_.end(),
                                          [](const Item& item) { return item.selected; }));
}

void TFileListBox::Delete(int index) { Delete(std::vector<int>{index}); }

void TFileListBox::Delete(const std::vector<int>& indexes) {
    std::vector<bool> doomed(items_.size(), false);
    bool any = false;
    for (int index : indexes) {
        if (!InRange(index)) continue;
        doomed[static_cast<std::size_t>(index)] = true;
        any = true;
    }
    if (!any) return;
    std::vector<Item> kept;
    int focus = -1;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (doomed[i]) continue;
        if (static_cast<int>(i) == itemIndex_) focus = static_cast<int>(kept.size());
        kept.push_back(std::move(items_[i]));
    }
    ReplaceItems(std::move(kept), focus);
}

void TFileListBox::Click() {
    OnClick();
    if (itemIndex_ != lastItemIndex_) Change();
}

std::string TFileListBox::CurrentFilePath() const {
    if (!Selected(itemIndex_)) return {};
    return JoinPath(directory_, items_[static_cast<std::size_t>(itemIndex_)].text);
}

void TFileListBox::ReplaceItems(std::vector<Item> items, int focus) {
    items_ = std::move(items);
    itemIndex_ = focus;
    OnItemsChange();
}

Status TFileListBox::EnterDirectory(const std::string& path) {
    if (auto entered = platform::SetCurrentDirectory(path); !entered) {
        return CannotOpenDirectory(path, entered.error());
    }
    auto cwd = platform::CurrentDirectory();
    if (!cwd) return CannotOpenDirectory(path, cwd.error());
    directory_ = cwd.value();
    return Ok();
}

void TFileListBox::Change() {
    lastItemIndex_ = itemIndex_;
    OnChange();
}

}  // namespace twinfold
