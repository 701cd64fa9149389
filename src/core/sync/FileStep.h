#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/DirectoryHandle.h"
#include "platform/FileSystem.h"

// The per-file step of a synchronisation as values: decide by stamps, then
// copy, relative to open directories only. Nothing here speaks to the person;
// a failure comes back with the words the person is to be shown.
namespace twinfold::sync {

// Where one directory's files come from and go to.
struct Place {
    const platform::DirectoryHandle* source = nullptr;
    std::string sourcePath;  // as the person sees and the log records it
    // Null when there is no destination directory to write into.
    const platform::DirectoryHandle* destination = nullptr;
    // In a preview: the destination directory does not exist yet, but the
    // run would make it (so it is empty, and its files would be copied).
    bool destinationPlanned = false;
    std::string destinationPath;
    // A link among the files is followed only while it stays inside the
    // tree: `root` is the tree's top, `relative` this directory below it
    // ("" at the top, else "a/b").
    const platform::DirectoryHandle* root = nullptr;
    std::string relative;
};

// Reads the next chunk of a source: the bytes read, 0 at the end, or the
// error. Tests put one in to make a source fail part way through.
using ChunkReader = std::function<Result<std::size_t>(platform::File&, std::span<char>)>;

struct CopySettings {
    std::size_t bufferSize = 32768;
    // The permission bits the process takes from every file it creates.
    std::uint32_t creationMask = 022;
    // Empty: the fastest way the two files allow.
    ChunkReader reader;
    // A preview: everything is decided and checked as a copy would be, and
    // nothing is written.
    bool dryRun = false;
};

// The names that stand in a destination directory, from one listing, so that
// a missing target costs no query of its own.
class DestinationIndex {
public:
    // An empty directory's (one that a preview's run would make).
    DestinationIndex() = default;
    static Result<DestinationIndex> Read(const platform::DirectoryHandle& directory);
    bool Has(const std::string& name) const { return names_.count(name) != 0; }
    // Its subdirectories that a directory list would show, sorted.
    const std::vector<std::string>& Subdirectories() const { return subdirectories_; }
    // Removes from `directory` (the one read) the temporaries that runs which
    // did not finish left there. The index never holds their names.
    void RemoveLeftovers(const platform::DirectoryHandle& directory) const;

private:
    std::unordered_set<std::string> names_;
    std::vector<std::string> subdirectories_;
    std::vector<std::string> temporaries_;
};

// What the step found for one file before anything was written.
struct FileDecision {
    bool copy = false;
    std::optional<platform::EntryStatus> source;
    std::optional<platform::EntryStatus> target;
    // A link's file, opened while deciding (its stamp is the file's).
    std::optional<platform::File> opened;
    // The source exists but may not be read (a link that leaves the tree).
    bool sourceRefused = false;
    // Why, in the system's words, when it said.
    Error refusal;
};

struct FileOutcome {
    enum class Kind { Copied, Skipped, Failed, Stopped };
    // Why a copy failed, which decides the words the person is shown.
    enum class Problem { None, OpenSource, CreateTarget, ReadSource, WriteTarget };
    Kind kind = Kind::Skipped;
    Problem problem = Problem::None;
    // Why it failed, in the system's words where the system gave any.
    std::string reason = {};
};

// Looks at the source file `name` and its target and decides by the stamps.
// Without an index the target is looked up directly.
FileDecision DecideFile(const Place& place, const std::string& name, const DestinationIndex* index);

// Copies `name` as decided: into an unnamed or hidden temporary beside the
// target, stamped and given its permissions, then put in the target's place.
// `goOn` is asked between chunks; false stops the copy (Stopped), leaving
// the old target as it was and nothing new behind. `buffer` serves when the
// kernel cannot move the data itself.
FileOutcome CopyFile(const Place& place, const std::string& name, FileDecision& decision,
                     const CopySettings& settings, std::span<char> buffer,
                     const std::function<bool()>& goOn);

// What CopyFile would make of `name` without writing anything: Copied, or
// Failed with the problem a copy would meet before it writes (the source
// cannot be opened, there is no destination directory, the target may not
// be replaced). Failures a copy only meets while writing cannot be foreseen.
FileOutcome PreviewCopy(const Place& place, const std::string& name, FileDecision& decision);

// What the person is shown for a copy that failed with `problem`.
std::string FailureText(FileOutcome::Problem problem, const std::string& source,
                        const std::string& target);

}  // namespace twinfold::sync
