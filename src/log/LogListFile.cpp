#include "log/LogListFile.h"

#include "platform/FileSystem.h"

namespace twinfold {
namespace {

std::string LinesOf(const LogList& list) {
    std::string text;
    for (const auto& entry : list.Entries()) {
        text += entry;
        text += "\r\n";
    }
    return text;
}

// A read-only file or a directory in the way cannot be replaced, just as it
// could not be opened for writing.
bool CanReplace(const std::string& path) {
    auto entry = platform::QueryEntry(path);
    if (!entry) return true;
    return (entry->attributes & (platform::kReadOnly | platform::kDirectory)) == 0;
}

Error CannotCreate(const std::string& path) { return Error{"Cannot create file " + path}; }

}  // namespace

Status WriteLogList(const LogList& list, const std::string& path) {
    if (!CanReplace(path)) return CannotCreate(path);
    auto temp = platform::CreateTemporaryBeside(path);
    if (!temp) return CannotCreate(path);
    auto& [file, tempPath] = temp.value();
    bool written = file.Write(LinesOf(list)).ok();
    written = file.Close().ok() && written;
    if (!written) {
        platform::RemoveFile(tempPath);
        return Error{"Stream write error"};
    }
    if (!platform::RenameReplacing(tempPath, path)) {
        platform::RemoveFile(tempPath);
        return CannotCreate(path);
    }
    return Ok();
}

}  // namespace twinfold
