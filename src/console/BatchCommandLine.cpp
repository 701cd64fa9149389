#include "console/BatchCommandLine.h"

#include <optional>
#include <string_view>

#include "main/CommandLine.h"

namespace twinfold {
namespace {

constexpr const char* kLogDirOption = "--log-dir";
constexpr const char* kLogDirWithValue = "--log-dir=";

Error Wrong(const std::string& what) { return Error{what}; }

// Sets the answer once; --yes and --no together are a contradiction.
std::optional<Error> SetAnswer(BatchCommandLine& line, ConsoleAnswer answer) {
    if (line.answer != ConsoleAnswer::Ask && line.answer != answer) {
        return Wrong("--yes and --no exclude each other");
    }
    line.answer = answer;
    return std::nullopt;
}

// The text after "--log-dir=", or the argument after "--log-dir" (which
// then counts as read); empty when there is none.
std::string LogDirValue(const std::vector<std::string>& arguments, std::size_t& i) {
    const std::string& arg = arguments[i];
    if (arg != kLogDirOption) return arg.substr(std::string_view(kLogDirWithValue).size());
    if (i + 1 == arguments.size()) return {};
    return arguments[++i];
}

}  // namespace

Result<BatchCommandLine> ParseBatchCommandLine(const std::vector<std::string>& arguments) {
    BatchCommandLine line;
    bool optionsEnded = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-") {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--dry-run" || arg == "-n") {
            line.dryRun = true;
        } else if (arg == "--yes" || arg == "--no") {
            auto conflict =
                SetAnswer(line, arg == "--yes" ? ConsoleAnswer::Yes : ConsoleAnswer::No);
            if (conflict) return *conflict;
        } else if (arg == kLogDirOption || arg.starts_with(kLogDirWithValue)) {
            line.logDir = LogDirValue(arguments, i);
            if (line.logDir.empty()) return Wrong("--log-dir needs a directory");
        } else {
            return Wrong("unknown option " + arg);
        }
    }
    if (line.help || line.version) return line;
    if (files.empty()) return Wrong("no batch file given");
    if (files.size() > 1) return Wrong("more than one batch file given");
    line.batchFile = files.front();
    return line;
}

std::string BatchUsage() {
    return "Usage: twinfold-batch [--yes | --no] [--dry-run] [--log-dir DIR] BATCHFILE\n"
           "       twinfold-batch --help | --version\n"
           "Runs every settings file listed in BATCHFILE (a .tfw batch file) as the\n"
           "window program's Run Batch File command does, without saving any settings.\n"
           "\n"
           "  --yes          answer Yes to every question\n"
           "  --no           answer No to every question (the default when standard\n"
           "                 input is not a terminal; on a terminal each one is asked)\n"
           "  -n, --dry-run  change nothing: print what a run would do with each file\n"
           "                 (copy SRC -> DEST, skip SRC, fail SRC: reason) and a summary\n"
           "  --log-dir DIR  afterwards write the run-log lists into DIR as\n"
           "                 TFSuccess.txt, TFOlder.txt and TFFailed.txt\n"
           "  --help         print this help and end\n"
           "  --version      print the version and end\n"
           "\n"
           "Exit status: 0 when the batch file was read, every entry ran and synced,\n"
           "none was cancelled and no file or directory failed; 1 otherwise; 2 for a\n"
           "wrong command line; 130 after Ctrl+C, SIGTERM or SIGHUP.\n";
}

std::string BatchVersion() { return VersionLine("twinfold-batch"); }

}  // namespace twinfold
