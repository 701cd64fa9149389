#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "controls/Signal.h"

namespace twinfold {

class TSyncBox;

// A one-line progress display on a terminal: percentage, directory and file
// of the progress dialog, redrawn in place as they change (at most once per
// `interval`, so thousands of small files cost no terminal time) and taken
// away when the dialog closes.
class ConsoleProgress {
public:
    ConsoleProgress(std::ostream& terminal, int columns,
                    std::chrono::milliseconds interval = std::chrono::milliseconds(100));

    // Draws `box` from now on, whenever its labels or gauge change.
    void Follow(TSyncBox& box);
    // Erases the line, if one is drawn, so that other output starts clean.
    void Clear();

    // The line for `box`, at most `columns` - 1 characters, so it never wraps:
    // " 42% /data/photos  img001.jpg". A long directory loses its leading
    // directories first.
    static std::string Line(const TSyncBox& box, int columns);

private:
    void Refresh(const TSyncBox& box);

    std::ostream& terminal_;
    int columns_;
    std::chrono::milliseconds interval_;
    std::chrono::steady_clock::time_point lastDrawn_{};
    bool drawn_ = false;
    Connections following_;
};

}  // namespace twinfold
