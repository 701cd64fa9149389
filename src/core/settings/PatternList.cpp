#include "settings/PatternList.h"

namespace twinfold {

std::vector<std::string> parseString(const std::string& packed) {
    std::vector<std::string> patterns;
    std::string::size_type start = 0;
    for (auto end = packed.find(';'); end != std::string::npos; end = packed.find(';', start)) {
        patterns.push_back(packed.substr(start, end - start));
        start = end + 1;
    }
    return patterns;
}

std::string PackPatterns(const std::vector<std::string>& patterns) {
    std::string packed;
    for (const auto& pattern : patterns) packed += pattern + ';';
    return packed;
}

}  // namespace twinfold
