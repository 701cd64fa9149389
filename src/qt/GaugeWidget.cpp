#include "qt/GaugeWidget.h"

#include <QPainter>

namespace twinfold::qt {
namespace {

const QColor kNavy(0, 0, 128);

QFont GaugeFont() {
    QFont font;
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

// Text in `color`, limited to `clip`: drawing it twice with complementary
// clips inverts it against the bar without the fringes of an XOR.
void DrawText(QPainter& painter, const QRect& field, const QRect& clip, const QColor& color,
              const QString& text) {
    if (clip.isEmpty()) return;
    painter.save();
    painter.setClipRect(clip);
    painter.setPen(color);
    painter.drawText(field, Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace

GaugeWidget::GaugeWidget(TGauge& gauge, QWidget* parent) : QWidget(parent), gauge_(gauge) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    redraw_ = gauge_.OnChange.Connect([this] { update(); });
}

QImage GaugeWidget::Render(QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);

    int percent = gauge_.Percent();
    QRect field(1, 1, size.width() - 2, size.height() - 2);
    QRect bar(field.left(), field.top(), field.width() * percent / 100, field.height());
    painter.fillRect(bar, kNavy);

    QString text = QString::asprintf("%d%%", percent);
    painter.setFont(GaugeFont());
    QRect rest(bar.right() + 1, field.top(), field.width() - bar.width(), field.height());
    DrawText(painter, field, rest, kNavy, text);
    DrawText(painter, field, bar, Qt::white, text);
    return image;
}

void GaugeWidget::paintEvent(QPaintEvent*) {
    // One finished image per frame: the gauge never flickers.
    QPainter(this).drawImage(0, 0, Render(size()));
}

}  // namespace twinfold::qt
