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

// The positions of every item equal to a name of `excluded` with letters a
// to z folded, in ascending order. A name that two patterns list is there
// twice, and each occurrence goes.
std::vector<std::size_t> ExcludedPositions(const std::vector<std::string>& items,
                                           const std::vector<std::string>& excluded);

// Removes those items from `items`: what the exclusion pass does to a list.
void RemoveExcluded(std::vector<std::string>& items, const std::vector<std::string>& excluded);

}  // namespace twinfold
