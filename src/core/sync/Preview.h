#pragma once

#include <cstdint>
#include <string>

// What a preview of a run says: one line per decision, and the counts.
namespace twinfold::sync {

struct PreviewLine {
    enum class Kind { Copy, Skip, Fail };
    Kind kind = Kind::Skip;
    std::string source;
    std::string target;  // for Copy
    std::string reason;  // for Fail
    std::uint64_t bytes = 0;

    // "copy SRC -> DEST", "skip SRC" or "fail SRC: reason".
    std::string Text() const;
};

struct PreviewCounts {
    int copy = 0;
    int skip = 0;
    int fail = 0;
    std::uint64_t bytes = 0;  // of the files to copy

    void Add(const PreviewLine& line);
    // "12 to copy (3567890 bytes), 3 to skip, 1 to fail".
    std::string Text() const;
};

}  // namespace twinfold::sync
