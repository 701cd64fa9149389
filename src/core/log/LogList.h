#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Signal.h"

namespace twinfold {

// One run-log list: entries in the order they were added, duplicates kept.
// OnChange fires after every change so an open view can follow.
//
// A run of hundreds of thousands of files logs every one, so the texts are
// packed one after the other into blocks of storage, without a separate
// allocation per entry and without a buffer that doubles as it grows.
class LogList {
public:
    void Add(std::string_view text);
    // Notifies only when there was something to remove.
    void Clear();

    std::size_t Count() const { return entries_.size(); }
    std::string_view operator[](std::size_t index) const;
    // A copy of every entry, in order.
    std::vector<std::string> Entries() const;

    Signal<> OnChange;

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;
    struct Entry {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<std::size_t> blockSizes_;
    std::size_t used_ = kBlockSize;  // in the last block
    std::vector<Entry> entries_;
};

}  // namespace twinfold
