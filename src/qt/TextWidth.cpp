#include "qt/TextWidth.h"

#include <QFontMetricsF>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "qt/Strings.h"

namespace twinfold::qt {
namespace {

class CharacterWidths {
public:
    explicit CharacterWidths(const QFont& font) : metrics_(font) {
        for (std::size_t c = 0; c < ascii_.size(); ++c) {
            ascii_[c] = metrics_.horizontalAdvance(QChar(static_cast<char16_t>(c)));
        }
    }

    int Width(const std::string& text, int limit) const {
        qreal sum = 0;
        for (unsigned char c : text) {
            if (c >= ascii_.size()) return Exact(text);
            sum += ascii_[c];
        }
        // Kerning rarely moves a pair by more than a pixel.
        const qreal margin = std::max(limit / 8.0, static_cast<qreal>(text.size()));
        if (std::abs(sum - limit) < margin) return Exact(text);
        return static_cast<int>(std::ceil(sum));
    }

private:
    int Exact(const std::string& text) const {
        return static_cast<int>(std::ceil(metrics_.horizontalAdvance(ToQString(text))));
    }

    QFontMetricsF metrics_;
    std::array<qreal, 128> ascii_{};
};

}  // namespace

void MeasureInFont(TLabel& label, const QFont& font, int width) {
    auto widths = std::make_shared<const CharacterWidths>(font);
    label.measure = [widths, width](const std::string& text) { return widths->Width(text, width); };
    label.width = width;
}

}  // namespace twinfold::qt
