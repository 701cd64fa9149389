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

std::string HiddenLeftOutText(std::size_t count) {
    if (count == 0) return {};
    return GroupedCount(count) + (count == 1 ? " hidden directory" : " hidden directories") +
           " left out.";
}

}  // namespace twinfold
