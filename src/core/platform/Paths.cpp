// Moving, removing and creating entries; the current directory; where the
// program lives.
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/Posix.h"

namespace twinfold::platform {

using posix::StatusOf;

Status RemoveFile(const std::string& path) { return StatusOf(unlink(path.c_str())); }

Status MoveEntry(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Ok();
    if (errno != EINVAL && errno != ENOSYS) return FromErrno(errno);
    // Volumes without no-replace renames: check, then rename.
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0) return FromErrno(EEXIST);
    return StatusOf(rename(from.c_str(), to.c_str()));
}

Status MakeDirectory(const std::string& path) { return StatusOf(mkdir(path.c_str(), 0777)); }

Status RemoveDirectory(const std::string& path) { return StatusOf(rmdir(path.c_str())); }

Status SetModified(const std::string& path, std::int64_t seconds) {
    struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    return StatusOf(utimensat(AT_FDCWD, path.c_str(), times, 0));
}

Result<std::string> CurrentDirectory() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) return FromErrno(errno);
    return std::string(buffer);
}

Status SetCurrentDirectory(const std::string& path) { return StatusOf(chdir(path.c_str())); }

Result<std::string> ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n < 0) return FromErrno(errno);
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string UserConfigDirectory() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.config";
    }
    return {};
}

}  // namespace twinfold::platform
