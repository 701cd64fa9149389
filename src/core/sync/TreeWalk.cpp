#include "sync/TreeWalk.h"

#include <algorithm>
#include <cerrno>

#include "listing/NameOrder.h"
#include "listing/Paths.h"
#include "platform/PendingFile.h"

namespace twinfold::sync {
namespace {

using platform::DirectoryHandle;
using platform::EntryKind;

// Deep trees must not run out of descriptors: beyond this many levels the
// shallowest directories' handles are let go, and taken back on the way up.
constexpr std::size_t kHeldLevels = 128;

// A subdirectory that is gone, or is a file now, is simply not there any
// more. Every other error (no permission, a link standing there, the
// volume failing) is a failure of that directory.
bool Vanished(int code) { return code == ENOENT || code == ENOTDIR; }

// In words a person reads: the kernel's for a link is about loops.
Error WhyNotEntered(const Error& error) {
    if (error.code != ELOOP) return error;
    return Error{"a link stands in its place now, and links are not followed", ELOOP};
}

std::string Below(const std::string& relative, const std::string& name) {
    return relative.empty() ? name : relative + platform::kSeparator + name;
}

// A new destination directory is as private as its source, and its owner
// may always fill it.
std::uint32_t DirectoryPermissions(const platform::EntryStatus& source) {
    return (source.permissions & 0777) | 0700;
}

// The directory `relative` below `root`, each level opened without
// following a link.
std::optional<DirectoryHandle> OpenBelow(const DirectoryHandle& root, const std::string& relative) {
    std::optional<DirectoryHandle> reached;
    for (std::size_t begin = 0; begin < relative.size();) {
        std::size_t end = std::min(relative.find(platform::kSeparator, begin), relative.size());
        auto opened = (reached ? *reached : root).OpenChild(relative.substr(begin, end - begin));
        if (!opened) return std::nullopt;
        reached = std::move(opened).value();
        begin = end + 1;
    }
    return reached;
}

}  // namespace

Place WalkDirectory::place() const {
    Place place;
    if (source.isOpen()) {
        place.source = &source;
        place.root = root.get();
    }
    place.sourcePath = sourcePath;
    place.destination = destination ? &*destination : nullptr;
    place.destinationPlanned = destinationPlanned;
    place.destinationPath = destinationPath;
    place.relative = relative;
    return place;
}

WalkDirectory OpenDirectoryPair(const std::string& source, const std::string& destination) {
    WalkDirectory pair;
    pair.sourcePath = source;
    pair.destinationPath = destination;
    if (auto opened = DirectoryHandle::Open(source)) {
        pair.source = std::move(opened).value();
        if (auto root = DirectoryHandle::Open(source)) {
            pair.root = std::make_shared<const DirectoryHandle>(std::move(root).value());
        }
    }
    if (auto opened = DirectoryHandle::Open(destination)) {
        pair.destination = std::move(opened).value();
    } else {
        pair.state = WalkDirectory::State::DestinationRefused;
        pair.error = opened.error();
    }
    return pair;
}

void ReachDestination(WalkDirectory& directory, bool dryRun, std::vector<std::string>& made) {
    using State = WalkDirectory::State;
    if (directory.relative.empty() || directory.destination || directory.state != State::Ready) {
        return;
    }
    if (!directory.destinationRoot) {
        directory.state = State::DestinationMissing;
        return;
    }
    const DirectoryHandle* above = directory.destinationRoot.get();
    std::optional<DirectoryHandle> reached;
    std::string path;
    std::size_t level = 0;
    for (std::size_t begin = 0; begin <= directory.relative.size(); ++level) {
        std::size_t end = directory.relative.find(platform::kSeparator, begin);
        if (end == std::string::npos) end = directory.relative.size();
        const std::string name = directory.relative.substr(begin, end - begin);
        const bool last = end == directory.relative.size();
        begin = end + 1;
        path = Below(path, name);
        auto opened = above->OpenChild(name);
        if (!opened && opened.error().code == ENOENT && !dryRun) {
            opened = above->MakeChild(name, directory.permissions.at(level));
            if (opened) made.push_back(path);
        }
        if (!opened && dryRun && opened.error().code == ENOENT) {
            directory.destinationPlanned = true;
            return;
        }
        if (!opened) {
            // A refusal above this directory was reported at its own turn.
            directory.state = last ? State::DestinationRefused : State::DestinationMissing;
            directory.error = opened.error();
            return;
        }
        reached = std::move(opened).value();
        above = &*reached;
    }
    directory.destination = std::move(reached);
}

void RemoveIfEmpty(const WalkDirectory& directory, const std::vector<std::string>& made) {
    if (!directory.destinationRoot) return;
    for (auto at = made.rbegin(); at != made.rend(); ++at) {
        // One that holds anything now stays.
        const std::size_t cut = at->rfind(platform::kSeparator);
        if (cut == std::string::npos) {
            (void)directory.destinationRoot->RemoveDirectory(*at);
            continue;
        }
        // Gone or swapped since: nothing of ours to remove there.
        if (auto parent = OpenBelow(*directory.destinationRoot, at->substr(0, cut))) {
            (void)parent->RemoveDirectory(at->substr(cut + 1));
        }
    }
}

Result<TreeWalk> TreeWalk::Start(const std::string& sourceRoot, const std::string& destinationRoot,
                                 const std::string& only) {
    auto source = DirectoryHandle::Open(sourceRoot);
    if (!source) return CannotOpenDirectory(sourceRoot, source.error());
    auto identity = source.value().Info();
    if (!identity) return CannotOpenDirectory(sourceRoot, identity.error());
    TreeWalk walk;
    auto root = DirectoryHandle::Open(sourceRoot);
    if (!root) return CannotOpenDirectory(sourceRoot, root.error());
    walk.root_ = std::make_shared<const DirectoryHandle>(std::move(root).value());

    Frame frame;
    frame.identity = identity.value().identity;
    frame.directory.sourcePath = sourceRoot;
    frame.directory.destinationPath = destinationRoot;
    frame.directory.root = walk.root_;
    frame.directory.source = std::move(source).value();
    if (auto destination = DirectoryHandle::Open(destinationRoot)) {
        if (auto info = destination.value().Info()) walk.destination_ = info.value().identity;
        if (auto again = DirectoryHandle::Open(destinationRoot)) {
            walk.destinationRoot_ =
                std::make_shared<const DirectoryHandle>(std::move(again).value());
        }
        frame.directory.destination = std::move(destination).value();
    } else {
        frame.directory.state = WalkDirectory::State::DestinationRefused;
        frame.directory.error = destination.error();
    }
    if (Status listed = ListInto(frame); !listed)
        return CannotOpenDirectory(sourceRoot, listed.error());
    if (!only.empty()) {
        // Only the chosen subdirectory's tree; the root's own files stay.
        std::erase_if(frame.subdirectories, [&](const Subdirectory& s) { return s.name != only; });
        frame.emitted = false;
    }
    walk.stack_.push_back(std::move(frame));
    return walk;
}

std::optional<WalkDirectory> TreeWalk::Next(const std::function<bool()>& goOn) {
    while (!stack_.empty()) {
        Frame& top = stack_.back();
        if (top.next < top.subdirectories.size()) {
            if (!goOn()) {
                stack_.clear();
                return std::nullopt;
            }
            const Subdirectory child = top.subdirectories[top.next++];
            if (auto unreadable = Enter(top, child)) return unreadable;
            continue;
        }
        Frame done = std::move(top);
        stack_.pop_back();
        if (!stack_.empty() && stack_.back().parked) TakeBack(stack_.back(), done.directory);
        if (done.emitted) return std::move(done.directory);
    }
    return std::nullopt;
}

// Opens `child` and puts it on the walk; a directory that cannot be opened
// or listed comes back at once, to be reported in its place.
std::optional<WalkDirectory> TreeWalk::Enter(Frame& parent, const Subdirectory& child) {
    if (destination_ == child.status.identity || OnWalk(child.status.identity)) return std::nullopt;
    const WalkDirectory& above = parent.directory;
    Frame frame;
    WalkDirectory& entered = frame.directory;
    entered.sourcePath = JoinPath(above.sourcePath, child.name);
    entered.destinationPath = JoinPath(above.destinationPath, child.name);
    entered.relative = Below(above.relative, child.name);
    entered.root = root_;

    auto opened =
        child.error ? Result<DirectoryHandle>(*child.error) : above.source.OpenChild(child.name);
    auto info = opened ? opened.value().Info() : Result<platform::EntryStatus>(opened.error());
    if (!info && Vanished(info.error().code)) return std::nullopt;
    if (info && info.value().identity != child.status.identity) return std::nullopt;
    Status listed = info ? Status(Ok()) : Status(WhyNotEntered(info.error()));
    if (listed) {
        entered.source = std::move(opened).value();
        listed = ListInto(frame);
    }
    if (!listed) {
        entered.state = WalkDirectory::State::SourceUnreadable;
        entered.error = listed.error();
        return std::move(entered);
    }
    frame.identity = child.status.identity;
    entered.destinationRoot = destinationRoot_;
    entered.permissions = above.permissions;
    entered.permissions.push_back(DirectoryPermissions(child.status));
    stack_.push_back(std::move(frame));
    LetGoOfAncestors();
    return std::nullopt;
}

// Lists the frame's directory: its files, and its subdirectories with what
// they were when listed, so that entering one can tell a swap.
Status TreeWalk::ListInto(Frame& frame) {
    WalkDirectory& directory = frame.directory;
    auto listed = directory.source.List();
    if (!listed) return listed.error();
    for (auto& entry : listed.value()) {
        if (platform::IsTemporaryName(entry.name)) continue;  // another run's, half written
        EntryKind kind = entry.kind;
        const bool hidden = entry.name.front() == '.';
        if (kind == EntryKind::Directory && hidden) {
            ++directory.hiddenLeftOut;
            continue;
        }
        if (kind == EntryKind::None || kind == EntryKind::Directory) {
            auto status = directory.source.InfoOf(entry.name);
            if (!status && Vanished(status.error().code)) continue;
            if (!status && kind == EntryKind::Directory) {
                // Listed but not to be looked at: it fails in its place.
                frame.subdirectories.push_back({entry.name, {}, status.error()});
                continue;
            }
            // An entry of unknown kind goes on as a file: deciding it reports
            // the error.
            if (!status) {
                directory.files.push_back(std::move(entry.name));
                continue;
            }
            kind = status.value().kind;
            if (kind == EntryKind::Directory) {
                if (hidden) {
                    ++directory.hiddenLeftOut;
                } else {
                    frame.subdirectories.push_back({entry.name, status.value(), std::nullopt});
                }
                continue;
            }
        }
        if (kind == EntryKind::Link) {
            // Listed as the file it leads to; reading it stays inside the tree.
            auto target = directory.source.InfoOf(entry.name, true);
            if (target && target.value().kind == EntryKind::File) kind = EntryKind::File;
        }
        if (kind == EntryKind::File) directory.files.push_back(std::move(entry.name));
    }
    std::sort(
        frame.subdirectories.begin(), frame.subdirectories.end(),
        [](const Subdirectory& a, const Subdirectory& b) { return ListedBefore(a.name, b.name); });
    for (const auto& subdirectory : frame.subdirectories) {
        directory.subdirectories.push_back(subdirectory.name);
    }
    return Ok();
}

// Closes the handles of the directory that fell out of the window of held
// levels; the root stays open.
void TreeWalk::LetGoOfAncestors() {
    if (stack_.size() <= kHeldLevels + 1) return;
    Frame& far = stack_[stack_.size() - 1 - kHeldLevels];
    if (far.parked || !far.emitted) return;
    far.parked = true;
    far.directory.source = DirectoryHandle{};
}

// Reopens the handle of `top`, let go on the way down, from the directory
// the walk just finished below it; it must still be the directory it was.
// One that cannot be taken back fails in its place: its files and the
// subdirectories not yet walked with it. (Destinations are reached at each
// directory's turn, so the walk holds none to take back.)
void TreeWalk::TakeBack(Frame& top, const WalkDirectory& below) {
    top.parked = false;
    WalkDirectory& directory = top.directory;
    auto source = below.source.isOpen() ? below.source.OpenParent(top.identity)
                                        : Result<DirectoryHandle>(FromErrno(EBADF));
    if (!source) {
        directory.state = WalkDirectory::State::SourceUnreadable;
        directory.error = Error{"it was moved while the walk was below it", ESTALE};
        top.next = top.subdirectories.size();
        return;
    }
    directory.source = std::move(source).value();
}

bool TreeWalk::OnWalk(const platform::FileIdentity& identity) const {
    return std::any_of(stack_.begin(), stack_.end(),
                       [&](const Frame& frame) { return frame.identity == identity; });
}

}  // namespace twinfold::sync
