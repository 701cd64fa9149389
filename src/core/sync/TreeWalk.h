#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DirectoryHandle.h"
#include "sync/FileStep.h"

namespace twinfold::sync {

// One directory of a walk, ready for its files to be synchronised.
struct WalkDirectory {
    enum class State {
        Ready,
        // The source directory could not be opened or listed (`error`).
        SourceUnreadable,
        // Its destination directory could not be made or opened (`error`):
        // a file or a link stands in its place, or the volume refused.
        DestinationRefused,
        // A destination directory above it was refused, so its files have
        // nowhere to go.
        DestinationMissing,
    };
    State state = State::Ready;
    Error error;
    std::string sourcePath;
    std::string destinationPath;
    // The path below the source root: "" for the root, else "a/b".
    std::string relative;
    std::shared_ptr<const platform::DirectoryHandle> root;
    platform::DirectoryHandle source;
    std::optional<platform::DirectoryHandle> destination;
    // In a preview: the destination directory is missing, and the run would
    // make it.
    bool destinationPlanned = false;
    // What its destination directory is reached from at its turn: the run's
    // destination root (none when that could not be opened) and the
    // permissions of each directory on the way down, `relative`'s parts.
    std::shared_ptr<const platform::DirectoryHandle> destinationRoot;
    std::vector<std::uint32_t> permissions;
    // Its regular files (and links to them) as listed, hidden ones included.
    std::vector<std::string> files;
    // Its subdirectories that the walk enters, sorted as the lists sort.
    std::vector<std::string> subdirectories;
    // Its hidden subdirectories, which the walk leaves out.
    std::size_t hiddenLeftOut = 0;

    // Where this directory's files come from and go to.
    Place place() const;
};

// Opens `directory`'s destination when its turn comes, making it and the
// missing directories above it (in a preview, a missing one is planned);
// a link or a file in the way is refused. `made` collects what was made,
// from the top down. Nothing to do for a root or a directory not Ready.
void ReachDestination(WalkDirectory& directory, bool dryRun, std::vector<std::string>& made);

// Removes the directories in `made` that are still empty, deepest first: a
// directory made for a turn that a cancel took away.
void RemoveIfEmpty(const WalkDirectory& directory, const std::vector<std::string>& made);

// The one directory of a run without a walk: `source` into `destination`,
// both opened as the person named them. A directory that cannot be opened
// is left closed: its files then fail one by one.
WalkDirectory OpenDirectoryPair(const std::string& source, const std::string& destination);

// A depth-first walk of a source tree that holds the directories it is in
// open (the deepest ones; those far above are let go and taken back, checked,
// on the way up); each directory's destination is made only at its turn
// (ReachDestination), not while the walk looks ahead. Every directory entered
// is opened relative to its parent without following links, and must be the
// one that was listed (same device and inode): a subdirectory that vanished,
// changed kind or was swapped since is skipped. The walk never leaves the
// tree, never goes above its root and never starts again; it skips the
// destination directory itself when that lies inside the source tree. Hidden
// subdirectories are not walked.
class TreeWalk {
public:
    // The walk of `sourceRoot` into `destinationRoot` (both may be reached
    // through links), or with `only` of that one subdirectory of the root,
    // into the same-named subdirectory of the destination. Fails when the
    // source root cannot be opened or listed.
    static Result<TreeWalk> Start(const std::string& sourceRoot, const std::string& destinationRoot,
                                  const std::string& only = "");

    // The next directory in post-order (each directory after all of its
    // subdirectories, these in the lists' order), or nothing at the end.
    // `goOn` is asked before every subdirectory position; false ends the
    // walk there.
    std::optional<WalkDirectory> Next(const std::function<bool()>& goOn = [] { return true; });

private:
    struct Subdirectory {
        std::string name;
        platform::EntryStatus status;
        // Why it could not even be looked at when it was listed.
        std::optional<Error> error;
    };
    struct Frame {
        WalkDirectory directory;
        std::vector<Subdirectory> subdirectories;
        std::size_t next = 0;
        platform::FileIdentity identity;
        // Its handles were let go while the walk was far below it.
        bool parked = false;
        bool emitted = true;
    };

    TreeWalk() = default;
    static Status ListInto(Frame& frame);
    std::optional<WalkDirectory> Enter(Frame& parent, const Subdirectory& child);
    bool OnWalk(const platform::FileIdentity& identity) const;
    void LetGoOfAncestors();
    void TakeBack(Frame& top, const WalkDirectory& below);

    std::shared_ptr<const platform::DirectoryHandle> root_;
    std::optional<platform::FileIdentity> destination_;
    std::shared_ptr<const platform::DirectoryHandle> destinationRoot_;
    std::vector<Frame> stack_;
};

}  // namespace twinfold::sync
