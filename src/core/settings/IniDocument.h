#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twinfold {

// The lines of a sectioned key/value file, held so that a change touches only
// the lines it must: every other line, its line end included, is written back
// byte for byte. Section and key names compare without regard to ASCII case;
// the first of duplicate sections or keys is the one that counts.
class IniDocument {
public:
    // Splits `text` at line feeds; a carriage return before a line feed
    // belongs to the line end, and so does one that ends the text. A UTF-8
    // byte-order mark at the start is set aside. Any text is accepted.
    static IniDocument Parse(std::string_view text);

    // The document as bytes, exactly as parsed apart from the changes made.
    std::string Text() const;

    // The value of `key` in the first section named `section`, without the
    // blanks around it and without one pair of enclosing matching quotes;
    // nothing when the section or the key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // The key names of the first section named `section`, as spelled in the
    // document, each once, in order.
    std::vector<std::string> Keys(std::string_view section) const;
    // Every key of the first section named `section` with its value as
    // Value gives it, each key once (its first occurrence), in order: one
    // pass for a reader that wants them all.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

    // Rewrites the key's line where it stands, else adds the key after the
    // section's last non-blank line, else adds the section at the end.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes every section named `section` with all its lines; false when
    // there was none.
    bool EraseSection(std::string_view section);

private:
    struct Line {
        std::string text;
        std::string end;  // "\n", "\r\n", or empty for a last line without one
    };

    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
    std::size_t LastFilledLine(std::size_t header) const;
    void InsertLine(std::size_t at, std::string text);
    void EndLine(Line& line) const;

    std::vector<Line> lines_;
    std::string lineEnd_ = "\n";  // the document's own style, for added lines
    bool byteOrderMark_ = false;  // the text began with a UTF-8 byte-order mark
};

}  // namespace twinfold
