#include "ViewConsistency.h"
#include "main/Windows.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "qt/FileListView.h"
#include "qt/MainWindow.h"
#include "qt/QtDesktop.h"
#include "qt/SyncBoxView.h"

using namespace twinfold;

namespace {

const std::int64_t kStamp = test::LocalTime(2022, 3, 4, 5, 6, 8);

// The screen as a person sees it: every visible window where it stands.
void SaveScreen(const QString& name) {
    QDir().mkpath(TWINFOLD_SCREENSHOT_DIR);
    QScreen* screen = QApplication::primaryScreen();
    QImage image(screen->geometry().size(), QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter painter(&image);
    // Parents before their dialogs, so each dialog is drawn over its parent.
    std::vector<QWidget*> windows;
    std::function<void(QWidget*)> add = [&](QWidget* window) {
        windows.push_back(window);
        for (QWidget* child :
             window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->isWindow() && child->isVisible()) add(child);
        }
    };
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->parentWidget() == nullptr && window->isVisible()) add(window);
    }
    for (QWidget* window : windows) painter.drawPixmap(window->pos(), window->grab());
    painter.end();
    image.save(QString(TWINFOLD_SCREENSHOT_DIR) + "/" + name);
}

// What a box looked like when it came up.
struct SeenBox {
    std::string text;
    QWidget* parent;
    QMessageBox::Icon icon;
    bool staysOnTop;
    std::string detail;
    bool startsOnNo;
    bool offersQuiet;  // "Do not show further errors in this run"
};

// Answers each box the program shows (Yes, else OK) once it has noted it;
// `onBox` runs first, while the box is still up.
class BoxWatcher {
public:
    BoxWatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start();
    }

    std::vector<SeenBox> seen;
    std::function<void(QMessageBox*)> onBox;

private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        seen.push_back({box->text().toStdString(), box->parentWidget(), box->icon(),
                        box->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                        box->informativeText().toStdString(),
                        box->defaultButton() != nullptr &&
                            box->defaultButton() == box->button(QMessageBox::No),
                        box->checkBox() != nullptr});
        if (onBox) onBox(box);
        QAbstractButton* answer = box->button(QMessageBox::Yes);
        if (answer == nullptr) answer = box->button(QMessageBox::Ok);
        answer->click();
    }

    QTimer timer_;
};

class RunBoxesTest : public ::testing::Test {
protected:
    RunBoxesTest() {
        desktop.SetParentWindow(&window);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    qt::QtDesktop desktop;
    Windows windows{desktop, dir.ProgramDir()};
    qt::MainWindow window{windows, desktop};
};

// During a run every box stands on the progress dialog, which stays above
// the other windows, so a stacking window manager cannot hide the box behind
// it; failures carry the error icon, questions the question mark.
TEST_F(RunBoxesTest, BoxesDuringARunBelongToTheProgressDialogAndCarryTheirIcons) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        dir.CreateFile(std::string("source/") + name, name, kStamp);
    }
    // An older, read-only copy of a.txt cannot be replaced.
    dir.CreateFile("dest/a.txt", "old", test::LocalTime(2020, 1, 1));
    dir.MakeReadOnly("dest/a.txt");
    TMain& main = windows.main;
    ASSERT_TRUE(main.SourceDirListBox.SetDirectory(dir.Path("source")).ok());
    ASSERT_TRUE(main.DestDirListBox.SetDirectory(dir.Path("dest")).ok());
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(test::WindowMatchesModel(window, main));

    qt::SyncBoxView* progress = window.syncBoxView();
    BoxWatcher watcher;
    watcher.onBox = [&](QMessageBox*) {
        if (watcher.seen.size() != 1) return;
        SaveScreen("messagebox-over-progress.png");
        // The person then cancels the run from the progress dialog: the click
        // is posted, so the run's first pump after the box handles it.
        QMetaObject::invokeMethod(
            progress,
            [progress] {
                QTest::mouseClick(progress->findChild<QPushButton*>("Cancel"), Qt::LeftButton);
            },
            Qt::QueuedConnection);
    };
    QTest::mouseClick(window.syncButton(), Qt::LeftButton);

    ASSERT_EQ(watcher.seen.size(), 3u);
    EXPECT_EQ(watcher.seen[0].text.rfind("Could not create destination file", 0), 0u);
    EXPECT_EQ(watcher.seen[0].parent, progress);
    EXPECT_EQ(watcher.seen[0].icon, QMessageBox::Critical);
    EXPECT_EQ(watcher.seen[0].detail, "Permission denied");
    EXPECT_TRUE(watcher.seen[0].staysOnTop);
    EXPECT_EQ(watcher.seen[1].text, "Are you sure you wish to cancel?");
    EXPECT_EQ(watcher.seen[1].parent, progress);
    EXPECT_EQ(watcher.seen[1].icon, QMessageBox::Question);
    EXPECT_TRUE(watcher.seen[1].staysOnTop);
    // The progress dialog has gone by the closing message.
    EXPECT_EQ(watcher.seen[2].text, "Operation Canceled!");
    EXPECT_EQ(watcher.seen[2].parent, &window);
    EXPECT_EQ(watcher.seen[2].icon, QMessageBox::NoIcon);
    EXPECT_FALSE(dir.Exists("dest/b.txt"));
    EXPECT_TRUE(test::WindowMatchesModel(window, main));
}

// A box that a modal dialog causes belongs to that dialog; information boxes
// carry their icon.
TEST_F(RunBoxesTest, ABoxFromAModalDialogBelongsToItAndInformationHasItsIcon) {
    TMain& main = windows.main;
    BoxWatcher watcher;
    QDialog modal(&window);
    modal.setModal(true);
    QTimer::singleShot(0, &modal, [&] {
        main.SaveSettingsonExit.SetChecked(false);
        desktop.Information("shown from a dialog");
        desktop.Failure("failed in a dialog");
        modal.accept();
    });
    modal.exec();
    desktop.Information("shown from the window");
    // A question whose Yes cannot be undone starts on No; a run's failure
    // offers to show no more.
    watcher.onBox = [&](QMessageBox* box) {
        SaveScreen(box->checkBox() != nullptr ? "failure-box.png" : "delete-confirm.png");
    };
    desktop.ConfirmDanger("Delete 3 files in 2 directories under /d/x? This cannot be undone.");
    EXPECT_FALSE(desktop.RunFailure("Could not create destination file", "Permission denied"));
    ASSERT_EQ(watcher.seen.size(), 5u);
    EXPECT_TRUE(watcher.seen[3].startsOnNo);
    EXPECT_FALSE(watcher.seen[1].startsOnNo);
    EXPECT_TRUE(watcher.seen[4].offersQuiet);
    EXPECT_FALSE(watcher.seen[1].offersQuiet);
    EXPECT_EQ(watcher.seen[0].parent, &modal);
    EXPECT_EQ(watcher.seen[0].icon, QMessageBox::Information);
    EXPECT_EQ(watcher.seen[1].parent, &modal);
    EXPECT_EQ(watcher.seen[1].icon, QMessageBox::Critical);
    EXPECT_FALSE(watcher.seen[1].staysOnTop);
    EXPECT_EQ(watcher.seen[2].parent, &window);
}

}  // namespace
