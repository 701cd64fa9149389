#include "main/CommandLine.h"

#include "Version.h"
#include "listing/Paths.h"
#include "platform/FileSystem.h"

namespace twinfold {

std::string CommandLinePath(const std::string& argument) {
    if (argument.empty() || argument.front() == platform::kSeparator) return argument;
    auto cwd = platform::CurrentDirectory();
    return cwd ? JoinPath(cwd.value(), argument) : argument;
}

namespace {

WindowCommandLine NamingBatch(WindowCommandLine line, const std::string& batchFile) {
    line.batchGiven = true;
    line.batchFile = batchFile;
    return line;
}

}  // namespace

Result<WindowCommandLine> ParseWindowCommandLine(const std::vector<std::string>& arguments) {
    WindowCommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--") {
            if (i + 1 < arguments.size()) line = NamingBatch(line, arguments[i + 1]);
            break;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return Error{"unknown option " + arg};
        } else {
            line = NamingBatch(line, arg);
            break;
        }
    }
    return line;
}

std::string WindowUsage() {
    return "Usage: twinfold [--help | --version] [[--] BATCHFILE]\n"
           "Keeps a destination directory up to date with a source directory.\n"
           "\n"
           "With BATCHFILE (a .tfw batch file) the program runs that batch with its\n"
           "dialogs before the window shows and then ends; further arguments are\n"
           "ignored. Without it the window opens.\n"
           "\n"
           "  --help     print this help and end\n"
           "  --version  print the version and end\n"
           "  --         the next argument is the batch file, even if it starts with -\n"
           "\n"
           "Qt's own options, such as -platform NAME or -style NAME, are taken too.\n"
           "For batches without any window, see twinfold-batch --help.\n";
}

std::string VersionLine(const std::string& program) { return program + " " + kVersion + "\n"; }

}  // namespace twinfold
