#include "listing/MaskFilter.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>

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

std::vector<std::size_t> ExcludedPositions(const std::vector<std::string>& items,
                                           const std::vector<std::string>& excluded) {
    std::vector<std::size_t> positions;
    if (excluded.empty()) return positions;
    std::unordered_set<std::string> folded;
    for (const std::string& name : excluded) folded.insert(LowerAscii(name));
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (folded.count(LowerAscii(items[i])) != 0) positions.push_back(i);
    }
    return positions;
}

void RemoveExcluded(std::vector<std::string>& items, const std::vector<std::string>& excluded) {
    const std::vector<std::size_t> positions = ExcludedPositions(items, excluded);
    std::vector<std::string> kept;
    kept.reserve(items.size() - positions.size());
    auto next = positions.begin();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (next != positions.end() && *next == i) {
            ++next;
        } else {
            kept.push_back(std::move(items[i]));
        }
    }
    items = std::move(kept);
}

}  // namespace twinfold
