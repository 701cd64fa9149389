#include "listing/Paths.h"

#include <optional>

#include "platform/FileSystem.h"

namespace twinfold {
namespace {

constexpr char kSep = platform::kSeparator;
const std::string kEllipsis = std::string("...") + kSep;

bool EndsWithSeparator(const std::string& text) { return !text.empty() && text.back() == kSep; }

// Enters `path`, naming it in the error.
Status Enter(const std::string& path) {
    auto entered = platform::SetCurrentDirectory(path);
    if (!entered) return CannotOpenDirectory(path, entered.error());
    return Ok();
}

// Drops the leading directory of a directory part, leaving ".../" in its
// place: "/data/projects/" becomes "/.../projects/", "/.../projects/"
// becomes "/.../", ".../" becomes "".
std::string DropLeadingDirectory(std::string part) {
    if (part == std::string(1, kSep)) return {};
    bool rooted = part.front() == kSep;
    if (rooted) part.erase(0, 1);
    // Only the marker of an earlier step goes here; a hidden ".name" does not.
    if (part.starts_with(kEllipsis)) part.erase(0, kEllipsis.size());
    auto sep = part.find(kSep);
    part = sep == std::string::npos ? std::string() : kEllipsis + part.substr(sep + 1);
    return rooted ? kSep + part : part;
}

// The directory part of a typed-in text without its file part `file`.
// A relative text is taken inside `cwd`.
Result<std::string> DirectoryPartOf(const std::string& text, const std::string& file,
                                    const Result<std::string>& cwd) {
    if (text.size() == file.size() + 1) return std::string(1, kSep);
    if (text.size() > file.size()) {
        std::string part = text.substr(0, text.size() - file.size() - 1);
        if (part.front() == kSep) return part;
        if (!cwd) return CannotOpenDirectory(".", cwd.error());
        return JoinPath(cwd.value(), part);
    }
    if (!cwd) return CannotOpenDirectory(".", cwd.error());
    return cwd.value();
}

bool IsExistingFile(const std::string& path) {
    auto entry = platform::QueryEntry(path);
    return entry && (entry->attributes & platform::kDirectory) == 0;
}

}  // namespace

Error CannotOpenDirectory(const std::string& path, const Error& cause) {
    return Error{"Cannot open directory " + path + ": " + cause.message, cause.code};
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    return EndsWithSeparator(dir) ? dir + name : dir + kSep + name;
}

std::string ExtractFileName(const std::string& path) {
    auto sep = path.rfind(kSep);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string ExtractFilePath(const std::string& path) {
    auto sep = path.rfind(kSep);
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

bool IsDirectory(const std::string& path) {
    auto entry = platform::QueryEntry(path);
    return entry && (entry->attributes & platform::kDirectory) != 0;
}

Status MakeDirectoryPath(const std::string& path) {
    if (path.empty()) return Error{"Unable to create directory", 0};
    std::string dir = EndsWithSeparator(path) ? path.substr(0, path.size() - 1) : path;
    if (dir.empty() || IsDirectory(dir)) return Ok();
    std::string parent = ExtractFilePath(dir);
    if (parent == dir) return Ok();
    if (auto made = MakeDirectoryPath(parent); !made) return made;
    (void)platform::MakeDirectory(dir);  // a failure shows when the path is used
    return Ok();
}

std::string FitPathToWidth(const std::string& path,
                           const std::function<int(const std::string&)>& measure, int width) {
    std::string result = path;
    std::string part = ExtractFilePath(path);
    const std::string name = ExtractFileName(path);
    while (!part.empty() && measure(result) > width) {
        part = part == kSep + kEllipsis ? kEllipsis : DropLeadingDirectory(part);
        result = part + name;
    }
    return result;
}

Result<PathInput> SplitPathInput(const std::string& text) {
    const auto restore = KeepCurrentDirectory();
    auto cwd = platform::CurrentDirectory();

    PathInput input{{}, ExtractFileName(text)};
    auto directory = DirectoryPartOf(text, input.file, cwd);
    if (!directory) return directory.error();
    input.directory = directory.value();
    if (auto entered = Enter(input.directory); !entered) return entered.error();

    bool pattern = input.file.find_first_of("*?") != std::string::npos;
    std::string full = JoinPath(input.directory, input.file);
    if (!input.file.empty() && !pattern && !IsExistingFile(full)) {
        // Neither pattern nor file: the last name is a directory.
        if (auto entered = Enter(full); !entered) return entered.error();
        input.directory = full;
        input.file.clear();
    }
    return input;
}

}  // namespace twinfold
