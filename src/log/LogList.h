#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "controls/Signal.h"

namespace twinfold {

// One run-log list: entries in the order they were added, duplicates kept.
// OnChange fires after every change so an open view can follow.
class LogList {
public:
    void Add(const std::string& text) {
        entries_.push_back(text);
        OnChange();
    }
    // Notifies only when there was something to remove.
    void Clear() {
        if (entries_.empty()) return;
        entries_.clear();
        OnChange();
    }

    std::size_t Count() const { return entries_.size(); }
    const std::string& operator[](std::size_t index) const { return entries_[index]; }
    const std::vector<std::string>& Entries() const { return entries_; }

    Signal<> OnChange;

private:
    std::vector<std::string> entries_;
};

}  // namespace twinfold
