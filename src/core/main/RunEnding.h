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

// The closing box's detail: "3 hidden directories left out." and "2 failures
// were not shown.", each on its line when there were any; else "".
std::string LeftOutText(std::size_t hiddenDirectories, std::size_t unshownFailures);

// "Directory Sync finished: 1,204 copied, 311 skipped, 2 failed. The failed
// files are in the run log (Log menu)." for `command` "Directory Sync".
std::string UnfinishedSyncText(const std::string& command, const RunCounts& counts);

// "Batch Process Sync finished with problems: 3 of 5 entries did not sync
// completely." and, when the run log could not be written, that too.
std::string UnfinishedBatchText(const BatchReport& report);

}  // namespace twinfold
