#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace twinfold {

// How far a whole-tree run has come, for the progress dialog's overall line.
struct RunProgress {
    std::size_t done = 0;
    // The files of every directory the walk has reached so far; all of them
    // once `counted`.
    std::size_t planned = 0;
    bool counted = false;
    std::uint64_t bytesCopied = 0;
    double elapsedSeconds = 0;
};

// "1,204 of 3,000 files, 12.3 MB copied, about 2 min left"; while the walk
// still counts, "1,204 of 1,500 files found so far, 12.3 MB copied".
std::string OverallText(const RunProgress& progress);

}  // namespace twinfold
