#include "sync/FileStep.h"

#include <algorithm>
#include <cerrno>

#include "listing/NameOrder.h"
#include "platform/CopyData.h"
#include "platform/PendingFile.h"
#include "sync/CopyRule.h"

namespace twinfold::sync {
namespace {

using platform::EntryKind;
using platform::EntryStatus;

constexpr const char* kNotCopied = ".  File not copied!";

using Problem = FileOutcome::Problem;

FileOutcome Failed(Problem problem, const Error& why = {}) {
    return {FileOutcome::Kind::Failed, problem, why.message};
}

std::string BelowRoot(const Place& place, const std::string& name) {
    return place.relative.empty() ? name : place.relative + platform::kSeparator + name;
}

// `path` with "." and empty parts dropped and each ".." taking away the part
// before it, judged by the text alone.
std::vector<std::string> LexicalParts(const std::string& path) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at <= path.size();) {
        std::size_t end = std::min(path.find(platform::kSeparator, at), path.size());
        std::string part = path.substr(at, end - at);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        at = end + 1;
    }
    return parts;
}

// The absolute `target` as a path below `root`, or nothing when it lies
// elsewhere (or is the root itself).
std::optional<std::string> InsideRoot(const std::string& root, const std::string& target) {
    const auto base = LexicalParts(root);
    const auto parts = LexicalParts(target);
    if (parts.size() <= base.size() || !std::equal(base.begin(), base.end(), parts.begin())) {
        return std::nullopt;
    }
    std::string below;
    for (auto part = parts.begin() + static_cast<std::ptrdiff_t>(base.size()); part != parts.end();
         ++part) {
        if (!below.empty()) below += platform::kSeparator;
        below += *part;
    }
    return below;
}

// A link's file, opened beneath the tree's root so that nothing outside it
// is ever read. A relative link is resolved by the kernel; an absolute one
// counts when it names a place inside the root's real path, and the rest of
// it is then opened beneath the root's handle, so a swap meanwhile cannot
// lead out.
Result<platform::File> OpenLink(const Place& place, const std::string& name) {
    // The kernel's word for this is about devices.
    const Error leadsOut{"The link leads out of the source directory.", EXDEV};
    std::string below = BelowRoot(place, name);
    auto target = place.source->LinkTarget(name);
    if (target && target.value().starts_with(platform::kSeparator)) {
        auto root = place.root->RealPath();
        auto inside = root ? InsideRoot(root.value(), target.value()) : std::nullopt;
        if (!inside) return leadsOut;
        below = *inside;
    }
    auto opened = place.root->OpenFileBeneath(below);
    if (!opened && opened.error().code == EXDEV) return leadsOut;
    return opened;
}

// What stands at the target may be replaced only when it is a regular file
// that someone may write and this process may write: never a link (it is
// not written through), a directory or a special file.
bool TargetReplaceable(const EntryStatus& target) {
    return target.kind == EntryKind::File && (target.permissions & 0222) != 0 &&
           platform::MayWrite(target);
}

// There is a directory to write into and what stands at the target may be
// replaced. A preview counts a directory its run would make.
bool TargetWritable(const Place& place, const FileDecision& decision) {
    if (place.destination == nullptr && !place.destinationPlanned) return false;
    return !decision.target || TargetReplaceable(*decision.target);
}

// Why what stands at the target, or its missing directory, may not be
// written, in the words the system uses for the same refusal.
Error Unwritable(const Place& place, const FileDecision& decision) {
    if (place.destination == nullptr && !place.destinationPlanned) return FromErrno(ENOENT);
    if (!decision.target) return FromErrno(EACCES);
    switch (decision.target->kind) {
        case EntryKind::Directory:
            return FromErrno(EISDIR);
        case EntryKind::Link:
            return FromErrno(ELOOP);
        case EntryKind::File:
            return FromErrno(EACCES);
        default:
            return Error{"Not a regular file", EINVAL};
    }
}

