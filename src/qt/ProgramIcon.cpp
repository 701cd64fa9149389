#include "qt/ProgramIcon.h"

#include <QPainter>
#include <QSvgRenderer>

// The icon lives in a static library: its resource must be pulled in by hand.
static void RegisterProgramIcon() { Q_INIT_RESOURCE(icon); }

namespace twinfold::qt {

QImage ProgramImage(int size) {
    static const bool registered = (RegisterProgramIcon(), true);
    (void)registered;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/icon/program.svg"));
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QPixmap ProgramPixmap(int size) { return QPixmap::fromImage(ProgramImage(size)); }

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(ProgramPixmap(size));
    return icon;
}

}  // namespace twinfold::qt
