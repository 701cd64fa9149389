#pragma once

#include <cstdint>
#include <string>

namespace twinfold {

// The Options dialog: it holds the committed include and exclude patterns
// (packed, every pattern followed by ";") and the copy buffer size that the
// filter, the copy and the settings files read.
class TOptionsbx {
public:
    std::string includeFilters;
    std::string excludeFilters;
    std::int32_t CopyBufferSize = 32768;
};

}  // namespace twinfold
