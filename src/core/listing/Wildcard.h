#pragma once

#include <string>

namespace twinfold {

// True when `name` matches the file-name pattern: "*" any run, "?" any one
// character (a UTF-8 code point; a byte that belongs to no well-formed
// sequence counts as one), ASCII letter case ignored, every other character
// (also "[") itself. A
// pattern ending in ".*" also matches a name without any dot, so "*.*"
// matches every name and "report.*" matches "report". Cost is at most
// proportional to the product of the two lengths.
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace twinfold
