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
    // Whether it exists and can be written is asked right after.
    (void)MakeDirectoryPath(dir);
    return IsDirectory(dir) && platform::IsWritable(dir) ? WithSeparator(dir) : std::string();
}

// Where installed programs live. Root may write there, but settings do not
// belong among the system's programs.
bool IsSystemDirectory(const std::string& dir) {
    for (const char* prefix : {"/usr/", "/bin/", "/sbin/", "/opt/", "/snap/"}) {
        if (WithSeparator(dir).rfind(prefix, 0) == 0) return true;
    }
    return false;
}

}  // namespace

std::string ProgramDirectoryFor(const std::string& executableDir) {
    if (!executableDir.empty() && !IsSystemDirectory(executableDir) &&
        platform::IsWritable(executableDir)) {
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
