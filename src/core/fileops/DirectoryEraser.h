#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/DirectoryHandle.h"

namespace twinfold {

// Deletes the files of a directory, or a directory with its whole tree,
// through open directory handles: every directory is entered relative to its
// parent without following links and must be the one that was listed (device
// and inode), every entry is removed relative to the handle of the directory
// that holds it, and the way back up goes through the handles held. Whatever
// changes under it, nothing outside the directory it was given is removed.
//
// It deletes what the delete dialog's lists show: regular files that are not
// read-only and links to files (the link itself); subdirectories that are
// neither hidden nor links are entered. Everything else stays, and so does
// every directory that still holds something.
class DirectoryEraser {
public:
    // Told of every directory that could not be removed: its path and why,
    // in words a person can read.
    using Problem = std::function<void(const std::string& path, const std::string& reason)>;

    explicit DirectoryEraser(Problem problem);
    DirectoryEraser(const DirectoryEraser&) = delete;
    DirectoryEraser& operator=(const DirectoryEraser&) = delete;
    ~DirectoryEraser();

    // Removes the files `names` of `directory` (a failure is skipped, as the
    // delete commands do).
    static void RemoveFiles(const platform::DirectoryHandle& directory,
                            const std::vector<std::string>& names);

    // Removes the directory `name` of `parent` with everything below it;
    // `path` names it in the messages. Fails only when `name` is no
    // directory to start with; what stays below is reported as it happens.
    Status RemoveTree(const platform::DirectoryHandle& parent, const std::string& name,
                      const std::string& path);

    // What RemoveTree would remove, counted on the same walk: the directory
    // itself is one of the directories.
    struct Tally {
        std::size_t files = 0;
        std::size_t directories = 0;
    };
    Result<Tally> Count(const platform::DirectoryHandle& parent, const std::string& name,
                        const std::string& path);

private:
    struct Level;
    struct Kept {
        std::string name;
        const char* why;
    };

    Status Walk(const platform::DirectoryHandle& parent, const std::string& name,
                const std::string& path);
    Status Enter(const platform::DirectoryHandle& parent, const std::string& name,
                 const platform::EntryStatus& listed);
    void Classify(Level& level, const std::string& name);
    void EnterNextSubdirectory();
    void RemoveOwnFiles(Level& level);
    bool Leave();
    Status RemoveEntered(const platform::DirectoryHandle& parent, const Level& level);
    void LetGoOfAncestors();
    std::string ReasonFor(const Error& error, const Level& level) const;
    std::string PathOf(std::size_t depth) const;

    Problem problem_;
    // Counting walks and removes nothing.
    bool counting_ = false;
    Tally tally_;
    const platform::DirectoryHandle* base_ = nullptr;
    std::string path_;
    // The chosen directory first, then one level per directory entered.
    std::vector<Level> levels_;
};

}  // namespace twinfold
