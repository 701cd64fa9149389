#include "main/RunEnding.h"

namespace twinfold {

std::string UnfinishedSyncText(const std::string& command, const RunCounts& counts) {
    return command + " finished: " + GroupedCount(counts.copied) + " copied, " +
           GroupedCount(counts.skipped) + " skipped, " + GroupedCount(counts.failed) +
           " failed. The failed files are in the run log (Log menu).";
}

std::string UnfinishedBatchText(const BatchReport& report) {
    std::string text = "Batch Process Sync finished with problems: ";
    if (report.incomplete > 0) {
        text += GroupedCount(static_cast<std::size_t>(report.incomplete)) + " of " +
                GroupedCount(static_cast<std::size_t>(report.entries)) +
                " entries did not sync completely";
        if (report.logsUnwritten) text += ", and ";
    }
    if (report.logsUnwritten) text += "the run log could not be written";
    return text + ".";
}

std::string LeftOutText(std::size_t hiddenDirectories, std::size_t unshownFailures) {
    std::string text;
    if (hiddenDirectories > 0) {
        text = GroupedCount(hiddenDirectories) +
               (hiddenDirectories == 1 ? " hidden directory" : " hidden directories") +
               " left out.";
    }
    if (unshownFailures > 0) {
        text += (text.empty() ? "" : "\n") + GroupedCount(unshownFailures) +
                (unshownFailures == 1 ? " failure was" : " failures were") + " not shown.";
    }
    return text;
}

}  // namespace twinfold
