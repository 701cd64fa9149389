#include "listing/MaskFilter.h"

#include <algorithm>

#include "listing/NameOrder.h"
#include "listing/Wildcard.h"
#include "util/Ascii.h"

namespace twinfold {

std::vector<std::string> SplitMask(const std::string& mask) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t end; (end = mask.find(';', start)) != std::string::npos; start = end + 1) {
        pieces.push_back(mask.substr(start, end - start));
    }
    pieces.push_back(mask.substr(start));
    return pieces;
}

std::vector<std::string> NamesMatching(const std::vector<std::string>& names,
                                       const std::string& mask) {
    std::vector<std::string> matched;
    for (const std::string& piece : SplitMask(mask)) {
        if (piece.empty()) continue;
        for (const std::string& name : names) {
            if (MatchesPattern(name, piece)) matched.push_back(name);
        }
    }
    std::stable_sort(matched.begin(), matched.end(),
                     [](const std::string& a, const std::string& b) { return ListedBefore(a, b); });
    return matched;
}

void RemoveExcluded(std::vector<std::string>& items, const std::vector<std::string>& excluded) {
    for (auto e = excluded.rbegin(); e != excluded.rend(); ++e) {
        auto found = std::find_if(items.rbegin(), items.rend(), [&](const std::string& item) {
            return SameIgnoringCase(item, *e);
        });
        if (found != items.rend()) items.erase(std::next(found).base());
    }
}

}  // namespace twinfold
