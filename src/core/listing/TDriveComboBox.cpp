#include "listing/TDriveComboBox.h"

#include <utility>

#include "listing/TDirectoryListBox.h"
#include "platform/FileSystem.h"
#include "util/Ascii.h"

namespace twinfold {
namespace {

// With "/" boundaries: "/home" holds "/home/ann" but not "/homework".
bool Holds(const std::string& mountPoint, const std::string& path) {
    if (mountPoint == platform::kRoot) return path.starts_with(platform::kSeparator);
    return path.starts_with(mountPoint) &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == platform::kSeparator);
}

}  // namespace

TDriveComboBox::TDriveComboBox(VolumeSource volumes) : volumes_(std::move(volumes)) {
    BuildEntries();
    Follow();
}

std::string TDriveComboBox::Drive() const {
    return itemIndex_ < 0 ? std::string() : items_[static_cast<std::size_t>(itemIndex_)].mountPoint;
}

void TDriveComboBox::SetTextCase(TTextCase textCase) {
    textCase_ = textCase;
    const std::string shown = Drive();
    BuildEntries();
    itemIndex_ = IndexOfMountPoint(shown);
    OnItemsChange();
    // A volume that went away hands over to the one that holds the directory.
    if (itemIndex_ < 0) Follow();
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    dirList_.Set(list, list == nullptr ? nullptr : &list->OnChange, [this] { Follow(); });
    if (list != nullptr) Follow();
}

Status TDriveComboBox::Choose(int index) {
    if (index < 0 || index >= Count() || index == itemIndex_) return Ok();
    Status moved = Ok();
    if (TDirectoryListBox* list = dirList_.get()) {
        const std::string before = list->Directory();
        // One OnChange for the choice, not a second one from following.
        choosing_ = true;
        moved = list->SetDirectory(items_[static_cast<std::size_t>(index)].mountPoint);
        choosing_ = false;
        if (!moved && list->Directory() == before) return moved;
    }
    Show(index);
    OnChange();
    return moved;
}

void TDriveComboBox::Follow() {
    if (choosing_) return;
    std::string directory;
    if (const TDirectoryListBox* list = dirList_.get()) {
        directory = list->Directory();
    } else if (auto cwd = platform::CurrentDirectory()) {
        directory = cwd.value();
    }
    const int index = IndexOfVolumeHolding(directory);
    if (index == itemIndex_) return;
    Show(index);
    OnChange();
}

void TDriveComboBox::BuildEntries() {
    items_.clear();
    for (const auto& volume : volumes_ ? volumes_() : std::vector<platform::Volume>{}) {
        // An empty "[]" says nothing: the device tells volumes apart instead.
        std::string text = volume.mountPoint;
        if (!volume.label.empty()) {
            text += " [" + LabelText(volume.label) + "]";
        } else if (!volume.device.empty()) {
            text += " (" + volume.device + ")";
        }
        items_.push_back({text, volume.kind, volume.mountPoint});
    }
}

std::string TDriveComboBox::LabelText(const std::string& label) const {
    std::string text = label;
    for (char& c : text)
        c = textCase_ == TTextCase::tcUpperCase ? ToUpperAscii(c) : ToLowerAscii(c);
    return text;
}

// The longest mount point that holds `path`: a volume mounted inside another
// one owns its own tree.
int TDriveComboBox::IndexOfVolumeHolding(const std::string& path) const {
    int best = -1;
    std::size_t bestLength = 0;
    for (int i = 0; i < Count(); ++i) {
        const std::string& mountPoint = items_[static_cast<std::size_t>(i)].mountPoint;
        if (Holds(mountPoint, path) && (best < 0 || mountPoint.size() > bestLength)) {
            best = i;
            bestLength = mountPoint.size();
        }
    }
    return best;
}

int TDriveComboBox::IndexOfMountPoint(const std::string& mountPoint) const {
    if (mountPoint.empty()) return -1;
    for (int i = 0; i < Count(); ++i) {
        if (items_[static_cast<std::size_t>(i)].mountPoint == mountPoint) return i;
    }
    return -1;
}

void TDriveComboBox::Show(int index) {
    if (index == itemIndex_) return;
    itemIndex_ = index;
    OnItemsChange();
}

}  // namespace twinfold
