#pragma once

#include <string>

namespace twinfold {

// A path given on the command line, made absolute against the directory the
// program was started in. The windows move the process's current directory
// as soon as they are created, so a relative argument must be resolved
// before that. An empty argument stays empty.
std::string CommandLinePath(const std::string& argument);

}  // namespace twinfold
