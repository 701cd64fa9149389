#include "listing/Wildcard.h"

#include <string_view>

namespace twinfold {
namespace {

// Greedy match that remembers only the last "*": a later star makes every
// earlier choice final, so no choice is ever tried twice.
bool Matches(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool EndsInAnyExtension(std::string_view pattern) {
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
}

}  // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    if (Matches(name, pattern)) return true;
    // A name without an extension stands as if it had an empty one.
    return EndsInAnyExtension(pattern) && name.find('.') == std::string::npos &&
           Matches(name, std::string_view(pattern).substr(0, pattern.size() - 2));
}

}  // namespace twinfold
