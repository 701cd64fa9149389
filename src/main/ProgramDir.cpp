#include "main/ProgramDir.h"

#include "listing/Paths.h"
#include "platform/FileSystem.h"

namespace twinfold {
namespace {

std::string WithSeparator(std::string dir) {
    if (dir.empty() || dir.back() != platform::kSeparator) dir += platform::kSeparator;
    return dir;
}

std::string UserDirectory() {
    std::string config = platform::UserConfigDirectory();
    if (config.empty()) return {};
    std::string dir = JoinPath(config, "twinfold");
    (void)MakeDirectoryPath(dir);
    return IsDirectory(dir) && platform::IsWritable(dir) ? WithSeparator(dir) : std::string();
}

}  // namespace

std::string ProgramDirectoryFor(const std::string& executableDir) {
    if (!executableDir.empty() && platform::IsWritable(executableDir)) {
        return WithSeparator(executableDir);
    }
    if (std::string user = UserDirectory(); !user.empty()) return user;
    return WithSeparator(executableDir.empty() ? "/" : executableDir);
}

std::string ProgramDirectory() {
    auto executable = platform::ExecutablePath();
    std::string dir = executable ? ExtractFilePath(executable.value()) : std::string();
    return ProgramDirectoryFor(dir);
}

}  // namespace twinfold
