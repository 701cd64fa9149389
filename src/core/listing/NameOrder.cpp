#include "listing/NameOrder.h"

#include <algorithm>

#include "util/Ascii.h"

namespace twinfold {

bool ListedBefore(std::string_view a, std::string_view b) {
    auto folded = [](char x, char y) { return FoldCase(x) < FoldCase(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
    return a < b;
}

}  // namespace twinfold
