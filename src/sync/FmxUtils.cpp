#include "sync/FmxUtils.h"

#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "platform/FileSystem.h"
#include "sync/FmxUtilsDetail.h"

namespace twinfold {
namespace {

using platform::kSeparator;

constexpr const char* kNotCopied = ".  File not copied!";

enum class CopyOutcome { kCopied, kCreateFailed, kReadFailed, kWriteFailed };

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

std::string NamePart(const std::string& path) {
    auto slash = path.find_last_of(kSeparator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TargetPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && directory.back() == kSeparator) return directory + name;
    return directory + kSeparator + name;
}

// What stands at the target may not be replaced: a link (never written
// through), a directory, a special file, a read-only file (also for root) or
// a file this process may not write.
bool TargetRefused(const std::string& target) {
    std::uint32_t attributes = 0;
    switch (platform::QueryEntryKind(target, &attributes)) {
        case platform::EntryKind::None:
            return false;
        case platform::EntryKind::File:
            return (attributes & platform::kReadOnly) != 0 || !platform::IsWritable(target);
        default:
            return true;
    }
}

// The time the copy carries: the source's stamp unpacked, or the exact time
// of a source that has no stamp.
std::int64_t CopyTime(std::int64_t modified) {
    auto packed = platform::PackLocalTime(modified);
    return packed ? platform::UnpackLocalTime(*packed) : modified;
}

std::string FailureText(CopyOutcome outcome, const std::string& source, const std::string& target) {
    switch (outcome) {
        case CopyOutcome::kReadFailed:
            return "Error reading source file: " + source + kNotCopied;
        case CopyOutcome::kWriteFailed:
            return "Error writing destination file: " + target + kNotCopied +
                   " Possibly out of disk space.";
        default:
            return "Could not create destination file: " + target + kNotCopied;
    }
}

// Moves every chunk of `source` into `target`. Only a read of 0 bytes ends
// the source; a short read in the middle does not.
CopyOutcome Pump(platform::File& source, platform::File& target, std::span<char> buffer,
                 const detail::ChunkReader& read) {
    for (;;) {
        auto got = read(source, buffer);
        if (!got) return CopyOutcome::kReadFailed;
        if (got.value() == 0) return CopyOutcome::kCopied;
        if (!target.Write(buffer.first(got.value()))) return CopyOutcome::kWriteFailed;
    }
}

// Stamps and closes the filled copy; a close that fails reports a write that
// the system had delayed.
CopyOutcome Finish(platform::File& target, std::int64_t modified) {
    if (!target.SetModified(modified)) return CopyOutcome::kWriteFailed;
    if (!target.Close()) return CopyOutcome::kWriteFailed;
    return CopyOutcome::kCopied;
}

// Fills a temporary file beside the target and only then puts it in the
// target's place, so a failure never leaves a truncated target or costs the
// earlier version.
CopyOutcome ReplaceTarget(platform::File& source, const std::string& target, std::span<char> buffer,
                          std::int64_t modified, const detail::ChunkReader& read) {
    auto temporary = platform::CreateTemporaryBeside(target);
    if (!temporary) return CopyOutcome::kCreateFailed;
    auto& [file, path] = temporary.value();
    CopyOutcome outcome = Pump(source, file, buffer, read);
    if (outcome == CopyOutcome::kCopied) outcome = Finish(file, modified);
    if (outcome == CopyOutcome::kCopied && !platform::RenameReplacing(path, target)) {
        outcome = CopyOutcome::kCreateFailed;
    }
    if (outcome != CopyOutcome::kCopied) {
        file.Close();
        platform::RemoveFile(path);
    }
    return outcome;
}

bool Refuse(Desktop& desktop, const std::string& text) {
    desktop.Failure(text);
    return false;
}

}  // namespace

namespace detail {

bool BufferedCopyFileWith(const std::string& fileName, const std::string& destination,
                          std::int32_t copyBufferSize, Desktop& desktop, const ChunkReader& read) {
    const std::string target = TargetPath(FullPath(destination), NamePart(fileName));
    const auto size = static_cast<std::size_t>(UsableCopyBufferSize(copyBufferSize));
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer) return Refuse(desktop, "Not enough memory to copy " + fileName + kNotCopied);

    auto source = platform::File::OpenForReading(fileName);
    if (!source) return Refuse(desktop, "Could not open file: " + fileName + kNotCopied);
    if (TargetRefused(target)) {
        return Refuse(desktop, FailureText(CopyOutcome::kCreateFailed, fileName, target));
    }
    CopyOutcome outcome = ReplaceTarget(source.value(), target, std::span<char>(buffer.get(), size),
                                        CopyTime(source.value().modified()), read);
    if (outcome != CopyOutcome::kCopied) {
        return Refuse(desktop, FailureText(outcome, fileName, target));
    }
    return true;
}

}  // namespace detail

bool BufferedCopyFile(const std::string& fileName, const std::string& destination,
                      std::int32_t copyBufferSize, Desktop& desktop) {
    return detail::BufferedCopyFileWith(
        fileName, destination, copyBufferSize, desktop,
        [](platform::File& source, std::span<char> buffer) { return source.Read(buffer); });
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
    auto info = platform::QueryEntry(path);
    if (!info || (info->attributes & platform::kDirectory) != 0) return -1;
    auto packed = platform::PackLocalTime(info->modified);
    return packed ? static_cast<std::int64_t>(*packed) : -1;
}

std::int64_t DestinationStamp(const std::string& path) {
    auto info = platform::QueryEntry(path);
    if (!info) return 0;
    if (auto packed = platform::PackLocalTime(info->modified)) {
        return static_cast<std::int64_t>(*packed);
    }
    // No packed form: older than every stamp before 1980, newer after 2107.
    constexpr std::uint32_t kFirstStamp = (1u << 21) | (1u << 16);  // 1980-01-01 00:00
    return info->modified < platform::UnpackLocalTime(kFirstStamp)
               ? 0
               : std::numeric_limits<std::int64_t>::max();
}

}  // namespace twinfold
