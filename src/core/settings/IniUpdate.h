#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace twinfold {

// The keys one save changes, gathered first so that the file is read,
// merged and replaced once for all of them (TIniFile::UpdateFile): a save
// that fails leaves the old file whole, never some keys new and some old.
class IniUpdate {
public:
    struct Change {
        std::string section;
        std::string key;
        std::string value;
    };

    IniUpdate& WriteString(std::string_view section, std::string_view key, std::string_view value);
    // The decimal form.
    IniUpdate& WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // "1" or "0".
    IniUpdate& WriteBool(std::string_view section, std::string_view key, bool value);

    // In the order written; a later change of the same key wins.
    const std::vector<Change>& Changes() const { return changes_; }

private:
    std::vector<Change> changes_;
};

}  // namespace twinfold
