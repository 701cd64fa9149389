#pragma once

#include <string>
#include <vector>

#include "console/ConsoleDesktop.h"
#include "platform/Result.h"

namespace twinfold {

// twinfold-batch [--yes | --no] [--dry-run] [--log-dir DIR] BATCHFILE
// twinfold-batch --help | --version
struct BatchCommandLine {
    ConsoleAnswer answer = ConsoleAnswer::Ask;
    std::string logDir;  // empty: no log files
    std::string batchFile;
    bool help = false;     // --help or -h: print the usage and run nothing
    bool version = false;  // --version: print the version and run nothing
    bool dryRun = false;   // --dry-run or -n: say what a run would do, change nothing
};

// Reads the arguments after the program's name. A wrong command line comes
// back as an Error that says what is wrong.
Result<BatchCommandLine> ParseBatchCommandLine(const std::vector<std::string>& arguments);

// The usage text, ending in a line break.
std::string BatchUsage();

// What --version prints: the program's name and version and a line break.
std::string BatchVersion();

}  // namespace twinfold
