// Reading and replacing the files a person names: settings, batch and log
// files. Nothing here may block on a FIFO or write through a directory.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/DirectoryHandle.h"
#include "platform/PendingFile.h"
#include "platform/Posix.h"

namespace twinfold::platform {
namespace {

constexpr int kMaxLinkHops = 40;

std::string DirectoryPart(const std::string& path) {
    auto slash = path.find_last_of(kSeparator);
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string(kRoot) : path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
    auto slash = path.find_last_of(kSeparator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows links at the last component, so the file they lead to is the one
// replaced and the links themselves stay.
Result<std::string> FollowLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::array<char, PATH_MAX> target;
        ssize_t n = readlink(path.c_str(), target.data(), target.size() - 1);
        if (n < 0) return FromErrno(errno);
        std::string text(target.data(), static_cast<std::size_t>(n));
        path = text.front() == kSeparator ? text : DirectoryPart(path) + kSeparator + text;
    }
    return FromErrno(ELOOP);
}

// Only a regular file that someone may write can be replaced.
Status CheckReplaceable(const EntryStatus& existing) {
    if (existing.kind == EntryKind::Directory) return FromErrno(EISDIR);
    if (existing.kind != EntryKind::File) return FromErrno(EINVAL);
    if ((existing.permissions & 0222) == 0) return FromErrno(EACCES);
    return Ok();
}

}  // namespace

Result<std::string> ReadNamedFile(const std::string& path, std::size_t limit) {
    auto file = File::OpenForReading(path);
    if (!file) return file.error();
    auto info = file.value().Info();
    if (!info) return info.error();
    if (info.value().size > limit) return FromErrno(EFBIG);
    std::string text;
    std::array<char, 8192> buffer;
    for (;;) {
        auto count = file.value().Read(buffer);
        if (!count) return count.error();
        if (count.value() == 0) return text;
        // A file that grows while it is read is still held to the limit.
        if (text.size() + count.value() > limit) return FromErrno(EFBIG);
        text.append(buffer.data(), count.value());
    }
}

Status ReplaceNamedFile(const std::string& path, std::string_view content) {
    auto target = FollowLinks(path);
    if (!target) return target.error();
    auto dir = DirectoryHandle::Open(DirectoryPart(target.value()));
    if (!dir) return dir.error();
    const std::string name = NamePart(target.value());
    auto existing = dir.value().InfoOf(name);
    if (existing) {
        if (Status usable = CheckReplaceable(existing.value()); !usable) return usable;
    } else if (existing.error().code != ENOENT) {
        return existing.error();
    }
    auto pending = PendingFile::Create(dir.value(), 0666);
    if (!pending) return pending.error();
    if (Status written = pending.value().file().Write(content); !written) return written;
    if (!existing) return pending.value().Commit(name, PendingFile::Placement::New);
    if (Status adopted = pending.value().Adopt(existing.value()); !adopted) return adopted;
    return pending.value().Commit(name, PendingFile::Placement::Replace);
}

}  // namespace twinfold::platform
