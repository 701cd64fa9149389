#include "listing/TDirectoryListBox.h"

#include <algorithm>

#include "controls/TLabel.h"
#include "listing/NameOrder.h"
#include "listing/Paths.h"
#include "listing/TFileListBox.h"
#include "platform/FileSystem.h"

namespace twinfold {
namespace {

constexpr char kSep = platform::kSeparator;

// Hidden and system directories are never listed, so never walked or deleted
// through a list.
bool IsListedSubdirectory(const platform::DirEntry& entry) {
    constexpr std::uint32_t kUnlisted = platform::kHidden | platform::kSystem | platform::kVolumeId;
    return (entry.attributes & platform::kDirectory) != 0 && (entry.attributes & kUnlisted) == 0 &&
           entry.name != "." && entry.name != "..";
}

}  // namespace

TDirectoryListBox::TDirectoryListBox() {
    auto cwd = platform::CurrentDirectory();
    directory_ = cwd ? cwd.value() : std::string(platform::kRoot);
    BuildEntries();
}

Status TDirectoryListBox::SetDirectory(const std::string& path) {
    if (path.empty() || path == directory_) return Ok();
    auto input = SplitPathInput(path);
    if (!input) return input.error();
    // The directory part is absolute, so it is entered straight away.
    const std::string& target = input.value().directory;
    if (auto entered = platform::SetCurrentDirectory(target); !entered) {
        return CannotOpenDirectory(target, entered.error());
    }
    auto cwd = platform::CurrentDirectory();
    if (!cwd) return CannotOpenDirectory(target, cwd.error());
    directory_ = cwd.value();
    BuildEntries();
    return NotifyChange();
}

Status TDirectoryListBox::Reload() {
    BuildEntries();
    return NotifyChange();
}

void TDirectoryListBox::ShowListing(const std::string& path,
                                    const std::vector<std::string>& subdirectories) {
    directory_ = path;
    items_.clear();
    AddPathEntries();
    currentIndex_ = Count() - 1;
    const int level = items_.back().level + 1;
    for (const auto& name : subdirectories)
        items_.push_back({name, EntryKind::Subdirectory, level});
    itemIndex_ = currentIndex_;
    (void)NotifyChange();  // a file list that lags behind reports on its own next read
}

Status TDirectoryListBox::OpenSelected() {
    Status opened = SetDirectory(EntryPath(itemIndex_));
    // A directory that would not open is not left selected, or a Sync All
    // would take it for the one subdirectory to walk.
    if (!opened) itemIndex_ = CurrentIndex();
    return opened;
}

std::string TDirectoryListBox::EntryPath(int index) const {
    if (index < 0 || index >= Count()) return {};
    if (index == 0) return platform::kRoot;
    const Entry& entry = items_[static_cast<std::size_t>(index)];
    if (entry.kind == EntryKind::Subdirectory) return JoinPath(directory_, entry.text);
    if (entry.kind == EntryKind::Current) return directory_;
    // Ancestor k: the directory up to its (k+1)-th separator.
    std::size_t end = 0;
    for (int k = 0; k < index && end != std::string::npos; ++k)
        end = directory_.find(kSep, end + 1);
    return directory_.substr(0, end);
}

void TDirectoryListBox::SetItemIndex(int index) {
    itemIndex_ = (index >= 0 && index < Count()) ? index : -1;
}

void TDirectoryListBox::SetFileList(TFileListBox* list) {
    if (TFileListBox* old = fileList_.get(); old != nullptr && old->dirList_.get() == this) {
        old->dirList_.Reset();
    }
    fileList_.Set(list, list == nullptr ? nullptr : &list->OnChange);
    if (list == nullptr) return;
    // A file list follows one directory list at a time.
    if (TDirectoryListBox* other = list->dirList_.get(); other != nullptr && other != this) {
        other->fileList_.Reset();
    }
    list->dirList_.Set(this, &OnChange);
}

void TDirectoryListBox::SetDirLabel(TLabel* label) {
    dirLabel_ = label;
    ShowInLabel();
}

void TDirectoryListBox::BuildEntries() {
    items_.clear();
    AddPathEntries();
    currentIndex_ = Count() - 1;
    AddSubdirectories();
    itemIndex_ = currentIndex_;
}

// "/" first, then one entry per name of the directory; the last is current.
void TDirectoryListBox::AddPathEntries() {
    items_.push_back({platform::kRoot, EntryKind::Ancestor, 0});
    std::size_t start = 1;
    while (start < directory_.size()) {
        std::size_t end = std::min(directory_.find(kSep, start), directory_.size());
        if (end > start)
            items_.push_back({directory_.substr(start, end - start), EntryKind::Ancestor, Count()});
        start = end + 1;
    }
    items_.back().kind = EntryKind::Current;
}

// A directory that cannot be searched leaves the path entries alone.
void TDirectoryListBox::AddSubdirectories() {
    auto found = platform::ReadDirectory(directory_, platform::Detail::Kinds);
    if (!found) return;
    std::vector<std::string> names;
    for (const auto& entry : found.value()) {
        if (IsListedSubdirectory(entry)) names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end(), ListedBefore);
    const int level = items_[static_cast<std::size_t>(currentIndex_)].level + 1;
    for (auto& name : names) items_.push_back({std::move(name), EntryKind::Subdirectory, level});
}

Status TDirectoryListBox::NotifyChange() {
    Status followed = Ok();
    if (TFileListBox* list = fileList_.get()) followed = list->SetDirectory(directory_);
    ShowInLabel();
    OnChange();
    return followed;
}

void TDirectoryListBox::ShowInLabel() {
    if (dirLabel_ == nullptr) return;
    dirLabel_->SetCaption(FitPathToWidth(directory_, dirLabel_->measure, dirLabel_->width));
}

}  // namespace twinfold
