#include "log/LogList.h"

#include <algorithm>
#include <cstring>

namespace twinfold {

void LogList::Add(std::string_view text) {
    const std::size_t capacity = blockSizes_.empty() ? 0 : blockSizes_.back();
    if (blocks_.empty() || used_ + text.size() > capacity) {
        // A text longer than a block gets a block of its own size.
        const std::size_t size = std::max(kBlockSize, text.size());
        blocks_.push_back(std::make_unique<char[]>(size));
        blockSizes_.push_back(size);
        used_ = 0;
    }
    std::memcpy(blocks_.back().get() + used_, text.data(), text.size());
    entries_.push_back({static_cast<std::uint32_t>(blocks_.size() - 1),
                        static_cast<std::uint32_t>(used_),
                        static_cast<std::uint32_t>(text.size())});
    used_ += text.size();
    OnChange();
}

void LogList::Clear() {
    if (entries_.empty()) return;
    // Cleared and given back: a long run's texts are not kept for nothing.
    std::vector<Entry>().swap(entries_);
    std::vector<std::unique_ptr<char[]>>().swap(blocks_);
    std::vector<std::size_t>().swap(blockSizes_);
    used_ = kBlockSize;
    OnChange();
}

std::string_view LogList::operator[](std::size_t index) const {
    const Entry& entry = entries_[index];
    return {blocks_[entry.block].get() + entry.offset, entry.length};
}

std::vector<std::string> LogList::Entries() const {
    std::vector<std::string> all;
    all.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) all.emplace_back((*this)[i]);
    return all;
}

}  // namespace twinfold
