#include "settings/IniUpdate.h"

namespace twinfold {

IniUpdate& IniUpdate::WriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    changes_.push_back({std::string(section), std::string(key), std::string(value)});
    return *this;
}

IniUpdate& IniUpdate::WriteInteger(std::string_view section, std::string_view key,
                                   std::int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

IniUpdate& IniUpdate::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

}  // namespace twinfold
