#include "fileops/DirectoryEraser.h"

#include <algorithm>
#include <cerrno>

#include "listing/NameOrder.h"
#include "listing/Paths.h"

namespace twinfold {
namespace {

using platform::DirectoryHandle;
using platform::EntryKind;
using platform::EntryStatus;

// Deep trees must not run out of descriptors: beyond this many levels the
// shallowest handles are let go and taken back through ".." on the way up.
constexpr std::size_t kHeldLevels = 64;
// A reason names at most this many of the entries that kept a directory.
constexpr std::size_t kNamedKept = 3;

bool IsReadOnly(const EntryStatus& status) { return (status.permissions & 0222) == 0; }

bool IsHidden(const std::string& name) { return name.front() == '.'; }

// Why the entry `name` is not to be removed, or nothing when it is a file
// the delete commands remove: a regular file that is not read-only, or a
// link to a file (the link itself goes).
const char* KeepReason(const DirectoryHandle& directory, const std::string& name,
                       const EntryStatus& status) {
    switch (status.kind) {
        case EntryKind::File:
            return IsReadOnly(status) ? "read-only" : nullptr;
        case EntryKind::Link: {
            auto target = directory.InfoOf(name, true);
            if (target && target.value().kind == EntryKind::File) return nullptr;
            return target && target.value().kind == EntryKind::Directory ? "link to a directory"
                                                                         : "dangling link";
        }
        case EntryKind::Directory:
            return IsHidden(name) ? "hidden directory" : "subdirectory";
        default:
            return "not a regular file";
    }
}

}  // namespace

struct DirectoryEraser::Level {
    std::string name;
    platform::FileIdentity identity;
    std::optional<DirectoryHandle> handle;
    // Entered from the back: the last in the lists' order first.
    std::vector<std::pair<std::string, EntryStatus>> subdirectories;
    std::vector<std::string> files;
    std::vector<Kept> kept;
};

DirectoryEraser::DirectoryEraser(Problem problem) : problem_(std::move(problem)) {}
DirectoryEraser::~DirectoryEraser() = default;

void DirectoryEraser::RemoveFiles(const DirectoryHandle& directory,
                                  const std::vector<std::string>& names) {
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        auto status = directory.InfoOf(*name);
        if (status && !KeepReason(directory, *name, status.value())) {
            (void)directory.RemoveFile(*name);
        }
    }
}

Status DirectoryEraser::RemoveTree(const DirectoryHandle& parent, const std::string& name,
                                   const std::string& path) {
    counting_ = false;
    return Walk(parent, name, path);
}

Result<DirectoryEraser::Tally> DirectoryEraser::Count(const DirectoryHandle& parent,
                                                      const std::string& name,
                                                      const std::string& path) {
    counting_ = true;
    tally_ = {};
    if (Status walked = Walk(parent, name, path); !walked) return walked.error();
    return tally_;
}

Status DirectoryEraser::Walk(const DirectoryHandle& parent, const std::string& name,
                             const std::string& path) {
    auto status = parent.InfoOf(name);
    if (!status) return Error{"Cannot delete " + path + ": " + status.error().message, 0};
    if (status.value().kind != EntryKind::Directory) {
        return Error{"Cannot delete " + path + ": it is no longer a directory.", 0};
    }
    base_ = &parent;
    path_ = path;
    if (auto entered = Enter(parent, name, status.value()); !entered) {
        return Error{"Cannot delete " + path + ": " + entered.error().message, 0};
    }
    while (!levels_.empty()) {
        if (!levels_.back().subdirectories.empty()) {
            EnterNextSubdirectory();
            continue;
        }
        RemoveOwnFiles(levels_.back());
        if (!Leave()) break;
    }
    levels_.clear();
    return Ok();
}

// Opens the subdirectory `name` of `parent`, which must still be what was
// listed, reads what it holds and puts it on top.
Status DirectoryEraser::Enter(const DirectoryHandle& parent, const std::string& name,
                              const EntryStatus& listed) {
    auto opened = parent.OpenChild(name);
    if (!opened) return opened.error();
    auto info = opened.value().Info();
    if (!info) return info.error();
    if (info.value().identity != listed.identity) return FromErrno(ESTALE);
    Level level{name, listed.identity, std::move(opened).value(), {}, {}, {}};
    auto entries = level.handle->List();
    if (!entries) return entries.error();
    for (const auto& entry : entries.value()) Classify(level, entry.name);
    std::sort(level.subdirectories.begin(), level.subdirectories.end(),
              [](const auto& a, const auto& b) { return ListedBefore(a.first, b.first); });
    levels_.push_back(std::move(level));
    LetGoOfAncestors();
    return Ok();
}

