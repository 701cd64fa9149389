#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// Directories held open, so that a walk names every entry relative to the
// directory it listed and never through a path that may have changed since.
namespace twinfold::platform {

// A name as the directory reports it; the kind is None when the file system
// does not tell it (then only a status query does).
struct ListedName {
    std::string name;
    EntryKind kind = EntryKind::None;
};

// An open directory, closed when it goes out of scope.
class DirectoryHandle {
public:
    DirectoryHandle() = default;
    DirectoryHandle(DirectoryHandle&& other) noexcept;
    DirectoryHandle& operator=(DirectoryHandle&& other) noexcept;
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;
    ~DirectoryHandle();

    // The directory at `path`, links on the way followed: the roots a person
    // chose may be reached through links.
    static Result<DirectoryHandle> Open(const std::string& path);
    // The subdirectory `name`. A link standing there is never followed
    // (ELOOP or ENOTDIR), so what opens is always below this directory.
    Result<DirectoryHandle> OpenChild(const std::string& name) const;
    // Makes the subdirectory `name` with `permissions` (less the umask) when
    // nothing stands there, then opens it as OpenChild does; a file or a link
    // in its place is an error.
    Result<DirectoryHandle> MakeChild(const std::string& name, std::uint32_t permissions) const;

    // Every name but "." and "..", in the file system's order, read afresh.
    // One thread at a time: the read position belongs to the handle.
    Result<std::vector<ListedName>> List() const;
    // The status of `name` itself, or with `follow` of what a link there
    // leads to.
    Result<EntryStatus> InfoOf(const std::string& name, bool follow = false) const;
    // The status of this directory.
    Result<EntryStatus> Info() const;

    // Opens the regular file `name` for reading without waiting on it (a FIFO
    // put in its place never blocks). A link standing there is not followed:
    // that fails with ELOOP.
    Result<File> OpenFile(const std::string& name) const;
    // Opens `relative` for reading, following links only while they stay
    // below this directory (EXDEV for one that leaves it).
    Result<File> OpenFileBeneath(const std::string& relative) const;

    // Removes the file `name` (never a directory).
    Status RemoveFile(const std::string& name) const;
    // Removes the subdirectory `name` when it is empty (never a link).
    Status RemoveEmptyDirectory(const std::string& name) const;

    bool isOpen() const { return fd_ >= 0; }
    // For the platform's own use: the descriptor, still owned by the handle.
    int descriptor() const { return fd_; }

private:
    explicit DirectoryHandle(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace twinfold::platform
