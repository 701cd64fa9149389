#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "batch/BatchReport.h"

namespace twinfold {

class TLogFilebx;

// The exit status of a finished batch: 130 after a stop request, 0 when the
// batch was clean (so its last line says "Successful!"), else 1.
int BatchExitStatus(const BatchReport& report);

// Writes the three run-log lists into `dir` (made when missing) under the
// names the log dialog proposes. Each failure is reported on `errors`; true
// when all three were written.
bool WriteRunLogs(const TLogFilebx& log, const std::string& dir, std::ostream& errors);

// The console program: the start-up read of the window program, one batch
// run with `arguments` (those after the program's name), no settings saved.
// Message boxes go to standard output, questions and the progress line to
// standard error. Returns the exit status; 2 for a wrong command line.
int RunBatchConsole(const std::vector<std::string>& arguments);

}  // namespace twinfold
