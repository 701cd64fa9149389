#include "batch/BatchFile.h"

#include <cerrno>

#include "platform/FileSystem.h"
#include "settings/TIniFile.h"

namespace twinfold {
namespace {

constexpr const char* kSection = "Files";
constexpr const char* kEnd = "Done";

std::string KeyOf(std::size_t position) { return "File" + std::to_string(position); }

}  // namespace

std::vector<std::string> ReadBatchFile(const std::string& path) {
    TIniFile file(path);
    std::vector<std::string> entries;
    for (std::size_t n = 0;; ++n) {
        std::string value = file.ReadString(kSection, KeyOf(n), kEnd);
        if (value == kEnd) return entries;
        entries.push_back(std::move(value));
    }
}

Status WriteBatchFile(const std::string& path, const std::vector<std::string>& entries,
                      Desktop& desktop) {
    TIniFile file(path, &desktop);
    // An entry that cannot be stored keeps the old list whole.
    for (std::size_t n = 0; n < entries.size(); ++n) {
        if (!TIniFile::IsWritableValue(entries[n])) return file.RefuseValue(KeyOf(n));
    }
    if (entries.empty()) {
        Status removed = platform::RemoveFile(path);
        if (removed || removed.error().code == ENOENT) return Ok();
        desktop.Failure("Unable to write to " + path);
        return removed;
    }
    IniDocument doc = IniDocument::Parse("");
    for (std::size_t n = 0; n < entries.size(); ++n) doc.Set(kSection, KeyOf(n), entries[n]);
    return file.Rewrite(doc);
}

}  // namespace twinfold
