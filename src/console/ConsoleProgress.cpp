#include "console/ConsoleProgress.h"

#include <cstdio>
#include <ostream>

#include "listing/Paths.h"
#include "sync/TSyncBox.h"

namespace twinfold {
namespace {

// Back to the line's start and erase to its end.
constexpr const char* kEraseLine = "\r\033[K";

// Characters, not bytes: UTF-8 continuation bytes do not count.
int Width(const std::string& text) {
    int width = 0;
    for (unsigned char c : text) width += (c & 0xC0) != 0x80;
    return width;
}

std::string CutToWidth(const std::string& text, int width) {
    std::size_t end = 0;
    int used = 0;
    while (end < text.size()) {
        std::size_t next = end + 1;
        while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) {
            ++next;
        }
        if (++used > width) break;
        end = next;
    }
    return text.substr(0, end);
}

std::string PercentText(int percent) {
    char text[8];
    std::snprintf(text, sizeof text, "%3d%%", percent);
    return text;
}

}  // namespace

ConsoleProgress::ConsoleProgress(std::ostream& terminal, int columns,
                                 std::chrono::milliseconds interval)
    : terminal_(terminal), columns_(columns), interval_(interval) {}

std::string ConsoleProgress::Line(const TSyncBox& box, int columns) {
    const int room = columns - 1;
    const std::string percent = PercentText(box.Gauge.Percent());
    const std::string& file = box.FileName.Caption();
    const int dirRoom = room - Width(percent) - Width(file) - 3;
    const std::string dir = FitPathToWidth(box.SyncDirFrom.Caption(), Width, dirRoom);
    return CutToWidth(percent + " " + dir + "  " + file, room);
}

void ConsoleProgress::Follow(TSyncBox& box) {
    auto refresh = [this, &box] { Refresh(box); };
    following_ += box.SyncDirFrom.OnChange.Connect(refresh);
    following_ += box.FileName.OnChange.Connect(refresh);
    following_ += box.Gauge.OnChange.Connect(refresh);
    following_ += box.OnShowChange.Connect([this, &box] {
        if (!box.Visible()) Clear();
    });
}

void ConsoleProgress::Refresh(const TSyncBox& box) {
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDrawn_ < interval_) return;
    terminal_ << kEraseLine << Line(box, columns_) << std::flush;
    lastDrawn_ = now;
    drawn_ = true;
}

void ConsoleProgress::Clear() {
    if (!drawn_) return;
    terminal_ << kEraseLine << std::flush;
    drawn_ = false;
}

}  // namespace twinfold
