#include "listing/Wildcard.h"
#include "util/Ascii.h"

#include <string_view>
#include <vector>

namespace twinfold {
namespace {

// A byte that is not part of a well-formed UTF-8 sequence stands for itself,
// outside the range of code points, so names that are not UTF-8 still match.
constexpr char32_t kStrayByte = 0x110000;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed sequence at the start of `text`, 0 if none.
// Overlong forms, surrogates and values past U+10FFFF are not well formed.
std::size_t SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead > 0xF4 || length == 0 || text.size() < length) return 0;
    const auto second = static_cast<unsigned char>(text[1]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[i]))) return 0;
    }
    return length;
}

// The characters of `text`, ASCII letters folded to lower case.
std::vector<char32_t> Characters(std::string_view text) {
    std::vector<char32_t> characters;
    characters.reserve(text.size());
    while (!text.empty()) {
        const auto lead = static_cast<unsigned char>(text[0]);
        std::size_t length = lead < 0x80 ? 1 : SequenceLength(text);
        if (length == 0) {
            characters.push_back(kStrayByte + lead);
            text.remove_prefix(1);
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        }
        characters.push_back(length == 1 ? FoldCase(static_cast<char>(lead)) : code);
        text.remove_prefix(length);
    }
    return characters;
}

// Greedy match that remembers only the last "*": a later star makes every
// earlier choice final, so no choice is ever tried twice.
bool Matches(const std::vector<char32_t>& name, const std::vector<char32_t>& pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') ++p;
    return p == pattern.size();
}

bool EndsInAnyExtension(std::string_view pattern) {
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
}

}  // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    const std::vector<char32_t> characters = Characters(name);
    if (Matches(characters, Characters(pattern))) return true;
    // A name without an extension stands as if it had an empty one.
    return EndsInAnyExtension(pattern) && name.find('.') == std::string::npos &&
           Matches(characters, Characters(std::string_view(pattern).substr(0, pattern.size() - 2)));
}

}  // namespace twinfold
