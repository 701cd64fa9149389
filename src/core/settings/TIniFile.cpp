#include "settings/TIniFile.h"

#include <array>
#include <cerrno>
#include <optional>

#include "platform/FileSystem.h"
#include "settings/IniDocument.h"

namespace twinfold {
namespace {

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

// Shifting past 32 bits drops the high digits: "$1FFFFFFFF" is -1, as a
// 32-bit register would hold it.
std::optional<std::int32_t> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        auto digit = HexDigit(c);
        if (!digit) return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(*digit);
    }
    return static_cast<std::int32_t>(value);
}

// A decimal number that does not fit is no number: the caller's default is
// a safer reading than a wrapped value of the wrong sign.
std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{1} << 31) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    if (text.size() > 1 && text.front() == '$') return ParseHex(text.substr(1));
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return ParseHex(text.substr(2));
    }
    return ParseDecimal(text);
}

}  // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    auto value = Load().Value(section, key);
    std::string text = value ? std::move(*value) : std::string(defaultValue);
    if (text.size() > kMaxValueLength) text.resize(kMaxValueLength);
    return text;
}

Status TIniFile::WriteString(std::string_view section, std::string_view key,
                             std::string_view value) {
    return UpdateFile(IniUpdate().WriteString(section, key, value));
}

Status TIniFile::UpdateFile(const IniUpdate& update) {
    for (const auto& change : update.Changes()) {
        if (!IsWritableValue(change.value)) return RefuseValue(change.key);
    }
    auto doc = LoadForChange();
    if (!doc) return Unwritable(doc.error());
    for (const auto& change : update.Changes())
        doc.value().Set(change.section, change.key, change.value);
    return Store(doc.value());
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

Status TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    return UpdateFile(IniUpdate().WriteInteger(section, key, value));
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

Status TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return UpdateFile(IniUpdate().WriteBool(section, key, value));
}

bool TIniFile::IsWritableValue(std::string_view value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

Status TIniFile::RefuseValue(std::string_view key) {
    return Error{"Unable to write to " + path_ + ": the value of " + std::string(key) +
                     " holds a line end or a NUL character.",
                 EINVAL};
}

bool TIniFile::SectionExists(std::string_view section) const { return Load().HasSection(section); }

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    return Load().Keys(section);
}

Status TIniFile::EraseSection(std::string_view section) {
    auto doc = LoadForChange();
    if (!doc) return Unwritable(doc.error());
    if (!doc.value().EraseSection(section)) return Ok();
    return Store(doc.value());
}

IniDocument TIniFile::Load() const {
    auto text = platform::ReadNamedFile(path_, kMaxFileSize);
    return IniDocument::Parse(text ? text.value() : std::string());
}

// Unlike a plain read, a change must not mistake a file it cannot read for an
// empty one: replacing it would lose its content.
Result<IniDocument> TIniFile::LoadForChange() const {
    auto text = platform::ReadNamedFile(path_, kMaxFileSize);
    if (text) return IniDocument::Parse(text.value());
    if (text.error().code == ENOENT) return IniDocument::Parse("");
    return text.error();
}

Status TIniFile::Rewrite(const IniDocument& doc) { return Store(doc); }

Status TIniFile::Store(const IniDocument& doc) {
    Status stored = Replace(doc.Text());
    if (!stored) return Unwritable(stored.error());
    return stored;
}

Status TIniFile::Replace(const std::string& text) const {
    return platform::ReplaceNamedFile(path_, text);
}

Error TIniFile::Unwritable(const Error& cause) const {
    // A link that is not followed would be a puzzle without its reason.
    if (cause.code == ELOOP)
        return Error{"Unable to write to " + path_ + ": " + cause.message, ELOOP};
    return Error{"Unable to write to " + path_, cause.code};
}

}  // namespace twinfold
