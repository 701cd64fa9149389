#include "settings/IniDocument.h"

#include <algorithm>
#include <unordered_set>

#include "util/Ascii.h"

namespace twinfold {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view TrimLeft(std::string_view s) {
    auto first = s.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

std::string_view Trim(std::string_view s) {
    s = TrimLeft(s);
    return s.substr(0, s.find_last_not_of(kBlanks) + 1);
}

// "[name]" with blanks anywhere around; text after the "]" does not count.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimLeft(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

// "key=value"; comments, section headers and lines without "=" are no entries.
std::optional<Entry> EntryOf(std::string_view line) {
    if (SectionName(line)) return std::nullopt;
    line = TrimLeft(line);
    if (line.empty() || line.front() == ';') return std::nullopt;
    auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Entry{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

std::string_view Unquote(std::string_view value) {
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                  value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

std::string EntryLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    // Editors that write UTF-8 may put a byte-order mark first; it is no part
    // of the first line, and it is written back as it was.
    if (text.starts_with(kByteOrderMark)) {
        doc.byteOrderMark_ = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        auto feed = text.find('\n');
        std::string_view line = text.substr(0, feed);
        std::string_view end = feed == std::string_view::npos ? "" : "\n";
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            end = feed == std::string_view::npos ? "\r" : "\r\n";
        }
        doc.lines_.push_back({std::string(line), std::string(end)});
        text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
    }
    auto ended = std::find_if(doc.lines_.begin(), doc.lines_.end(),
                              [](const Line& l) { return !l.end.empty(); });
    if (ended != doc.lines_.end() && ended->end != "\n") doc.lineEnd_ = "\r\n";
    return doc;
}

std::string IniDocument::Text() const {
    std::string text(byteOrderMark_ ? kByteOrderMark : std::string_view());
    for (const Line& line : lines_) {
        text += line.text;
        text += line.end;
    }
    return text;
}

std::optional<std::string> IniDocument::Value(std::string_view section,
                                              std::string_view key) const {
    auto header = FindSection(section);
    if (!header) return std::nullopt;
    auto at = FindKey(*header, key);
    if (!at) return std::nullopt;
    return std::string(Unquote(EntryOf(lines_[*at].text)->value));
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section).has_value();
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    auto header = FindSection(section);
    if (!header) return keys;
    for (std::size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i) {
        auto entry = EntryOf(lines_[i].text);
        if (!entry) continue;
        bool known = std::any_of(keys.begin(), keys.end(), [&](const std::string& k) {
            return SameIgnoringCase(k, entry->key);
        });
        if (!known) keys.emplace_back(entry->key);
    }
    return keys;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(
    std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    auto header = FindSection(section);
    if (!header) return entries;
    std::unordered_set<std::string> seen;
    for (std::size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i) {
        auto entry = EntryOf(lines_[i].text);
        if (!entry || !seen.insert(LowerAscii(std::string(entry->key))).second) continue;
        entries.emplace_back(entry->key, Unquote(entry->value));
    }
    return entries;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    auto header = FindSection(section);
    if (!header) {
        if (!lines_.empty()) EndLine(lines_.back());
        lines_.push_back({"[" + std::string(section) + "]", lineEnd_});
        lines_.push_back({EntryLine(key, value), lineEnd_});
        return;
    }
    if (auto at = FindKey(*header, key)) {
        // The key keeps the spelling it has in the file.
        lines_[*at].text = EntryLine(EntryOf(lines_[*at].text)->key, value);
        return;
    }
    InsertLine(LastFilledLine(*header) + 1, EntryLine(key, value));
}

bool IniDocument::EraseSection(std::string_view section) {
    bool erased = false;
    while (auto header = FindSection(section)) {
        auto first = lines_.begin() + static_cast<std::ptrdiff_t>(*header);
        lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*header)));
        erased = true;
    }
    return erased;
}

std::optional<std::size_t> IniDocument::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = SectionName(lines_[i].text);
        if (name && SameIgnoringCase(*name, section)) return i;
    }
    return std::nullopt;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !SectionName(lines_[i].text)) ++i;
    return i;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t header, std::string_view key) const {
    for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
        auto entry = EntryOf(lines_[i].text);
        if (entry && SameIgnoringCase(entry->key, key)) return i;
    }
    return std::nullopt;
}

// The section's last line that is not blank: a new key goes after it, so the
// blank lines that part this section from the next stay where they are.
std::size_t IniDocument::LastFilledLine(std::size_t header) const {
    std::size_t last = header;
    for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
        if (!Trim(lines_[i].text).empty()) last = i;
    }
    return last;
}

// A last line without a line end gets one before a line follows it; a lone
// CR there already counts as one and is completed to CR LF, so the new line
// never runs on from the old one for a reader that splits at line feeds.
void IniDocument::EndLine(Line& line) const {
    if (line.end.empty()) {
        line.end = lineEnd_;
    } else if (line.end == "\r") {
        line.end = "\r\n";
    }
}

void IniDocument::InsertLine(std::size_t at, std::string text) {
    EndLine(lines_[at - 1]);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), {std::move(text), lineEnd_});
}

}  // namespace twinfold
