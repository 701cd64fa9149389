#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Attributes.h"
#include "platform/Result.h"

// The only door to the operating system's file system. Everything above this
// folder sees the Windows model the program was designed for: attribute bits,
// packed local time stamps and one path separator.
namespace twinfold::platform {

inline constexpr char kSeparator = '/';
inline constexpr const char* kRoot = "/";

// One entry found by a directory search.
struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds since the epoch, UTC
};

// What is found at a path. Links are followed; only regular files and
// directories count as entries (FIFOs, sockets, devices and dangling links
// are reported as nothing).
struct EntryInfo {
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
};

// The entries of `dir`: regular files and directories, "." and ".." included.
// A link to a file is listed as that file (with the target's size and time);
// links to directories, dangling links and special files are left out, so a
// walk never leaves the tree. Order is the file system's.
//
// With `Detail::Kinds` only the kind and the name's attributes are certain:
// the read-only bit, size and time are left 0 for entries whose kind the
// directory itself reports, which saves one status query per entry. Lists
// that need no more than that (every subdirectory, every file) use it.
enum class Detail { Full, Kinds };
Result<std::vector<DirEntry>> ReadDirectory(const std::string& dir, Detail detail = Detail::Full);

std::optional<EntryInfo> QueryEntry(const std::string& path);

// True when a symbolic link stands at `path` itself (dangling or not).
bool IsSymbolicLink(const std::string& path);

// What stands at `path` itself; a link is not followed.
enum class EntryKind { None, File, Directory, Link, Other };
EntryKind QueryEntryKind(const std::string& path, std::uint32_t* attributes = nullptr);

// True when anything at all stands at `path` itself: also the kinds that
// QueryEntry reports as nothing (FIFOs, sockets, devices, dangling links).
bool EntryExists(const std::string& path);

// True when `path` exists and the program may write into it (a directory:
// create entries in it).
bool IsWritable(const std::string& path);

// Same device and inode: two spellings of one directory.
bool IsSameEntry(const std::string& a, const std::string& b);

// Packs `seconds` (UTC) as local time into the 32-bit DOS layout; nothing for
// times before 1980 or after 2107.
std::optional<std::uint32_t> PackLocalTime(std::int64_t seconds);
// The UTC seconds of a packed local time.
std::int64_t UnpackLocalTime(std::uint32_t packed);

// An open file, closed when it goes out of scope.
class File {
public:
    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // Only regular files; their last-write time is kept from the opening.
    static Result<File> OpenForReading(const std::string& path);
    // Creates a new file that must not exist yet (mode 0666 less the umask).
    static Result<File> CreateNew(const std::string& path);

    // Reads up to buffer.size() bytes; 0 only at the end of the file.
    // Interrupted calls are retried.
    Result<std::size_t> Read(std::span<char> buffer);
    // Writes every byte or fails.
    Status Write(std::span<const char> data);
    Status SetModified(std::int64_t seconds);
    Status Close();
    bool isOpen() const { return fd_ >= 0; }
    // The last-write time (UTC seconds) of a file opened for reading.
    std::int64_t modified() const { return modified_; }

private:
    explicit File(int fd, std::int64_t modified = 0) : fd_(fd), modified_(modified) {}
    int fd_ = -1;
    std::int64_t modified_ = 0;
};

// Creates a new, empty, hidden file in the directory of `target` whose name
// derives from the target's; returns its path with the open file.
struct TemporaryFile {
    File file;
    std::string path;
};
Result<TemporaryFile> CreateTemporaryBeside(const std::string& target);

Status RemoveFile(const std::string& path);
// Replaces `to` if it exists (an atomic step on one volume).
Status RenameReplacing(const std::string& from, const std::string& to);
// Fails when `to` already exists.
Status MoveEntry(const std::string& from, const std::string& to);
Status MakeDirectory(const std::string& path);
Status RemoveDirectory(const std::string& path);
Status SetModified(const std::string& path, std::int64_t seconds);
// Gives `to` the permission bits (special bits included) of `from`.
Status CopyPermissions(const std::string& from, const std::string& to);

Result<std::string> CurrentDirectory();
Status SetCurrentDirectory(const std::string& path);

// The full path of the running executable.
Result<std::string> ExecutablePath();
// $XDG_CONFIG_HOME, else ~/.config; empty when neither is known.
std::string UserConfigDirectory();

// Every Linux volume distinguishes letter case.
bool IsCaseSensitiveVolume(const std::string& path);
// The form in which a path is recorded and shown to the person: upper case on
// a volume that ignores case, unchanged where case names another file.
std::string DisplayPath(const std::string& path);

// The text of the error `code` (an errno value).
std::string ErrorText(int code);

}  // namespace twinfold::platform
