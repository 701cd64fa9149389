#pragma once

#include <string>

namespace twinfold {

// Where the default settings and batch files live, ending in "/": the
// directory of the running program when it can be written (a build folder,
// a portable copy) and is not a system directory (/usr, /opt, ...: writable
// for root, but an installed program's), else the per-user configuration directory
// ($XDG_CONFIG_HOME/twinfold/ or ~/.config/twinfold/, created when missing).
// When neither can be written the program's directory is used all the same;
// the start-up read then reports the settings file it cannot write, once.
std::string ProgramDirectory();

// The same choice for a given program directory.
std::string ProgramDirectoryFor(const std::string& executableDir);

}  // namespace twinfold
