#pragma once

#include <optional>

#include "platform/Result.h"

namespace twinfold {

// What became of the entries of one batch run, for a caller that must tell
// a clean run from one that left work undone.
struct BatchReport {
    int entries = 0;    // listed in the batch file
    int skipped = 0;    // invalid settings file or directories, or nothing to sync
    int cancelled = 0;  // their synchronisation was cancelled
    // The person asked the program to stop; later entries never started.
    bool interrupted = false;
    // Why the batch file itself could not be read, when it could not.
    std::optional<Error> unreadable;
    // Entries that did not sync completely, each counted once: skipped,
    // cancelled, or with files or directories that failed.
    int incomplete = 0;
    // The run's log files, which a console run writes, could not be.
    bool logsUnwritten = false;

    // Every listed entry synchronised everything, and there was one at least.
    bool Clean() const {
        return entries > 0 && incomplete == 0 && !interrupted && !unreadable.has_value() &&
               !logsUnwritten;
    }
};

}  // namespace twinfold
