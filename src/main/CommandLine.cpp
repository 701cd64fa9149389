#include "main/CommandLine.h"

#include "listing/Paths.h"
#include "platform/FileSystem.h"

namespace twinfold {

std::string CommandLinePath(const std::string& argument) {
    if (argument.empty() || argument.front() == platform::kSeparator) return argument;
    auto cwd = platform::CurrentDirectory();
    return cwd ? JoinPath(cwd.value(), argument) : argument;
}

}  // namespace twinfold
