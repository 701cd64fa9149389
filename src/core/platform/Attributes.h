#pragma once

#include <cstdint>

namespace twinfold::platform {

// Attribute bits of a directory entry, numbered as the original platform
// numbers them so that attribute words read the same everywhere.
enum Attribute : std::uint32_t {
    kReadOnly = 1,
    kHidden = 2,
    kSystem = 4,
    kVolumeId = 8,
    kDirectory = 16,
    kArchive = 32,
};

// The attribute word of a path that does not exist: every bit set.
inline constexpr std::uint32_t kNoEntryAttributes = 0xFFFFFFFFu;

}  // namespace twinfold::platform
