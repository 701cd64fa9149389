#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Letter case of ASCII only: names on Linux are bytes, and folding any other
// character would need a locale the file system knows nothing of.
namespace twinfold {

constexpr char ToLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char ToUpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The lower-case byte as unsigned, so that bytes above 0x7F order after
// every ASCII character when names are compared.
constexpr unsigned char FoldCase(char c) { return static_cast<unsigned char>(ToLowerAscii(c)); }

inline std::string LowerAscii(std::string text) {
    for (char& c : text) c = ToLowerAscii(c);
    return text;
}

inline std::string UpperAscii(std::string text) {
    for (char& c : text) c = ToUpperAscii(c);
    return text;
}

inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return ToLowerAscii(x) == ToLowerAscii(y); });
}

}  // namespace twinfold
