// Directory search and entry queries on POSIX, mapped to attribute bits.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/FileSystem.h"

namespace twinfold::platform {
namespace {

bool IsDotName(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsHiddenName(const char* name) { return name[0] == '.' && !IsDotName(name); }

std::uint32_t HiddenBit(const char* name) { return IsHiddenName(name) ? kHidden : 0u; }

// Read-only means nobody may write, so root is held back by it too.
std::uint32_t AttributesOf(const struct stat& st, const char* name) {
    std::uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) attributes |= kDirectory;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= kReadOnly;
    if (IsHiddenName(name)) attributes |= kHidden;
    return attributes;
}

const char* BaseName(const std::string& path) {
    auto slash = path.find_last_of(kSeparator);
    return slash == std::string::npos ? path.c_str() : path.c_str() + slash + 1;
}

// The entry a directory search reports for `name`, or nothing for the kinds
// that are never listed.
// Without a status query: only when the directory reports the entry's kind.
std::optional<DirEntry> QuickEntry(const struct dirent& found) {
    if (found.d_type == DT_DIR) return DirEntry{found.d_name, kDirectory | HiddenBit(found.d_name)};
    if (found.d_type == DT_REG) return DirEntry{found.d_name, HiddenBit(found.d_name)};
    return std::nullopt;
}

std::optional<DirEntry> SearchEntry(int dirFd, const char* name) {
    struct stat st {};
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    if (S_ISLNK(st.st_mode)) {
        // A link stands for its target file; links to directories are not
        // followed and dangling links are not listed.
        if (fstatat(dirFd, name, &st, 0) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    } else if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        return std::nullopt;
    }
    return DirEntry{name, AttributesOf(st, name), static_cast<std::uint64_t>(st.st_size),
                    static_cast<std::int64_t>(st.st_mtim.tv_sec)};
}

}  // namespace

Result<std::vector<DirEntry>> ReadDirectory(const std::string& dir, Detail detail) {
    DIR* stream = opendir(dir.c_str());
    if (stream == nullptr) return FromErrno(errno);
    std::vector<DirEntry> entries;
    int fd = dirfd(stream);
    errno = 0;
    while (struct dirent* found = readdir(stream)) {
        auto entry = detail == Detail::Kinds ? QuickEntry(*found) : std::nullopt;
        if (!entry) entry = SearchEntry(fd, found->d_name);
        if (entry) entries.push_back(std::move(*entry));
        errno = 0;
    }
    int readError = errno;
    closedir(stream);
    if (readError != 0) return FromErrno(readError);
    return entries;
}

std::optional<EntryInfo> QueryEntry(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return std::nullopt;
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return std::nullopt;
    return EntryInfo{AttributesOf(st, BaseName(path)), static_cast<std::uint64_t>(st.st_size),
                     static_cast<std::int64_t>(st.st_mtim.tv_sec)};
}

EntryKind QueryEntryKind(const std::string& path, std::uint32_t* attributes) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return EntryKind::None;
    if (attributes != nullptr) *attributes = AttributesOf(st, BaseName(path));
    if (S_ISLNK(st.st_mode)) return EntryKind::Link;
    if (S_ISREG(st.st_mode)) return EntryKind::File;
    if (S_ISDIR(st.st_mode)) return EntryKind::Directory;
    return EntryKind::Other;
}

bool IsWritable(const std::string& path) { return access(path.c_str(), W_OK) == 0; }

bool MayWrite(const EntryStatus& entry) {
    const uid_t user = geteuid();
    if (user == 0) return true;
    if (entry.owner == user) return (entry.permissions & S_IWUSR) != 0;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(
        std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    groups.push_back(getegid());
    if (std::find(groups.begin(), groups.end(), entry.group) != groups.end()) {
        return (entry.permissions & S_IWGRP) != 0;
    }
    return (entry.permissions & S_IWOTH) != 0;
}

bool IsCaseSensitiveVolume(const std::string&) { return true; }

std::string DisplayPath(const std::string& path) { return path; }

}  // namespace twinfold::platform
