#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DirectoryHandle.h"
#include "platform/FileSystem.h"

namespace twinfold::platform {

// A file's new content, written aside in the directory it is meant for and
// put in place only once complete. Where the file system offers one it is an
// unnamed file, which vanishes with the process however that ends; elsewhere
// a short hidden name, so that any legal target name can be copied. Whatever
// is not committed is removed when the object goes.
class PendingFile {
public:
    // In `dir` (which must outlive this object), with `permissions` less
    // the umask.
    static Result<PendingFile> Create(const DirectoryHandle& dir, std::uint32_t permissions);

    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    File& file() { return file_; }

    // Takes over what a file being replaced had: its owner and group where
    // the process may set them, then its permission bits.
    Status Adopt(const EntryStatus& replaced);

    enum class Placement {
        New,      // fails with EEXIST when anything stands at the name
        Replace,  // takes the place of whatever entry stands there
    };
    // Puts the content at `name` and closes it. On failure nothing of it
    // remains and what stood at `name` is as it was.
    Status Commit(const std::string& name, Placement placement);

private:
    PendingFile(const DirectoryHandle& dir, File file, std::string name)
        : dir_(dir.descriptor()), file_(std::move(file)), name_(std::move(name)) {}
    Status LinkUnnamed(const std::string& name);
    Status CommitNamed(const std::string& name, Placement placement);
    void Discard();

    int dir_;
    File file_;
    std::string name_;  // empty while the file has no name
    bool committed_ = false;
};

// Makes every temporary a named one, as where the file system has no
// unnamed files; for tests of that path.
void UseNamedTemporaries(bool named);

// The short hidden name a temporary gets: fixed length, different each time.
std::string TemporaryName();
// True for exactly the names TemporaryName gives: ".tf" and 16 lower-case
// hexadecimal digits. Such names are the program's own and are never synced.
bool IsTemporaryName(std::string_view name);
// Removes the temporary `name` that a run which did not finish left in
// `dir`: only a regular file owned by this process's user that no run still
// going on holds (each holds a lock on its own). True when it was removed.
bool RemoveLeftover(const DirectoryHandle& dir, const std::string& name);

// The permission bits the process takes away from every file it creates.
std::uint32_t CreationMask();

}  // namespace twinfold::platform
