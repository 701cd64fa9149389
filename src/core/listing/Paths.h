#pragma once

#include <functional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "util/ScopeExit.h"

// The path functions every list and command reads the file system through.
// Paths are absolute POSIX paths; "/" keeps its separator, no other directory
// ends in one.
namespace twinfold {

// `dir` and `name` with one separator between them: JoinPath("/", "A") is
// "/A", JoinPath("/data", "A") is "/data/A".
std::string JoinPath(const std::string& dir, const std::string& name);

// The part after the last "/" (the whole text when it has none).
std::string ExtractFileName(const std::string& path);
// The part up to and including the last "/" (empty when it has none).
std::string ExtractFilePath(const std::string& path);

// True when `path` names a directory (links followed).
bool IsDirectory(const std::string& path);

// Puts the current directory back when the returned guard ends, whichever way
// the scope ends. Nobody is told when that fails: the next command enters its
// own directory.
inline auto KeepCurrentDirectory() {
    return ScopeExit([saved = platform::CurrentDirectory()] {
        if (saved) (void)platform::SetCurrentDirectory(saved.value());
    });
}

// Creates every missing directory along `path`. Only a path that leads to no
// absolute directory (the empty path, a missing relative name) is reported,
// with "Unable to create directory"; a directory that cannot be created is
// not reported, callers learn of it when they use the path.
Status MakeDirectoryPath(const std::string& path);

// `path` shortened from the left, one leading directory at a time with
// ".../" in its place, until `measure` of it is at most `width`:
// "/data/projects/work", "/.../projects/work", "/.../work", ".../work",
// "work". The name itself is never shortened.
std::string FitPathToWidth(const std::string& path,
                           const std::function<int(const std::string&)>& measure, int width);

// A typed-in path taken apart: the directory it leads to (absolute) and the
// file part, which is empty unless the text ends in an existing file or a
// pattern with "*" or "?".
struct PathInput {
    std::string directory;
    std::string file;
};

// Splits `text`: "/data/report.doc" (a file) and "/data/*.doc" give "/data"
// and the file part; "/data/" and "/data" (a directory) give "/data" and "";
// a relative text is taken inside the current directory. The directory must
// exist and be enterable, else the error names it. The process's current
// directory is left as it was found.
Result<PathInput> SplitPathInput(const std::string& text);

// The one wording of every "this directory cannot be entered" error.
Error CannotOpenDirectory(const std::string& path, const Error& cause);

}  // namespace twinfold
