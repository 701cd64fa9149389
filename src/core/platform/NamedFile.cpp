// Reading and replacing the files a person names: settings, batch and log
// files. Nothing here may block on a FIFO or write through a directory.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/DirectoryHandle.h"
#include "platform/PendingFile.h"
#include "platform/Posix.h"

namespace twinfold::platform {
namespace {

constexpr int kMaxLinkHops = 40;

std::string DirectoryPart(const std::string& path) {
    auto slash = path.find_last_of(kSeparator);
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string(kRoot) : path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
    auto slash = path.find_last_of(kSeparator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a named file is replaced: its directory, held open so that every
// step after the first names it the same, and its name there. `shown` is
// the path as the person would write it, for messages.
struct Place {
    DirectoryHandle dir;
    std::string name;
    std::string shown;
};

Result<Place> PlaceOf(const std::string& path) {
    auto dir = DirectoryHandle::Open(DirectoryPart(path));
    if (!dir) return dir.error();
    return Place{std::move(dir).value(), NamePart(path), path};
}

Error UntrustedLink(const std::string& shown) {
    return Error{"the link " + shown +
                     " stands in a directory anyone may write to and belongs neither to you"
                     " nor to the directory's owner, so it is not followed",
                 ELOOP};
}

// Moves `place` on to where the link standing there leads, when the person
// may follow it.
Status FollowOneLink(Place& place, const EntryStatus& link) {
    auto holder = place.dir.Info();
    if (!holder) return holder.error();
    if (!MayFollowLink(static_cast<std::uint32_t>(geteuid()), link.owner,
                       holder.value().permissions, holder.value().owner)) {
        return UntrustedLink(place.shown);
    }
    auto text = place.dir.ReadLink(place.name);
    if (!text) return text.error();
    if (text.value().empty()) return FromErrno(ENOENT);
    auto next = place.dir.OpenPath(DirectoryPart(text.value()));
    if (!next) return next.error();
    std::string shown = text.value().front() == kSeparator
                            ? text.value()
                            : DirectoryPart(place.shown) + kSeparator + text.value();
    place = Place{std::move(next).value(), NamePart(text.value()), std::move(shown)};
    return Ok();
}

// Follows links at the name, so the file they lead to is the one replaced
// and the links themselves stay.
Status FollowLinks(Place& place) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        auto entry = place.dir.InfoOf(place.name);
        // What is not there is made; other errors show when it is looked at.
        if (!entry || entry.value().kind != EntryKind::Link) return Ok();
        if (Status followed = FollowOneLink(place, entry.value()); !followed) return followed;
    }
    return FromErrno(ELOOP);
}

// Only a regular file that someone may write can be replaced.
Status CheckReplaceable(const EntryStatus& existing) {
    if (existing.kind == EntryKind::Directory) return FromErrno(EISDIR);
    if (existing.kind != EntryKind::File) return FromErrno(EINVAL);
    if ((existing.permissions & 0222) == 0) return FromErrno(EACCES);
    return Ok();
}

// Writes `content` aside in `dir` and puts it at `name`, in the place of
// what stands there when `replacing`; a `replaced` file hands on its owner
// and bits.
Status PutInPlace(const DirectoryHandle& dir, const std::string& name, std::string_view content,
                  const EntryStatus* replaced, bool replacing) {
    auto pending = PendingFile::Create(dir, 0666);
    if (!pending) return pending.error();
    File& file = pending.value().file();
    if (Status written = file.Write(content); !written) return written;
    // Flushed before it takes the old file's place, so a power cut leaves
    // one or the other whole, never an empty file.
    if (Status flushed = file.Flush(); !flushed) return flushed;
    if (replaced) {
        if (Status adopted = pending.value().Adopt(*replaced); !adopted) return adopted;
    }
    return pending.value().Commit(
        name, replacing ? PendingFile::Placement::Replace : PendingFile::Placement::New);
}

}  // namespace

Result<std::string> ReadNamedFile(const std::string& path, std::size_t limit) {
    auto file = File::OpenForReading(path);
    if (!file) return file.error();
    auto info = file.value().Info();
    if (!info) return info.error();
    if (info.value().size > limit) return FromErrno(EFBIG);
    std::string text;
    std::array<char, 8192> buffer;
    for (;;) {
        auto count = file.value().Read(buffer);
        if (!count) return count.error();
        if (count.value() == 0) return text;
        // A file that grows while it is read is still held to the limit.
        if (text.size() + count.value() > limit) return FromErrno(EFBIG);
        text.append(buffer.data(), count.value());
    }
}

Status ReplaceNamedFile(const std::string& path, std::string_view content, LinkAtName links) {
    auto place = PlaceOf(path);
    if (!place) return place.error();
    if (links == LinkAtName::FollowWhereSafe) {
        if (Status followed = FollowLinks(place.value()); !followed) return followed;
    }
    const DirectoryHandle& dir = place.value().dir;
    const std::string& name = place.value().name;
    auto existing = dir.InfoOf(name);
    if (!existing && existing.error().code != ENOENT) return existing.error();
    // A link (left by the rule above) gives way; nothing of it is kept.
    const bool link = existing && existing.value().kind == EntryKind::Link;
    const EntryStatus* replaced = existing && !link ? &existing.value() : nullptr;
    if (replaced) {
        if (Status usable = CheckReplaceable(*replaced); !usable) return usable;
    }
    if (Status placed = PutInPlace(dir, name, content, replaced, existing.ok()); !placed) {
        return placed;
    }
    return dir.Flush();
}

bool MayFollowLink(std::uint32_t person, std::uint32_t linkOwner, std::uint32_t dirPermissions,
                   std::uint32_t dirOwner) {
    constexpr std::uint32_t kShared = S_ISVTX | S_IWOTH;
    return (dirPermissions & kShared) != kShared || linkOwner == person || linkOwner == dirOwner;
}

}  // namespace twinfold::platform
