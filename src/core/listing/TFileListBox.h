#pragma once

#include <string>
#include <vector>

#include "controls/Signal.h"
#include "listing/FileType.h"
#include "listing/WatchedLink.h"
#include "platform/Result.h"

namespace twinfold {

class Desktop;
class TDirectoryListBox;

// The entries of one directory that match a mask and an attribute class,
// sorted by name without regard to case. Every change of directory and every
// re-read leaves the process's current directory at `Directory`, so a listed
// name can be used bare right after.
class TFileListBox {
public:
    enum class Glyph { Executable, UnknownFile, ClosedFolder };
    struct Item {
        std::string text;  // a file's name, or "[" name "]" for a directory
        Glyph glyph;
        bool selected = false;
    };

    // Lists the process's current directory with mask "*.*" and [ftNormal].
    TFileListBox();
    TFileListBox(const TFileListBox&) = delete;
    TFileListBox& operator=(const TFileListBox&) = delete;

    const std::string& Directory() const { return directory_; }
    // Goes to `path` and re-reads, when it differs from Directory (exactly).
    // A directory that cannot be entered is an error, and the list keeps its
    // directory and entries; a vanished former directory does not matter.
    Status SetDirectory(const std::string& path);

    // Patterns separated by ";"; an empty piece lists nothing.
    const std::string& Mask() const { return mask_; }
    // Stores and re-reads when `mask` differs (case counts).
    Status SetMask(const std::string& mask);
    TFileType FileType() const { return fileType_; }
    // Stores and re-reads when `type` differs.
    Status SetFileType(TFileType type);

    bool MultiSelect = false;
    bool ShowGlyphs = false;

    // Re-reads Directory: one pass over its entries per mask piece, so a name
    // that two pieces match is listed twice. Clears the selection and ends
    // with the change notification. When Directory cannot be entered the
    // former entries stay and the error comes back.
    Status Reload();

    // Shows `names` (already in list order) as the entries of `path`, none
    // selected, and notifies, without reading the file system: the list
    // follows a synchronisation that has read and filtered the directory.
    void ShowItems(const std::string& path, const std::vector<std::string>& names);

    const std::vector<Item>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // The current (focused) entry, or -1. In single selection it is also the
    // one selected entry; in multiple selection it only moves the focus.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    // Removes entry `index` without a re-read; the others keep their order
    // and marks. Only OnItemsChange is sent.
    void Delete(int index);
    // Removes every entry of `indexes` (any order, repeats allowed) with one
    // OnItemsChange.
    void Delete(const std::vector<int>& indexes);

    // A click on the list: OnClick, then the change notification when the
    // current entry moved since the last one.
    void Click();
    // Directory joined with the current entry when that entry is selected;
    // otherwise empty.
    std::string CurrentFilePath() const;

    // Where the busy cursor is shown during long reads; may stay unset.
    void SetDesktop(Desktop* desktop) { desktop_ = desktop; }
    // The directory list this list follows, if any.
    TDirectoryListBox* DirList() const { return dirList_.get(); }

    Signal<> OnClick;
    Signal<> OnChange;
    // For views: the entries themselves changed (a re-read, a removal). It
    // comes before the OnChange of a re-read, so a view has the new rows
    // when the program's handler runs.
    Signal<> OnItemsChange;

private:
    friend class TDirectoryListBox;

    // Every change of the entries goes through here, so views hear of it;
    // `focus` is the new current entry.
    void ReplaceItems(std::vector<Item> items, int focus = -1);
    Status EnterDirectory(const std::string& path);
    void Change();
    bool InRange(int index) const { return index >= 0 && index < Count(); }

    std::string directory_;
    std::string mask_ = "*.*";
    TFileType fileType_{TFileAttr::ftNormal};
    std::vector<Item> items_;
    int itemIndex_ = -1;
    int lastItemIndex_ = -1;
    Desktop* desktop_ = nullptr;
    WatchedLink<TDirectoryListBox> dirList_;
};

}  // namespace twinfold
