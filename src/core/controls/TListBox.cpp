#include "controls/TListBox.h"

#include <algorithm>
#include <utility>

namespace twinfold {

void TListBox::Add(const std::string& text) { Append({text}); }

void TListBox::Append(const std::vector<std::string>& texts) {
    items_.insert(items_.end(), texts.begin(), texts.end());
    selected_.resize(items_.size(), false);
    OnChange();
}

void TListBox::Delete(int index) {
    if (!Valid(index)) return;
    items_.erase(items_.begin() + index);
    selected_.erase(selected_.begin() + index);
    if (itemIndex_ == index) {
        itemIndex_ = -1;
    } else if (itemIndex_ > index) {
        --itemIndex_;
    }
    OnChange();
}

void TListBox::Clear() {
    items_.clear();
    selected_.clear();
    itemIndex_ = -1;
    OnChange();
}

void TListBox::SetItemIndex(int index) {
    if (!Valid(index)) index = -1;
    if (multiSelect_) {
        itemIndex_ = index;
    } else {
        SelectOnly(index);
    }
    OnChange();
}

void TListBox::SetMultiSelect(bool multiSelect) {
    multiSelect_ = multiSelect;
    SelectOnly(-1);
    OnChange();
}

bool TListBox::Selected(int index) const { return Valid(index) && selected_[index]; }

void TListBox::SetSelected(int index, bool selected) {
    if (!Valid(index)) return;
    if (multiSelect_) {
        selected_[index] = selected;
    } else if (selected) {
        SelectOnly(index);
    } else if (index == itemIndex_) {
        SelectOnly(-1);
    }
    OnChange();
}

std::vector<int> TListBox::SelectedIndexes() const {
    std::vector<int> indexes;
    for (int i = 0; i < Count(); ++i) {
        if (selected_[i]) indexes.push_back(i);
    }
    return indexes;
}

void TListBox::DeleteSelected() {
    std::vector<std::string> kept;
    int focus = -1;
    for (int i = 0; i < Count(); ++i) {
        if (selected_[i]) continue;
        if (i == itemIndex_) focus = static_cast<int>(kept.size());
        kept.push_back(items_[i]);
    }
    items_ = std::move(kept);
    selected_.assign(items_.size(), false);
    itemIndex_ = focus;
    OnChange();
}

void TListBox::SelectOnly(int index) {
    std::fill(selected_.begin(), selected_.end(), false);
    if (Valid(index)) selected_[index] = true;
    itemIndex_ = index;
}

}  // namespace twinfold
