#pragma once

// Helpers shared by the platform's own sources; nothing outside
// src/platform includes this.
#include <sys/stat.h>

#include <cerrno>

#include "platform/FileSystem.h"

namespace twinfold::platform::posix {

// Ok for a call that returned 0, else the error in errno.
inline Status StatusOf(int rc) { return rc == 0 ? Ok() : Status(FromErrno(errno)); }

inline EntryKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Directory;
    if (S_ISLNK(mode)) return EntryKind::Link;
    return EntryKind::Other;
}

inline EntryStatus StatusFrom(const struct stat& st) {
    EntryStatus status;
    status.kind = KindOf(st.st_mode);
    status.permissions = st.st_mode & 07777;
    status.owner = st.st_uid;
    status.group = st.st_gid;
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.allocated = static_cast<std::uint64_t>(st.st_blocks) * 512;
    status.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    status.modifiedNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    status.identity = {static_cast<std::uint64_t>(st.st_dev),
                       static_cast<std::uint64_t>(st.st_ino)};
    return status;
}

}  // namespace twinfold::platform::posix
