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

Result<TreeWalk> TreeWalk::Start(const std::string& sourceRoot, const std::string& destinationRoot,
                                 const std::string& only, bool dryRun) {
    auto source = DirectoryHandle::Open(sourceRoot);
    if (!source) return CannotOpenDirectory(sourceRoot, source.error());
    auto identity = source.value().Info();
    if (!identity) return CannotOpenDirectory(sourceRoot, identity.error());
    TreeWalk walk;
    walk.dryRun_ = dryRun;
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
        frame.destinationIdentity = walk.destination_;
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
    EnterDestination(above, child, entered);
    if (entered.destination) {
        if (auto info = entered.destination->Info())
            frame.destinationIdentity = info.value().identity;
    }
    stack_.push_back(std::move(frame));
    LetGoOfAncestors();
    return std::nullopt;
}

// The destination directory beside an entered source directory: made where
// missing, or in a preview planned; a link or a file in its place is refused.
void TreeWalk::EnterDestination(const WalkDirectory& above, const Subdirectory& child,
                                WalkDirectory& entered) const {
    if (!above.destination) {
        if (above.destinationPlanned) {
            entered.destinationPlanned = true;
        } else {
            entered.state = WalkDirectory::State::DestinationMissing;
        }
        return;
    }
    auto opened =
        dryRun_ ? above.destination->OpenChild(child.name)
                : above.destination->MakeChild(child.name, DirectoryPermissions(child.status));
    if (opened) {
        entered.destination = std::move(opened).value();
    } else if (dryRun_ && opened.error().code == ENOENT) {
        entered.destinationPlanned = true;
    } else {
        entered.state = WalkDirectory::State::DestinationRefused;
        entered.error = opened.error();
    }
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
    far.directory.destination.reset();
}

// Reopens the handles of `top`, let go on the way down, from the directory
// the walk just finished below it; each must still be the directory it was.
// One that cannot be taken back ends the walk below it: its files and the
// subdirectories not yet walked fail in its place.
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
    if (!top.destinationIdentity) return;
    auto destination = below.destination ? below.destination->OpenParent(*top.destinationIdentity)
                                         : DescendToDestination(stack_.size() - 1);
    if (destination) {
        directory.destination = std::move(destination).value();
    } else {
        directory.state = WalkDirectory::State::DestinationRefused;
        directory.error = Error{"it was moved while the walk was below it", ESTALE};
    }
}

// The destination directory of the frame at `index`, opened name by name
// from the nearest directory above it that is still held.
Result<DirectoryHandle> TreeWalk::DescendToDestination(std::size_t index) const {
    std::size_t held = index - 1;
    while (held > 0 && stack_[held].parked) --held;
    if (!stack_[held].directory.destination) return FromErrno(ENOENT);
    auto handle = stack_[held].directory.destination->OpenChild(".");
    for (std::size_t i = held + 1; handle && i <= index; ++i) {
        const Frame& frame = stack_[i];
        if (!frame.destinationIdentity) return FromErrno(ENOENT);
        handle = handle.value().OpenChild(ExtractFileName(frame.directory.destinationPath));
        if (!handle) return handle;
        auto info = handle.value().Info();
        if (!info) return info.error();
        if (info.value().identity != *frame.destinationIdentity) return FromErrno(ESTALE);
    }
    return handle;
}

bool TreeWalk::OnWalk(const platform::FileIdentity& identity) const {
    return std::any_of(stack_.begin(), stack_.end(),
                       [&](const Frame& frame) { return frame.identity == identity; });
}

}  // namespace twinfold::sync