// The source as the decision saw it; a link is opened inside the tree, and
// its file stands for it.
void LookAtSource(const Place& place, const std::string& name, FileDecision& decision) {
    if (place.source == nullptr) {
        decision.sourceRefused = true;  // its directory could not be opened
        return;
    }
    auto status = place.source->InfoOf(name);
    if (!status) {
        // Gone since the listing; any other error keeps it from being read.
        const int code = status.error().code;
        decision.sourceRefused = code != ENOENT && code != ENOTDIR;
        decision.refusal = status.error();
        return;
    }
    if (status.value().kind != EntryKind::Link) {
        decision.source = status.value();
        return;
    }
    auto opened = OpenLink(place, name);
    auto info = opened ? opened.value().Info() : Result<EntryStatus>(opened.error());
    if (!info) {
        decision.sourceRefused = info.error().code != ENOENT;
        decision.refusal = info.error();
        return;
    }
    decision.source = info.value();
    decision.opened = std::move(opened).value();
}

Result<platform::File> OpenSource(const Place& place, const std::string& name,
                                  FileDecision& decision) {
    if (decision.opened) return std::move(*decision.opened);
    if (decision.sourceRefused && !decision.refusal.message.empty()) return decision.refusal;
    if (decision.sourceRefused || !decision.source || decision.source->kind != EntryKind::File) {
        return Error{"not a readable file", EINVAL};
    }
    // Only the file the decision looked at: anything put in its place since
    // is refused unread.
    return place.source->OpenFile(name, decision.source->identity);
}

// Moves the data with the person's reader, when a test gave one.
platform::DataCopy PumpWith(const ChunkReader& read, platform::File& from, platform::File& to,
                            std::span<char> buffer, const std::function<bool()>& goOn) {
    platform::DataCopy copy;
    for (;;) {
        auto got = read(from, buffer);
        if (!got) return {platform::DataCopy::End::ReadFailed, copy.bytes, got.error()};
        if (got.value() == 0) return copy;
        if (Status written = to.Write(buffer.first(got.value())); !written) {
            return {platform::DataCopy::End::WriteFailed, copy.bytes, written.error()};
        }
        copy.bytes += got.value();
        if (!goOn()) return {platform::DataCopy::End::Stopped, copy.bytes, {}};
    }
}

// New copies take the source's permission bits less the umask, and always
// the owner's write bit, so that a later, newer source can replace them.
std::uint32_t NewFilePermissions(const EntryStatus& source) {
    return (source.permissions & 0777) | 0200;
}

// A replaced file keeps its own permissions, owner and group; a new one has
// the source's bits less the umask, which may not take the owner's write bit.
Status GivePermissions(platform::PendingFile& pending, const FileDecision& decision,
                       std::uint32_t creationMask) {
    if (decision.target) return pending.Adopt(*decision.target);
    if ((creationMask & 0200) == 0) return Ok();
    return pending.file().SetPermissions((NewFilePermissions(*decision.source) & ~creationMask) |
                                         0200);
}

}  // namespace

std::string FailureText(Problem problem, const std::string& source, const std::string& target) {
    switch (problem) {
        case Problem::OpenSource:
            return "Could not open file: " + source + kNotCopied;
        case Problem::ReadSource:
            return "Error reading source file: " + source + kNotCopied;
        case Problem::WriteTarget:
            return "Error writing destination file: " + target + kNotCopied +
                   " Possibly out of disk space.";
        case Problem::CreateTarget:
        case Problem::None:
            break;
    }
    return "Could not create destination file: " + target + kNotCopied;
}

Result<DestinationIndex> DestinationIndex::Read(const platform::DirectoryHandle& directory) {
    auto listed = directory.List();
    if (!listed) return listed.error();
    DestinationIndex index;
    index.names_.reserve(listed.value().size());
    for (auto& entry : listed.value()) {
        if (platform::IsTemporaryName(entry.name)) {
            index.temporaries_.push_back(std::move(entry.name));
            continue;
        }
        if (entry.kind == EntryKind::Directory && entry.name.front() != '.') {
            index.subdirectories_.push_back(entry.name);
        }
        index.names_.insert(std::move(entry.name));
    }
    std::sort(index.subdirectories_.begin(), index.subdirectories_.end(),
              [](const std::string& a, const std::string& b) { return ListedBefore(a, b); });
    return index;
}

