#pragma once

#include <string>
#include <vector>

#include "platform/Result.h"

namespace twinfold {

// A path given on the command line, made absolute against the directory the
// program was started in. The windows move the process's current directory
// as soon as they are created, so a relative argument must be resolved
// before that. An empty argument stays empty.
std::string CommandLinePath(const std::string& argument);

// twinfold [--help | --version] [[--] BATCHFILE]
struct WindowCommandLine {
    bool batchGiven = false;  // false: no batch, the window opens
    std::string batchFile;
    bool help = false;     // --help or -h: print the usage and start nothing
    bool version = false;  // --version: print the version and start nothing
};

// Reads the arguments after the program's name (and after the toolkit took
// its own). The first argument that is not an option names the batch file;
// arguments after it are ignored, as they always were. "--" makes the next
// argument the batch file even when it starts with "-". Any other option is
// an Error that names it.
Result<WindowCommandLine> ParseWindowCommandLine(const std::vector<std::string>& arguments);

// The window program's usage text, ending in a line break.
std::string WindowUsage();

// "PROGRAM VERSION" and a line break: what --version prints.
std::string VersionLine(const std::string& program);

}  // namespace twinfold
