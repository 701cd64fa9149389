#pragma once

#include <cstddef>
#include <string>

namespace twinfold {

// A count with its thousands grouped: "1,204".
inline std::string GroupedCount(std::size_t count) {
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

}  // namespace twinfold
