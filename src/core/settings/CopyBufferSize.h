#pragma once

#include <cstdint>

namespace twinfold {

// The copy buffer size that settings files, the Options dialog and the copy
// fall back on.
inline constexpr std::int32_t kDefaultCopyBufferSize = 32768;

// A size the copy can work with: zero or less would never finish a copy, so
// it stands for the default.
constexpr std::int32_t UsableCopyBufferSize(std::int32_t size) {
    return size > 0 ? size : kDefaultCopyBufferSize;
}

}  // namespace twinfold
