// Open files and whole writes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Posix.h"

namespace twinfold::platform {

File::File(File&& other) noexcept : fd_(other.fd_), modified_(other.modified_) { other.fd_ = -1; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        // Whoever needs to know of a failed close calls Close() first.
        (void)Close();
        fd_ = other.fd_;
        modified_ = other.modified_;
        other.fd_ = -1;
    }
    return *this;
}

// Whoever needs to know of a failed close calls Close() first.
File::~File() { (void)Close(); }

Result<File> File::OpenForReading(const std::string& path) {
    // Without waiting: a FIFO would block here until someone writes to it.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return FromErrno(errno);
    File file(fd);
    auto info = file.Info();
    if (!info) return info.error();
    if (info.value().kind != EntryKind::File) {
        return FromErrno(info.value().kind == EntryKind::Directory ? EISDIR : EINVAL);
    }
    file.modified_ = info.value().modified;
    return file;
}

Result<File> File::CreateNew(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return FromErrno(errno);
    return File(fd);
}

Result<std::size_t> File::Read(std::span<char> buffer) {
    for (;;) {
        ssize_t n = read(fd_, buffer.data(), buffer.size());
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) return FromErrno(errno);
    }
}

Status File::Write(std::span<const char> data) {
    while (!data.empty()) {
        ssize_t n = write(fd_, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return FromErrno(errno);
        }
        data = data.subspan(static_cast<std::size_t>(n));
    }
    return Ok();
}

Status File::Flush() { return posix::StatusOf(fsync(fd_)); }

Status File::SetModified(std::int64_t seconds, std::int64_t nanoseconds) {
    struct timespec times[2] = {{0, UTIME_OMIT},
                                {static_cast<time_t>(seconds), static_cast<long>(nanoseconds)}};
    return posix::StatusOf(futimens(fd_, times));
}

Status File::SetPermissions(std::uint32_t permissions) {
    return posix::StatusOf(fchmod(fd_, permissions & 07777));
}

Status File::SetOwner(std::uint32_t owner, std::uint32_t group) {
    return posix::StatusOf(fchown(fd_, owner, group));
}

Result<EntryStatus> File::Info() const {
    struct stat st {};
    if (fstat(fd_, &st) != 0) return FromErrno(errno);
    return posix::StatusFrom(st);
}

Status File::Close() {
    if (fd_ < 0) return Ok();
    int fd = fd_;
    fd_ = -1;
    // A delayed write error (network volumes, a full disk) shows up here.
    if (close(fd) != 0 && errno != EINTR) return FromErrno(errno);
    return Ok();
}

}  // namespace twinfold::platform