void DestinationIndex::RemoveLeftovers(const platform::DirectoryHandle& directory) const {
    for (const auto& name : temporaries_) (void)platform::RemoveLeftover(directory, name);
}

FileDecision DecideFile(const Place& place, const std::string& name,
                        const DestinationIndex* index) {
    FileDecision decision;
    LookAtSource(place, name, decision);
    if (place.destination != nullptr && (index == nullptr || index->Has(name))) {
        if (auto target = place.destination->InfoOf(name)) decision.target = target.value();
    }
    decision.copy =
        decision.sourceRefused || ShouldCopy(decision.source ? &*decision.source : nullptr,
                                             decision.target ? &*decision.target : nullptr);
    return decision;
}

FileOutcome PreviewCopy(const Place& place, const std::string& name, FileDecision& decision) {
    if (auto opened = OpenSource(place, name, decision); !opened) {
        return Failed(Problem::OpenSource, opened.error());
    }
    if (!TargetWritable(place, decision)) {
        return Failed(Problem::CreateTarget, Unwritable(place, decision));
    }
    return {FileOutcome::Kind::Copied};
}

FileOutcome CopyFile(const Place& place, const std::string& name, FileDecision& decision,
                     const CopySettings& settings, std::span<char> buffer,
                     const std::function<bool()>& goOn) {
    auto from = OpenSource(place, name, decision);
    if (!from) return Failed(Problem::OpenSource, from.error());
    if (!TargetWritable(place, decision) || place.destination == nullptr) {
        return Failed(Problem::CreateTarget, Unwritable(place, decision));
    }
    const EntryStatus& original = *decision.source;
    auto pending = platform::PendingFile::Create(*place.destination, NewFilePermissions(original));
    if (!pending) return Failed(Problem::CreateTarget, pending.error());
    platform::File& to = pending.value().file();

    platform::DataCopy copy =
        settings.reader ? PumpWith(settings.reader, from.value(), to, buffer, goOn)
                        : platform::CopyFileData(from.value(), to, original.size,
                                                 original.allocated < original.size, buffer,
                                                 [&goOn](std::uint64_t) { return goOn(); });
    switch (copy.end) {
        case platform::DataCopy::End::Stopped:
            return {FileOutcome::Kind::Stopped};
        case platform::DataCopy::End::ReadFailed:
            return Failed(Problem::ReadSource, copy.error);
        case platform::DataCopy::End::WriteFailed:
            return Failed(Problem::WriteTarget, copy.error);
        case platform::DataCopy::End::Complete:
            break;
    }
    // A source that shrank while it was read is not whole: no copy of it may
    // look up to date.
    if (!settings.reader && original.size != 0 && copy.bytes < original.size) {
        return Failed(Problem::ReadSource, Error{"The file grew shorter while it was copied", EIO});
    }
    // The exact time: the 2-second rule is for comparing, and tools that
    // read exact times must see an up-to-date copy as unchanged.
    if (Status stamped = to.SetModified(original.modified, original.modifiedNanoseconds);
        !stamped) {
        return Failed(Problem::WriteTarget, stamped.error());
    }
    if (Status given = GivePermissions(pending.value(), decision, settings.creationMask); !given) {
        return Failed(Problem::WriteTarget, given.error());
    }
    using Placement = platform::PendingFile::Placement;
    Status placed =
        pending.value().Commit(name, decision.target ? Placement::Replace : Placement::New);
    if (!placed) {
        const int code = placed.error().code;
        return Failed(code == ENOSPC || code == EDQUOT || code == EIO ? Problem::WriteTarget
                                                                      : Problem::CreateTarget,
                      placed.error());
    }
    return {FileOutcome::Kind::Copied};
}

}  // namespace twinfold::sync
