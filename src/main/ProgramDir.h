#pragma once

#include <string>

#include "desktop/Desktop.h"

namespace twinfold {

// Where the default settings and batch files live, ending in "/": the
// directory of the running program when it can be written (a build folder,
// a portable copy), else the per-user configuration directory
// ($XDG_CONFIG_HOME/twinfold/ or ~/.config/twinfold/, created when missing).
// When neither can be written the person is told once and the program's
// directory is used all the same.
std::string ProgramDirectory(Desktop& desktop);

// The same choice for a given program directory (tests use this).
std::string ProgramDirectoryFor(const std::string& executableDir, Desktop& desktop);

}  // namespace twinfold
