// Temporaries that become the target only when complete.
#include "platform/PendingFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "platform/Posix.h"

namespace twinfold::platform {
namespace {

// Set by tests to take the path of file systems without unnamed files.
std::atomic<bool> namedTemporaries{false};

constexpr int kTemporaryTries = 20;

// A file system that has no unnamed files says so in one of these ways.
bool UnnamedUnsupported(int code) {
    return code == EOPNOTSUPP || code == EISDIR || code == EINVAL || code == ENOENT;
}

std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A temporary that has a name is locked for as long as it is open, so that
// another run that finds it there leaves it alone.
void Hold(int fd) { (void)flock(fd, LOCK_EX | LOCK_NB); }

}  // namespace

std::string TemporaryName() {
    static std::atomic<std::uint64_t> counter{0};
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::uint64_t value =
        Mix(now ^ (static_cast<std::uint64_t>(getpid()) << 40) ^ Mix(counter++));
    char name[24];
    std::snprintf(name, sizeof name, ".tf%016llx", static_cast<unsigned long long>(value));
    return name;
}

bool IsTemporaryName(std::string_view name) {
    constexpr std::string_view kPrefix = ".tf";
    constexpr std::size_t kDigits = 16;
    if (name.size() != kPrefix.size() + kDigits || !name.starts_with(kPrefix)) return false;
    return std::all_of(name.begin() + kPrefix.size(), name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool RemoveLeftover(const DirectoryHandle& dir, const std::string& name) {
    if (!IsTemporaryName(name)) return false;
    struct stat seen {};
    if (fstatat(dir.descriptor(), name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(seen.st_mode) || seen.st_uid != geteuid()) {
        return false;
    }
    // Opened only to learn whether a run still holds it; it must still be
    // the file just looked at.
    File held = File::Adopt(openat(dir.descriptor(), name.c_str(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!held.isOpen() || fstat(held.descriptor(), &opened) != 0 || opened.st_dev != seen.st_dev ||
        opened.st_ino != seen.st_ino || flock(held.descriptor(), LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    return unlinkat(dir.descriptor(), name.c_str(), 0) == 0;
}

std::uint32_t CreationMask() {
    // Asking the kernel means setting it; the status file tells without.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) return std::stoul(line.substr(6), nullptr, 8) & 0777;
    }
    mode_t mask = umask(022);
    umask(mask);
    return mask & 0777;
}

void UseNamedTemporaries(bool named) { namedTemporaries = named; }

Result<PendingFile> PendingFile::Create(const DirectoryHandle& dir, std::uint32_t permissions) {
    int fd = -1;
    if (!namedTemporaries) {
        fd = openat(dir.descriptor(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, permissions & 07777);
        if (fd >= 0) return PendingFile(dir, File::Adopt(fd), std::string());
        if (!UnnamedUnsupported(errno)) return FromErrno(errno);
    }
    for (int attempt = 0; attempt < kTemporaryTries; ++attempt) {
        std::string name = TemporaryName();
        fd = openat(dir.descriptor(), name.c_str(),
                    O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions & 07777);
        if (fd >= 0) {
            Hold(fd);
            return PendingFile(dir, File::Adopt(fd), std::move(name));
        }
        if (errno != EEXIST) return FromErrno(errno);
    }
    return FromErrno(EEXIST);
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : dir_(other.dir_),
      file_(std::move(other.file_)),
      name_(std::move(other.name_)),
      committed_(other.committed_) {
    other.committed_ = true;  // the moved-from object has nothing to remove
}

PendingFile::~PendingFile() {
    if (!committed_) Discard();
}

Status PendingFile::Adopt(const EntryStatus& replaced) {
    if (replaced.owner != geteuid() || replaced.group != getegid()) {
        // Only root may give a file away; anyone else keeps what is allowed.
        (void)file_.SetOwner(replaced.owner, replaced.group);
    }
    return file_.SetPermissions(replaced.permissions);
}

Status PendingFile::Commit(const std::string& name, Placement placement) {
    Status placed = name_.empty() && placement == Placement::New ? LinkUnnamed(name)
                                                                 : CommitNamed(name, placement);
    if (!placed.ok()) return placed;
    committed_ = true;
    return file_.Close();
}

// Gives the unnamed file its name; fails when anything stands there. The
// direct form needs a privilege; without it the file is named through
// /proc. Which one works is found out once.
Status PendingFile::LinkUnnamed(const std::string& name) {
    static std::atomic<bool> direct{true};
    if (direct.load(std::memory_order_relaxed)) {
        if (linkat(file_.descriptor(), "", dir_, name.c_str(), AT_EMPTY_PATH) == 0) return Ok();
        if (errno != ENOENT && errno != EPERM) return FromErrno(errno);
        direct = false;
    }
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", file_.descriptor());
    return posix::StatusOf(linkat(AT_FDCWD, self, dir_, name.c_str(), AT_SYMLINK_FOLLOW));
}

Status PendingFile::CommitNamed(const std::string& name, Placement placement) {
    if (name_.empty()) {
        // An unnamed file replaces through a name of its own, for the moment
        // between the two calls.
        Hold(file_.descriptor());
        for (int attempt = 0; name_.empty(); ++attempt) {
            std::string temporary = TemporaryName();
            if (Status linked = LinkUnnamed(temporary); linked.ok()) {
                name_ = temporary;
            } else if (linked.error().code != EEXIST || attempt == kTemporaryTries) {
                return linked;
            }
        }
    } else if (Status closed = file_.Close(); !closed.ok()) {
        return closed;  // a delayed write error: the content is not whole
    }
    int rc = placement == Placement::Replace
                 ? renameat(dir_, name_.c_str(), dir_, name.c_str())
                 : renameat2(dir_, name_.c_str(), dir_, name.c_str(), RENAME_NOREPLACE);
    if (rc != 0 && placement == Placement::New && (errno == EINVAL || errno == ENOSYS)) {
        // Volumes without no-replace renames: a link fails on anything there.
        rc = linkat(dir_, name_.c_str(), dir_, name.c_str(), 0);
        if (rc == 0) unlinkat(dir_, name_.c_str(), 0);
    }
    if (rc != 0) return FromErrno(errno);
    name_.clear();
    return Ok();
}

void PendingFile::Discard() {
    // The content is thrown away, so a failed close loses nothing.
    (void)file_.Close();
    if (!name_.empty()) unlinkat(dir_, name_.c_str(), 0);
    name_.clear();
}

}  // namespace twinfold::platform
