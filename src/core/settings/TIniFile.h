#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "settings/IniDocument.h"
#include "settings/IniUpdate.h"

namespace twinfold {

class IniDocument;

// One settings file, named by its full path. Every operation opens, reads or
// replaces and releases the file; nothing stays open between two calls.
//
// Reading: section and key names ignore ASCII case, blanks around names and
// values do not count, one pair of enclosing matching quotes is dropped, the
// first of duplicate sections or keys counts, and at most kMaxValueLength
// characters of a value come back. A missing or unreadable file reads as
// empty, so every read gives its default; so does anything that is not a
// regular file (a FIFO never blocks the reader) and a file over 16 MiB.
//
// Writing merges keys into the file (a value that cannot be stored is
// refused, see IsWritableValue), one key or a whole save's keys at once
// (UpdateFile), and replaces the file once: a key's value is replaced where it stands,
// or the key is added at the end of its section, or the section at the end of
// the file. Every other byte stays, line ends included. The new content goes
// to a temporary file beside the old one, flushed to the disk, which then
// replaces it in one step, so a failed write leaves the old file as it was;
// the file keeps its permissions, and a link to it stays a link where the
// person may follow it (see platform::MayFollowLink). A failure (also a file
// without write permission, even for root) comes back as an Error whose
// message is the one the person is shown, "Unable to write to <path>" (with
// the reason after a colon for a link that is not followed), and whose code
// is the operating system's.
class TIniFile {
public:
    static constexpr std::size_t kMaxValueLength = 1023;
    // Settings and batch files are small; this guards against a runaway
    // file, which is treated as unreadable rather than read into memory.
    static constexpr std::size_t kMaxFileSize = 16u << 20;

    explicit TIniFile(std::string path);

    const std::string& FileName() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    Status WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Every change of `update` in one replacement of the file; a value that
    // cannot be stored refuses the whole update (RefuseValue), writing nothing.
    Status UpdateFile(const IniUpdate& update);

    // Decimal with an optional sign, or hexadecimal after "$" or after
    // "0x"/"0X" (then longer than two characters). Hexadecimal beyond 32 bits
    // keeps the low 32 bits ("$FFFFFFFF" is -1); a decimal value out of range,
    // any other form and an empty value give the default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    // Writes the decimal form.
    Status WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

    // An integer read with the default 1 or 0; any value but 0 is set.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // Writes "1" or "0".
    Status WriteBool(std::string_view section, std::string_view key, bool value);

    // A value holding a line end (CR or LF) or a NUL byte cannot be stored:
    // read back, it would end its line early and the rest would read as
    // other keys or sections.
    static bool IsWritableValue(std::string_view value);
    // Refuses to store such a value under `key`: writes nothing and comes
    // back as the Error "Unable to write to <path>: the value of <key> holds
    // a line end or a NUL character."
    Status RefuseValue(std::string_view key);

    bool SectionExists(std::string_view section) const;
    // The key names of the section in file order, each once.
    std::vector<std::string> ReadSection(std::string_view section) const;
    // Rewrites the file without every section of that name; a file without
    // it is left untouched.
    Status EraseSection(std::string_view section);

    // Replaces the whole file with `doc` in one step; the old content is
    // kept when that fails.
    // A read-only file is refused, as for every other write.
    Status Rewrite(const IniDocument& doc);

private:
    IniDocument Load() const;
    Result<IniDocument> LoadForChange() const;
    Status Store(const IniDocument& doc);
    Status Replace(const std::string& text) const;
    Error Unwritable(const Error& cause) const;

    std::string path_;
};

}  // namespace twinfold
