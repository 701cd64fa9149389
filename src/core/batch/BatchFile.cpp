#include "batch/BatchFile.h"

#include <cerrno>
#include <unordered_map>

#include "platform/FileSystem.h"
#include "settings/TIniFile.h"
#include "util/Ascii.h"

namespace twinfold {
namespace {

constexpr const char* kSection = "Files";
constexpr const char* kEnd = "Done";

std::string KeyOf(std::size_t position) { return "File" + std::to_string(position); }

}  // namespace

Result<std::vector<std::string>> ReadBatchList(const std::string& path) {
    auto text = platform::ReadNamedFile(path, TIniFile::kMaxFileSize);
    if (!text) return text.error();
    std::unordered_map<std::string, std::string> values;
    for (auto& [key, value] : IniDocument::Parse(text.value()).Entries(kSection)) {
        values.emplace(LowerAscii(key), std::move(value));
    }
    std::vector<std::string> entries;
    for (std::size_t n = 0;; ++n) {
        auto found = values.find(LowerAscii(KeyOf(n)));
        if (found == values.end() || found->second == kEnd) return entries;
        std::string& value = found->second;
        if (value.size() > TIniFile::kMaxValueLength) value.resize(TIniFile::kMaxValueLength);
        entries.push_back(std::move(value));
    }
}

std::vector<std::string> ReadBatchFile(const std::string& path) {
    auto entries = ReadBatchList(path);
    return entries ? std::move(entries).value() : std::vector<std::string>();
}

Status WriteBatchFile(const std::string& path, const std::vector<std::string>& entries) {
    TIniFile file(path);
    // An entry that cannot be stored keeps the old list whole.
    for (std::size_t n = 0; n < entries.size(); ++n) {
        if (!TIniFile::IsWritableValue(entries[n])) return file.RefuseValue(KeyOf(n));
    }
    if (entries.empty()) {
        Status removed = platform::RemoveFile(path);
        if (removed || removed.error().code == ENOENT) return Ok();
        return Error{"Unable to write to " + path, removed.error().code};
    }
    IniDocument doc = IniDocument::Parse("");
    for (std::size_t n = 0; n < entries.size(); ++n) doc.Set(kSection, KeyOf(n), entries[n]);
    return file.Rewrite(doc);
}

}  // namespace twinfold