// Files to remove, subdirectories to enter, and what stays.
void DirectoryEraser::Classify(Level& level, const std::string& name) {
    auto status = level.handle->InfoOf(name);
    if (!status) {
        if (status.error().code != ENOENT) level.kept.push_back({name, "could not be examined"});
        return;
    }
    const char* keep = KeepReason(*level.handle, name, status.value());
    if (status.value().kind == EntryKind::Directory && !IsHidden(name)) {
        level.subdirectories.emplace_back(name, status.value());
    } else if (keep) {
        level.kept.push_back({name, keep});
    } else {
        level.files.push_back(name);
    }
}

void DirectoryEraser::EnterNextSubdirectory() {
    Level& top = levels_.back();
    auto [name, listed] = std::move(top.subdirectories.back());
    top.subdirectories.pop_back();
    Status entered = Enter(*top.handle, name, listed);
    if (entered) return;
    // `top` is still the top: nothing was pushed.
    const int code = entered.error().code;
    if (code == ENOENT) return;
    if (code == ENOTDIR || code == ELOOP || code == ESTALE) {
        // Replaced by a link or something else since it was listed: never
        // entered, and its parent stays.
        top.kept.push_back({name, "replaced while being deleted"});
        return;
    }
    top.kept.push_back({name, "could not be entered"});
    if (!counting_) problem_(JoinPath(PathOf(levels_.size()), name), entered.error().message);
}

void DirectoryEraser::RemoveOwnFiles(Level& level) {
    if (counting_) {
        tally_.files += level.files.size();
        return;
    }
    for (auto name = level.files.rbegin(); name != level.files.rend(); ++name) {
        if (!level.handle->RemoveFile(*name)) level.kept.push_back({*name, "could not be removed"});
    }
}

// Removes the top directory from its parent, going back up through the
// handles held; false when the way back is lost.
bool DirectoryEraser::Leave() {
    const std::string path = PathOf(levels_.size());
    Level done = std::move(levels_.back());
    levels_.pop_back();
    if (!levels_.empty() && !levels_.back().handle) {
        auto back = done.handle->OpenParent(levels_.back().identity);
        if (!back) {
            if (!counting_) {
                problem_(PathOf(levels_.size()),
                         "It was moved while its contents were being deleted.");
            }
            return false;
        }
        levels_.back().handle = std::move(back).value();
    }
    done.handle.reset();
    if (counting_) {
        ++tally_.directories;
        return true;
    }
    const DirectoryHandle& parent = levels_.empty() ? *base_ : *levels_.back().handle;
    Status removed = RemoveEntered(parent, done);
    if (!removed) {
        problem_(path, ReasonFor(removed.error(), done));
        if (!levels_.empty()) levels_.back().kept.push_back({done.name, "not empty"});
    }
    return true;
}

// Removes `level`'s directory when its name still leads to it.
Status DirectoryEraser::RemoveEntered(const DirectoryHandle& parent, const Level& level) {
    auto now = parent.InfoOf(level.name);
    if (!now) return now.error();
    if (now.value().kind != EntryKind::Directory || now.value().identity != level.identity) {
        return Error{"It was moved or replaced while its contents were being deleted.", 0};
    }
    return parent.RemoveDirectory(level.name);
}

std::string DirectoryEraser::ReasonFor(const Error& error, const Level& level) const {
    if ((error.code != ENOTEMPTY && error.code != EEXIST) || level.kept.empty()) {
        return error.message;
    }
    std::string reason = error.message + ": ";
    for (std::size_t i = 0; i < std::min(level.kept.size(), kNamedKept); ++i) {
        if (i > 0) reason += ", ";
        reason += level.kept[i].name + " (" + level.kept[i].why + ")";
    }
    if (level.kept.size() > kNamedKept) {
        reason += " and " + std::to_string(level.kept.size() - kNamedKept) + " more";
    }
    return reason + ".";
}

// Closes the shallowest handles beyond the limit; the chosen directory's own
// handle stays, so the walk can always finish there.
void DirectoryEraser::LetGoOfAncestors() {
    std::size_t held = 0;
    for (const auto& level : levels_) held += level.handle ? 1 : 0;
    for (std::size_t i = 1; held > kHeldLevels && i + 1 < levels_.size(); ++i) {
        if (levels_[i].handle) {
            levels_[i].handle.reset();
            --held;
        }
    }
}

// The path of the directory `depth` levels down (1: the chosen one).
std::string DirectoryEraser::PathOf(std::size_t depth) const {
    std::string path = path_;
    for (std::size_t i = 1; i < depth && i < levels_.size(); ++i)
        path = JoinPath(path, levels_[i].name);
    return path;
}

}  // namespace twinfold
