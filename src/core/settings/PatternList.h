#pragma once

#include <string>
#include <vector>

namespace twinfold {

// Pattern lists are stored as one text with every pattern followed by ";",
// a terminator rather than a separator: "*.txt;*.doc;".

// Unpacks a stored list: each text up to a ";" is a pattern, an empty one
// included ("*.txt;;*.doc;" gives three); text after the last ";" is not a
// pattern ("*.txt;*.doc" gives only "*.txt").
std::vector<std::string> parseString(const std::string& packed);

// Packs patterns for storage: each one followed by ";". An entry that itself
// holds a ";" therefore comes back as several patterns.
std::string PackPatterns(const std::vector<std::string>& patterns);

}  // namespace twinfold
