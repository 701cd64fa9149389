#pragma once

#include <string>
#include <vector>

#include "controls/Signal.h"
#include "listing/WatchedLink.h"
#include "platform/Result.h"

namespace twinfold {

class TFileListBox;
class TLabel;

// Where one is in the file system and what lies directly below: the
// ancestors from "/" down, the current directory, then its subdirectories.
// A linked file list follows its directory, a linked label shows it.
class TDirectoryListBox {
public:
    enum class EntryKind { Ancestor, Current, Subdirectory };
    struct Entry {
        std::string text;
        EntryKind kind;
        int level;  // indentation: depth below "/"
    };

    // Starts at the process's current directory ("/" when it has none).
    TDirectoryListBox();
    TDirectoryListBox(const TDirectoryListBox&) = delete;
    TDirectoryListBox& operator=(const TDirectoryListBox&) = delete;

    const std::string& Directory() const { return directory_; }
    // Goes to `path` (a directory, or a file or pattern inside one) and
    // leaves the process there. The empty text and the present directory
    // change nothing. A directory that cannot be entered is an error and the
    // list keeps its directory and entries; an error of the linked file list
    // is passed on after the change has been made and notified.
    Status SetDirectory(const std::string& path);
    // Re-reads the subdirectories and notifies; the directory stays.
    Status Reload();
    // Shows `path` with `subdirectories` (in list order) as a walk read them,
    // and notifies, without reading the file system or moving the process:
    // the panes follow a synchronisation that reads through its own open
    // directories. A linked file list should already show `path` (see
    // TFileListBox::ShowItems), or it re-reads.
    void ShowListing(const std::string& path, const std::vector<std::string>& subdirectories);
    // Goes to the path of the selected entry.
    Status OpenSelected();
    // The full path entry `index` stands for; empty at or past the end.
    std::string EntryPath(int index) const;

    const std::vector<Entry>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // The selected entry, or -1. Selecting does not open.
    int ItemIndex() const { return itemIndex_; }
    // The entry of the current directory (ancestors come before it).
    int CurrentIndex() const { return currentIndex_; }
    void SetItemIndex(int index);

    // Links the file list that follows this list (and its back link).
    void SetFileList(TFileListBox* list);
    TFileListBox* FileList() const { return fileList_.get(); }
    // Links the label that shows the directory, shortened to its width.
    void SetDirLabel(TLabel* label);
    TLabel* DirLabel() const { return dirLabel_; }

    // After every change of directory and every rebuild.
    Signal<> OnChange;

private:
    friend class TFileListBox;

    void BuildEntries();
    void AddPathEntries();
    void AddSubdirectories();
    Status NotifyChange();
    void ShowInLabel();

    std::string directory_;
    std::vector<Entry> items_;
    int itemIndex_ = -1;
    int currentIndex_ = 0;
    WatchedLink<TFileListBox> fileList_;
    TLabel* dirLabel_ = nullptr;
};

}  // namespace twinfold
