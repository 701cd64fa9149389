// twinfold-icon: a build step, not installed. Writes the program's icon as
// PNG files in the icon theme's layout, rendered exactly as the window
// renders it: twinfold-icon DIR NAME SIZE... writes DIR/SIZExSIZE/apps/NAME.png.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "qt/ProgramIcon.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: twinfold-icon DIR NAME SIZE...\n");
        return 2;
    }
    // Nothing is shown; the build may run without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = dir + "/" + name + ".png";
        if (size <= 0 || !QDir().mkpath(dir) || !twinfold::qt::ProgramImage(size).save(file)) {
            std::fprintf(stderr, "twinfold-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
