#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/Signal.h"
#include "listing/WatchedLink.h"
#include "platform/Result.h"
#include "platform/Volumes.h"

namespace twinfold {

class TDirectoryListBox;

// The letter case of the volume labels in a drive list's entries.
enum class TTextCase { tcLowerCase, tcUpperCase };

// The mounted volumes to choose from. Choosing one moves the linked directory
// list to its mount point; the list in turn shows the volume that holds the
// directory list's directory, wherever that list goes.
class TDriveComboBox {
public:
    using VolumeSource = std::function<std::vector<platform::Volume>()>;
    struct Entry {
        std::string text;  // mount point, " [", label, "]"
        platform::VolumeKind kind;
        std::string mountPoint;
    };

    // Reads the volumes and shows the one that holds the process's current
    // directory.
    explicit TDriveComboBox(VolumeSource volumes = platform::MountedVolumes);

    const std::vector<Entry>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // The entry shown, or -1 when no volume holds the directory.
    int ItemIndex() const { return itemIndex_; }
    // The mount point of the entry shown; empty when none is.
    std::string Drive() const;

    TTextCase TextCase() const { return textCase_; }
    // Reads the volumes again and rebuilds the entries; the volume shown stays
    // when it is still mounted. Paths keep their case, only labels follow.
    void SetTextCase(TTextCase textCase);

    // Links the directory list this list moves and follows (nullptr unlinks)
    // and shows the volume of its directory. The link clears itself when the
    // directory list is destroyed.
    void SetDirList(TDirectoryListBox* list);
    TDirectoryListBox* DirList() const { return dirList_.get(); }

    // The person chose entry `index`: the linked directory list goes to its
    // mount point, then OnChange. The entry already shown, or an index out of
    // range, changes nothing. When the directory list cannot go there the
    // error comes back and both lists keep their state; an error of the file
    // list behind it comes back after the change has been made.
    Status Choose(int index);
    // Shows the volume that holds the linked directory list's directory (the
    // process's current directory when none is linked); OnChange when that
    // is another volume than before. Runs on every change of the linked list.
    void Follow();

    // After the volume shown changed.
    Signal<> OnChange;
    // For views: the entries or the entry shown changed.
    Signal<> OnItemsChange;

private:
    void BuildEntries();
    std::string LabelText(const std::string& label) const;
    int IndexOfVolumeHolding(const std::string& path) const;
    int IndexOfMountPoint(const std::string& mountPoint) const;
    void Show(int index);

    VolumeSource volumes_;
    std::vector<Entry> items_;
    int itemIndex_ = -1;
    TTextCase textCase_ = TTextCase::tcLowerCase;
    bool choosing_ = false;
    WatchedLink<TDirectoryListBox> dirList_;
};

}  // namespace twinfold
