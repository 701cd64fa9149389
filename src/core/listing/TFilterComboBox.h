#pragma once

#include <string>
#include <vector>

#include "controls/Signal.h"
#include "listing/WatchedLink.h"
#include "platform/Result.h"

namespace twinfold {

class TFileListBox;

// Named file masks to choose from; the linked file list lists with the mask
// of the entry chosen.
class TFilterComboBox {
public:
    static constexpr const char* kDefaultFilter = "All files (*.*)|*.*";

    // Parses kDefaultFilter and chooses its entry.
    TFilterComboBox();

    // Descriptions and masks, alternating, separated by "|".
    const std::string& Filter() const { return filter_; }
    // A filter that differs (letter case aside) is stored and parsed, entry 0
    // is chosen and the change is notified; the same filter changes nothing.
    // An error comes from the linked file list's re-read.
    Status SetFilter(const std::string& filter);

    // The descriptions, and parallel to them one mask each.
    const std::vector<std::string>& Items() const { return items_; }
    const std::vector<std::string>& Masks() const { return masks_; }
    int Count() const { return static_cast<int>(items_.size()); }

    // The chosen entry, or -1.
    int ItemIndex() const { return itemIndex_; }
    // Chooses silently (-1 or an index out of range: none), as the program does.
    void SetItemIndex(int index);
    // The person chose entry `index`: the change is notified, also when it
    // was chosen already.
    Status Choose(int index);

    // The chosen entry's mask. With none chosen the last entry is chosen
    // first; with no entries at all the mask is "*.*".
    std::string Mask() const;

    // Links the file list whose mask follows the choice (nullptr unlinks).
    // Its mask is set at the next change, not now. The link clears itself
    // when the file list is destroyed.
    void SetFileList(TFileListBox* list);
    TFileListBox* FileList() const { return fileList_.get(); }

    // After the linked file list took the new mask.
    Signal<> OnChange;
    // For views: the entries or the chosen entry changed.
    Signal<> OnItemsChange;

private:
    void Parse();
    void AddEntry(std::string description, std::string mask);
    Status Change();

    std::string filter_ = kDefaultFilter;
    std::vector<std::string> items_;
    std::vector<std::string> masks_;
    // Reading the mask may choose the last entry.
    mutable int itemIndex_ = -1;
    WatchedLink<TFileListBox> fileList_;
};

}  // namespace twinfold
