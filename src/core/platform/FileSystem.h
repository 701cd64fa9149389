#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

// What stands at `path` itself; a link is not followed.
enum class EntryKind { None, File, Directory, Link, Other };
EntryKind QueryEntryKind(const std::string& path, std::uint32_t* attributes = nullptr);

// Two spellings of one entry share both numbers.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What one status query tells of an entry.
struct EntryStatus {
    EntryKind kind = EntryKind::None;
    std::uint32_t permissions = 0;  // the mode's 07777 bits
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uint64_t size = 0;
    std::uint64_t allocated = 0;           // bytes it takes on its volume
    std::int64_t modified = 0;             // seconds since the epoch, UTC
    std::int64_t modifiedNanoseconds = 0;  // and the part of a second
    FileIdentity identity;
};

// True when `path` exists and the program may write into it (a directory:
// create entries in it).
bool IsWritable(const std::string& path);

// True when the permission bits let this process write the entry: root
// always, anyone else as owner, group member or other. (Whether nobody may
// write it, the read-only attribute, is a separate question.)
bool MayWrite(const EntryStatus& entry);

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

    // Only regular files, opened without waiting (a FIFO named here never
    // blocks); their last-write time is kept from the opening.
    static Result<File> OpenForReading(const std::string& path);
    // Creates a new file that must not exist yet (mode 0666 less the umask).
    static Result<File> CreateNew(const std::string& path);
    // Takes over an open descriptor (for the platform's own use).
    static File Adopt(int fd) { return File(fd); }

    // Reads up to buffer.size() bytes; 0 only at the end of the file.
    // Interrupted calls are retried.
    Result<std::size_t> Read(std::span<char> buffer);
    // Writes every byte or fails.
    Status Write(std::span<const char> data);
    // Waits until what was written is on the disk, not only in the cache.
    Status Flush();
    Status SetModified(std::int64_t seconds, std::int64_t nanoseconds = 0);
    // Permission bits (07777), and owner and group.
    Status SetPermissions(std::uint32_t permissions);
    Status SetOwner(std::uint32_t owner, std::uint32_t group);
    Result<EntryStatus> Info() const;
    Status Close();
    bool isOpen() const { return fd_ >= 0; }
    // The last-write time (UTC seconds) of a file opened for reading.
    std::int64_t modified() const { return modified_; }
    // For the platform's own use: the descriptor, still owned by the file.
    int descriptor() const { return fd_; }

private:
    explicit File(int fd, std::int64_t modified = 0) : fd_(fd), modified_(modified) {}
    int fd_ = -1;
    std::int64_t modified_ = 0;
};

// Reads the whole of a file the person named (a settings or batch file):
// opened without waiting, refused unless it is a regular file (EINVAL, or
// EISDIR for a directory) and refused when it holds more than `limit` bytes
// (EFBIG), so nothing it is given can block or exhaust the program.
Result<std::string> ReadNamedFile(const std::string& path, std::size_t limit);

// What replacing a named file does with a link standing at its name.
enum class LinkAtName {
    // Settings and batch files: the link stays and its target changes, but
    // only where MayFollowLink allows each link on the way (ELOOP otherwise).
    FollowWhereSafe,
    // Run-log files, written into directories others may write to: the new
    // file takes the link's place and nothing is written where it led.
    Replace,
};

// Replaces the file a person named (settings, batch, log) with `content` in
// one step: the content goes to a temporary in the same directory, which is
// flushed to the disk and then takes the file's place; the directory is
// flushed after. A file that is replaced keeps its permission bits, and its
// owner and group where the process may set them; a new file (also one that
// replaces a link) gets 0666 less the umask. What stands there must be a
// regular file that someone may write (EACCES for a read-only one, even for
// root; EISDIR or EINVAL for other kinds). On failure the old file is
// untouched and no temporary is left.
Status ReplaceNamedFile(const std::string& path, std::string_view content,
                        LinkAtName links = LinkAtName::FollowWhereSafe);

// The kernel's rule for links in sticky, world-writable directories (where
// anyone may plant one): `person` may follow a link owned by `linkOwner` when
// the directory holding it is not both sticky and world-writable, or when
// the link is the person's own or the directory owner's. Applied whether or
// not the kernel enforces it, so a settings file is never written where
// someone else's link points.
bool MayFollowLink(std::uint32_t person, std::uint32_t linkOwner, std::uint32_t dirPermissions,
                   std::uint32_t dirOwner);

Status RemoveFile(const std::string& path);
// Fails when `to` already exists.
Status MoveEntry(const std::string& from, const std::string& to);
Status MakeDirectory(const std::string& path);
Status RemoveDirectory(const std::string& path);
Status SetModified(const std::string& path, std::int64_t seconds);

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

}  // namespace twinfold::platform
