// Permission bits carried from one entry to another, so that a file replaced
// through a temporary copy keeps who may read and write it.
#include <sys/stat.h>

#include <cerrno>

#include "platform/FileSystem.h"

namespace twinfold::platform {

Status CopyPermissions(const std::string& from, const std::string& to) {
    struct stat st {};
    if (stat(from.c_str(), &st) != 0 || chmod(to.c_str(), st.st_mode & 07777) != 0) {
        return FromErrno(errno);
    }
    return Ok();
}

}  // namespace twinfold::platform
