// Open directories and the entries named relative to them.
#include "platform/DirectoryHandle.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/Posix.h"

namespace twinfold::platform {
namespace {

constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

bool IsDotName(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

EntryKind KindOfType(unsigned char type) {
    switch (type) {
        case DT_REG:
            return EntryKind::File;
        case DT_DIR:
            return EntryKind::Directory;
        case DT_LNK:
            return EntryKind::Link;
        case DT_UNKNOWN:
            return EntryKind::None;
        default:
            return EntryKind::Other;
    }
}

// Appends the names of one block the directory handed over.
void AppendNames(const char* block, long length, std::vector<ListedName>& names) {
    for (long offset = 0; offset < length;) {
        const auto* entry = reinterpret_cast<const struct dirent64*>(block + offset);
        offset += entry->d_reclen;
        if (!IsDotName(entry->d_name)) names.push_back({entry->d_name, KindOfType(entry->d_type)});
    }
}

}  // namespace

DirectoryHandle::DirectoryHandle(DirectoryHandle&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

DirectoryHandle& DirectoryHandle::operator=(DirectoryHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

DirectoryHandle::~DirectoryHandle() {
    if (fd_ >= 0) close(fd_);
}

Result<DirectoryHandle> DirectoryHandle::Open(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno);
    return DirectoryHandle(fd);
}

Result<DirectoryHandle> DirectoryHandle::OpenChild(const std::string& name) const {
    int fd = openat(fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno);
    return DirectoryHandle(fd);
}

Result<DirectoryHandle> DirectoryHandle::MakeChild(const std::string& name,
                                                   std::uint32_t permissions) const {
    if (mkdirat(fd_, name.c_str(), permissions & 07777) != 0 && errno != EEXIST) {
        return FromErrno(errno);
    }
    return OpenChild(name);
}

Result<std::vector<ListedName>> DirectoryHandle::List() const {
    if (lseek(fd_, 0, SEEK_SET) < 0) return FromErrno(errno);
    alignas(8) std::array<char, 32768> block;
    std::vector<ListedName> names;
    for (;;) {
        ssize_t length = getdents64(fd_, block.data(), block.size());
        if (length < 0 && errno == EINTR) continue;
        if (length < 0) return FromErrno(errno);
        if (length == 0) return names;
        AppendNames(block.data(), static_cast<long>(length), names);
    }
}

Result<EntryStatus> DirectoryHandle::InfoOf(const std::string& name, bool follow) const {
    struct stat st {};
    if (fstatat(fd_, name.c_str(), &st, follow ? 0 : AT_SYMLINK_NOFOLLOW) != 0) {
        return FromErrno(errno);
    }
    return posix::StatusFrom(st);
}

Result<EntryStatus> DirectoryHandle::Info() const {
    struct stat st {};
    if (fstat(fd_, &st) != 0) return FromErrno(errno);
    return posix::StatusFrom(st);
}

Result<File> DirectoryHandle::OpenFile(const std::string& name) const {
    int fd = openat(fd_, name.c_str(), kReadFlags | O_NOFOLLOW);
    if (fd < 0) return FromErrno(errno);
    return File::Adopt(fd);
}

Result<File> DirectoryHandle::OpenFileBeneath(const std::string& relative) const {
    struct open_how how {};
    how.flags = kReadFlags;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    long fd = syscall(SYS_openat2, fd_, relative.c_str(), &how, sizeof how);
    if (fd < 0) return FromErrno(errno);
    File file = File::Adopt(static_cast<int>(fd));
    auto info = file.Info();
    if (!info) return info.error();
    if (info.value().kind != EntryKind::File) return FromErrno(EINVAL);
    return file;
}

Status DirectoryHandle::RemoveFile(const std::string& name) const {
    return posix::StatusOf(unlinkat(fd_, name.c_str(), 0));
}

Status DirectoryHandle::RemoveEmptyDirectory(const std::string& name) const {
    return posix::StatusOf(unlinkat(fd_, name.c_str(), AT_REMOVEDIR));
}

}  // namespace twinfold::platform
