#pragma once

#include <string>
#include <vector>

#include "controls/Signal.h"

namespace twinfold {

// A drop-down list whose entries cannot be edited. The program sets
// ItemIndex silently; a choice made by the person sends OnChange.
class TComboBox {
public:
    explicit TComboBox(std::vector<std::string> items = {}) : items_(std::move(items)) {}

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items) {
        items_ = std::move(items);
        itemIndex_ = -1;
        OnItemsChange();
    }

    int ItemIndex() const { return itemIndex_; }
    // -1, or an index past the end, chooses no entry.
    void SetItemIndex(int index) {
        int clamped = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
        if (clamped == itemIndex_) return;
        itemIndex_ = clamped;
        OnItemsChange();
    }
    // The chosen entry's text; empty when none is chosen.
    std::string Text() const { return itemIndex_ < 0 ? std::string() : items_[itemIndex_]; }

    // The person chose an entry.
    void Choose(int index) {
        SetItemIndex(index);
        OnChange();
    }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) {
        enabled_ = enabled;
        OnItemsChange();
    }

    Signal<> OnChange;
    // For views: the entries, the chosen entry or the enabled state changed.
    Signal<> OnItemsChange;

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    bool enabled_ = true;
};

}  // namespace twinfold
