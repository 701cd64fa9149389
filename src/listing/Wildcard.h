#pragma once

#include <string>

namespace twinfold {

// ASCII letters to lower case; every other byte (UTF-8 included) unchanged.
constexpr unsigned char FoldCase(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// True when `name` matches the file-name pattern: "*" any run, "?" any one
// character (a UTF-8 code point; a byte that belongs to no well-formed
// sequence counts as one), ASCII letter case ignored, every other character
// (also "[") itself. A
// pattern ending in ".*" also matches a name without any dot, so "*.*"
// matches every name and "report.*" matches "report". Cost is at most
// proportional to the product of the two lengths.
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace twinfold
