#pragma once

#include <cstddef>
#include <string>

#include "batch/BatchReport.h"
#include "util/GroupedCount.h"

// The closing texts of a run that did not do everything it was asked to: a
// run says "Successful!" only when nothing failed, was refused or was left.
namespace twinfold {

// How many files one run put into each of the three run-log lists.
struct RunCounts {
    std::size_t copied = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
};

// "3 hidden directories left out." for a run that left some out, else "".
std::string HiddenLeftOutText(std::size_t count);

// "Directory Sync finished: 1,204 copied, 311 skipped, 2 failed. The failed
// files are in the run log (Log menu)." for `command` "Directory Sync".
std::string UnfinishedSyncText(const std::string& command, const RunCounts& counts);

// "Batch Process Sync finished with problems: 3 of 5 entries did not sync
// completely." and, when the run log could not be written, that too.
std::string UnfinishedBatchText(const BatchReport& report);

}  // namespace twinfold
