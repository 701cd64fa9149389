#pragma once

#include <string>
#include <vector>

// A file list's mask and the custom type's exclusion, as pure functions over
// names, so that a list on screen and a synchronisation that never shows the
// list admit exactly the same files.
namespace twinfold {

// The pieces of a mask split at ";"; the empty piece after a final ";" is
// kept (it lists nothing).
std::vector<std::string> SplitMask(const std::string& mask);

// The names that each piece of `mask` matches, piece after piece, merged into
// the lists' order. A name that two pieces match is there twice.
std::vector<std::string> NamesMatching(const std::vector<std::string>& names,
                                       const std::string& mask);

// Removes from `items`, for each entry of `excluded` from the last to the
// first, the last item equal to it with letters a to z folded: what the
// exclusion pass does to a list.
void RemoveExcluded(std::vector<std::string>& items, const std::vector<std::string>& excluded);

}  // namespace twinfold
