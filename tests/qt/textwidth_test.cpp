#include "listing/Paths.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetricsF>
#include <cmath>
#include <string>
#include <vector>

#include "qt/Strings.h"
#include "qt/TextWidth.h"

using namespace twinfold;

// The quick measure shortens every path exactly as shaping the whole text
// would, and what it keeps never runs past the room.
TEST(TextWidth, ShortensPathsAsExactMeasuringWould) {
    const QFont font = QApplication::font();
    const QFontMetricsF exact(font);
    const auto shaped = [&exact](const std::string& text) {
        return static_cast<int>(std::ceil(exact.horizontalAdvance(qt::ToQString(text))));
    };
    struct Case {
        const char* name;
        std::string path;
    };
    const std::vector<Case> cases = {
        {"fits whole", "/home/ann/photos"},
        {"one directory too many", "/home/ann/photos/2026/summer/lake/evening"},
        {"many directories", "/tmp/twinfold-gui-bench/source/dir3/sub64/and/deeper/still/down"},
        {"kerning pairs", "/AVAVAVAV/WAWAWAWA/To/Ta/Yo/LT/PA/FA/VA/AV/AVAVAVAV/LTLTLTLT/x"},
        {"non-ASCII", "/home/ännchen/Fotos/Größe/Sommerferien am Strand/Äpfel"},
        {"a long last name", "/a/b/" + std::string(200, 'm')},
    };
    for (int width : {60, 195, 400}) {
        TLabel label;
        qt::MeasureInFont(label, font, width);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(width));
            const std::string fitted = FitPathToWidth(c.path, label.measure, width);
            EXPECT_EQ(fitted, FitPathToWidth(c.path, shaped, width));
            if (fitted.find('/') != std::string::npos && fitted != c.path) {
                EXPECT_LE(shaped(fitted), width);
            }
        }
    }
}
