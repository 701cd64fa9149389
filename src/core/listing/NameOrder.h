#pragma once

#include <string_view>

namespace twinfold {

// The order of every list: letter case ignored (ASCII letters folded to lower
// case, so "[" and "_" come before letters), ties broken by the exact bytes so
// that names differing only in case keep one stable order.
bool ListedBefore(std::string_view a, std::string_view b);

}  // namespace twinfold
