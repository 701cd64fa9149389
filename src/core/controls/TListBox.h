#pragma once

#include <string>
#include <vector>

#include "controls/Signal.h"

namespace twinfold {

// A list box of text entries in the order they were added. ItemIndex is the
// focused entry or -1. With one selection (the default) the focused entry is
// the selected one; with MultiSelect any set of entries can be selected and
// ItemIndex only marks where the focus stands. OnChange runs after every
// change of the entries, the selection or the focus.
class TListBox {
public:
    const std::vector<std::string>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // The entry at `index`, which must exist.
    const std::string& Item(int index) const { return items_.at(index); }

    void Add(const std::string& text);
    // Appends all of `texts` in order, with one notification.
    void Append(const std::vector<std::string>& texts);
    // Removes the entry; an index that names no entry changes nothing. The
    // focus is lost when its entry goes and follows its entry otherwise.
    void Delete(int index);
    void Clear();

    int ItemIndex() const { return itemIndex_; }
    // An index that names no entry sets -1. With one selection this also
    // selects exactly that entry.
    void SetItemIndex(int index);

    bool MultiSelect() const { return multiSelect_; }
    // Switching the mode drops the selection.
    void SetMultiSelect(bool multiSelect);
    bool Selected(int index) const;
    // With one selection, selecting an entry makes it the focused one and
    // unselecting the focused entry leaves none.
    void SetSelected(int index, bool selected);
    std::vector<int> SelectedIndexes() const;
    // Removes every selected entry; the others keep their order.
    void DeleteSelected();

    Signal<> OnChange;

private:
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    void SelectOnly(int index);

    std::vector<std::string> items_;
    std::vector<bool> selected_;
    int itemIndex_ = -1;
    bool multiSelect_ = false;
};

}  // namespace twinfold
