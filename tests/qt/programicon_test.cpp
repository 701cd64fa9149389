// One picture everywhere: the window's icon, the About box's icon and the
// PNGs installed for the desktop are the same rendering of the same file.
#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QString>

#include "Version.h"
#include "about/TAboutBox.h"
#include "qt/AboutBoxView.h"
#include "qt/MainWindow.h"
#include "qt/ProgramIcon.h"

using namespace twinfold;

namespace {

QImage Straight(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

// A drawn picture, not an empty square: transparent corners, and most of
// the area covered.
void ExpectDrawn(const QImage& image) {
    EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(0, image.height() - 1)), 0);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) == 255;
    }
    EXPECT_GT(opaque, image.width() * image.height() / 3);
}

TEST(ProgramIcon, TheWindowTheAboutBoxAndTheInstalledPngsShowOnePicture) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage drawn = Straight(qt::ProgramImage(size));
        ExpectDrawn(drawn);
        const QString png =
            QString("%1/%2x%2/apps/%3.png").arg(TWINFOLD_ICON_DIR).arg(size).arg(kAppId);
        const QImage installed(png);
        ASSERT_FALSE(installed.isNull()) << png.toStdString();
        EXPECT_EQ(Straight(installed), drawn);
    }

    const QImage at48 = Straight(qt::ProgramImage(48));
    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows(desktop, dir.ProgramDir());
    qt::MainWindow window(windows, desktop);
    EXPECT_EQ(Straight(window.windowIcon().pixmap(48).toImage()), at48);

    TAboutBox about;
    qt::AboutBoxView aboutView(about);
    auto* icon = aboutView.findChild<QLabel*>("ProgramIcon");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(Straight(icon->pixmap().toImage()), at48);
}

}  // namespace
