#pragma once

#include <string>

namespace twinfold {

// Removes the file at `path` the way the delete commands do: a read-only file
// stays (also for root), a symbolic link is removed itself and its target is
// left alone, and a directory or anything else is never touched. Returns
// whether the entry is gone; callers skip failures without a word.
bool RemoveFileEntry(const std::string& path);

}  // namespace twinfold
