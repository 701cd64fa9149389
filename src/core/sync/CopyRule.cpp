#include "sync/CopyRule.h"

#include <limits>

namespace twinfold::sync {

std::int64_t SourceStampOf(const platform::EntryStatus* source) {
    if (source == nullptr || source->kind != platform::EntryKind::File) return -1;
    auto packed = platform::PackLocalTime(source->modified);
    return packed ? static_cast<std::int64_t>(*packed) : -1;
}

std::int64_t DestinationStampOf(const platform::EntryStatus& target) {
    if (auto packed = platform::PackLocalTime(target.modified)) {
        return static_cast<std::int64_t>(*packed);
    }
    constexpr std::uint32_t kFirstStamp = (1u << 21) | (1u << 16);  // 1980-01-01 00:00
    return target.modified < platform::UnpackLocalTime(kFirstStamp)
               ? 0
               : std::numeric_limits<std::int64_t>::max();
}

bool ShouldCopy(const platform::EntryStatus* source, const platform::EntryStatus* target) {
    if (source == nullptr) return false;  // vanished since it was listed
    if (target == nullptr) return true;
    return DestinationStampOf(*target) < SourceStampOf(source);
}

}  // namespace twinfold::sync
