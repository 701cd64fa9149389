#include "sync/FmxUtils.h"

#include <cerrno>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "listing/Paths.h"
#include "platform/DirectoryHandle.h"
#include "platform/FileSystem.h"
#include "platform/PendingFile.h"
#include "sync/CopyRule.h"
#include "sync/FileStep.h"
#include "sync/FmxUtilsDetail.h"

namespace twinfold {
namespace {

using platform::kSeparator;

// Collapses ".", ".." and doubled separators the way a full-path expansion
// does, without asking the file system; ".." at the root stays at the root.
std::string CollapsePath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(kSeparator, start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::string collapsed;
    for (const auto& part : parts) collapsed += kSeparator + part;
    return collapsed.empty() ? std::string(platform::kRoot) : collapsed;
}

// `path` as a full path: a relative one is taken against the current
// directory. Left as it is when the current directory cannot be found.
std::string FullPath(const std::string& path) {
    if (!path.empty() && path.front() == kSeparator) return CollapsePath(path);
    auto current = platform::CurrentDirectory();
    if (!current) return path;
    return CollapsePath(current.value() + kSeparator + path);
}

// The directory part of a source as passed ("." for a bare name) and its
// name; the messages keep the source exactly as it was passed.
std::pair<std::string, std::string> SplitSource(const std::string& path) {
    auto slash = path.find_last_of(kSeparator);
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? std::string(platform::kRoot) : path.substr(0, slash),
            path.substr(slash + 1)};
}

// The entry at `path` as the copy decision sees it, links followed.
std::optional<platform::EntryStatus> StatusAt(const std::string& path) {
    auto info = platform::QueryEntry(path);
    if (!info) return std::nullopt;
    platform::EntryStatus status;
    status.kind = (info->attributes & platform::kDirectory) != 0 ? platform::EntryKind::Directory
                                                                 : platform::EntryKind::File;
    status.size = info->size;
    status.modified = info->modified;
    return status;
}

}  // namespace

namespace detail {

Status BufferedCopyFileWith(const std::string& fileName, const std::string& destination,
                            std::int32_t copyBufferSize, const ChunkReader& read) {
    const auto [sourceDir, name] = SplitSource(fileName);
    const std::string targetDir = FullPath(destination);
    const std::string target = JoinPath(targetDir, name);
    const auto size = static_cast<std::size_t>(UsableCopyBufferSize(copyBufferSize));
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer)
        return Error{"Not enough memory to copy " + fileName + ".  File not copied!", ENOMEM};
    auto source = platform::DirectoryHandle::Open(sourceDir);
    auto dest = platform::DirectoryHandle::Open(targetDir);
    sync::Place place;
    place.source = place.root = source ? &source.value() : nullptr;
    place.sourcePath = sourceDir;
    place.destination = dest ? &dest.value() : nullptr;
    place.destinationPath = targetDir;
    sync::FileDecision decision = sync::DecideFile(place, name, nullptr);
    sync::CopySettings settings;
    settings.bufferSize = size;
    settings.creationMask = platform::CreationMask();
    settings.reader = read;
    auto outcome = sync::CopyFile(place, name, decision, settings,
                                  std::span<char>(buffer.get(), size), [] { return true; });
    if (outcome.kind == sync::FileOutcome::Kind::Copied) return Ok();
    return Error{sync::FailureText(outcome.problem, fileName, target), 0};
}

}  // namespace detail

Status BufferedCopyFile(const std::string& fileName, const std::string& destination,
                        std::int32_t copyBufferSize) {
    return detail::BufferedCopyFileWith(fileName, destination, copyBufferSize, {});
}

std::int32_t QueryFileSize(const std::string& fileName) {
    auto info = platform::QueryEntry(FullPath(fileName));
    if (!info) return -1;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(info->size & 0xFFFFFFFFu));
}

std::uint32_t FileAttributes(const std::string& path) {
    auto info = platform::QueryEntry(path);
    return info ? info->attributes : platform::kNoEntryAttributes;
}

bool HasAttributes(const std::string& path, std::uint32_t bits) {
    return (FileAttributes(path) & bits) == bits;
}

std::int64_t SourceStamp(const std::string& path) {
    auto status = StatusAt(path);
    return sync::SourceStampOf(status ? &*status : nullptr);
}

std::int64_t DestinationStamp(const std::string& path) {
    auto status = StatusAt(path);
    return status ? sync::DestinationStampOf(*status) : 0;
}

}  // namespace twinfold
