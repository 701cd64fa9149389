#include "qt/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace twinfold::qt {

namespace {

// A folder with its tab, in a 32 by 24 unit box at `origin`.
void DrawFolder(QPainter& painter, QPointF origin, const QColor& fill) {
    QPainterPath path;
    path.moveTo(origin + QPointF(0, 4));
    path.lineTo(origin + QPointF(11, 4));
    path.lineTo(origin + QPointF(14, 0));
    path.lineTo(origin + QPointF(24, 0));
    path.lineTo(origin + QPointF(24, 4));
    path.lineTo(origin + QPointF(32, 4));
    path.lineTo(origin + QPointF(32, 24));
    path.lineTo(origin + QPointF(0, 24));
    path.closeSubpath();
    painter.setPen(QPen(fill.darker(170), 1.2));
    painter.setBrush(fill);
    painter.drawPath(path);
}

void DrawArrow(QPainter& painter, QPointF from, QPointF to) {
    painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
    painter.drawLine(to, to + QPointF(-5, -4));
    painter.drawLine(to, to + QPointF(-5, 4));
}

}  // namespace

QPixmap ProgramPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 48 by 48 grid and scaled to the size asked for.
    painter.scale(size / 48.0, size / 48.0);
    DrawFolder(painter, {2, 6}, QColor(0xE8, 0xB8, 0x4A));
    DrawFolder(painter, {14, 20}, QColor(0x3C, 0x7D, 0xD9));
    DrawArrow(painter, {20, 34}, {38, 34});
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(ProgramPixmap(size));
    return icon;
}

}  // namespace twinfold::qt
