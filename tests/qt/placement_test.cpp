#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <sstream>

#include "qt/AboutBoxView.h"
#include "qt/BatchEditorView.h"
#include "qt/HelpWindow.h"
#include "qt/MainWindow.h"
#include "qt/OptionsView.h"
#include "qt/SecretBoxView.h"
#include "qt/SyncBoxView.h"

// These tests also run with QT_SCALE_FACTOR=1.5 on a 1024 x 768 screen (see
// CMakeLists.txt): every window must still open whole on the screen.
using namespace twinfold;

namespace {

std::string Describe(const QRect& r) {
    std::ostringstream text;
    text << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    return text.str();
}

QRect Room(const QWidget* window) { return window->screen()->availableGeometry(); }

::testing::AssertionResult InsideTheScreen(const QWidget* window) {
    if (!window->isVisible()) return ::testing::AssertionFailure() << "not shown";
    const QRect frame = window->frameGeometry();
    if (Room(window).contains(frame)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "frame " << Describe(frame) << " outside " << Describe(Room(window));
}

::testing::AssertionResult CentredOnTheScreen(const QWidget* window) {
    const QPoint off = window->frameGeometry().center() - Room(window).center();
    if (std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "frame " << Describe(window->frameGeometry())
                                         << " off the centre of " << Describe(Room(window));
}

// Help goes to the real help window, as the program's own desktop sends it.
class HelpingDesktop : public test::ScriptedDesktop {
public:
    void ShowHelp(int context) override {
        ScriptedDesktop::ShowHelp(context);
        if (help != nullptr && context >= 0) help->ShowContext(context);
    }
    qt::HelpWindow* help = nullptr;
};

class PlacementTest : public ::testing::Test {
protected:
    PlacementTest() {
        desktop.help = window.helpWindow();
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Runs `check` once the modal dialog that `open` shows is up.
    void WhileOpen(const std::function<void()>& open, QWidget* context,
                   const std::function<void()>& check) {
        QTimer::singleShot(0, context, check);
        open();
    }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    HelpingDesktop desktop;
    Windows windows{desktop, dir.ProgramDir()};
    qt::MainWindow window{windows, desktop};
};

TEST_F(PlacementTest, TheMainWindowAboutAndSpecialOpenCentredOnTheScreen) {
    EXPECT_TRUE(InsideTheScreen(&window));
    EXPECT_TRUE(CentredOnTheScreen(&window));

    auto* about = window.aboutBoxView();
    auto* special = window.secretBoxView();
    bool checked = false;
    WhileOpen([&] { window.action("&About")->trigger(); }, about,
              [&] {
                  EXPECT_TRUE(InsideTheScreen(about));
                  EXPECT_TRUE(CentredOnTheScreen(about));
                  WhileOpen([&] { windows.about.Panel2DblClick(); }, special,
                            [&] {
                                EXPECT_TRUE(InsideTheScreen(special));
                                EXPECT_TRUE(CentredOnTheScreen(special));
                                checked = true;
                                special->close();
                            });
                  about->close();
              });
    EXPECT_TRUE(checked);
}

// The dialogs the menus open, the progress dialog and the help all open whole
// on the screen.
TEST_F(PlacementTest, EveryDialogOpensInsideTheScreen) {
    windows.main.Options1Click();
    EXPECT_TRUE(InsideTheScreen(window.optionsView()));
    EXPECT_TRUE(CentredOnTheScreen(window.optionsView()));
    windows.options.Close();

    windows.main.LogFile1Click();
    auto* log = window.findChild<QDialog*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(log, nullptr);
    for (QDialog* dialog : window.findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!dialog->isVisible()) continue;
        EXPECT_TRUE(InsideTheScreen(dialog)) << dialog->windowTitle().toStdString();
    }
    windows.logFile.Close();

    windows.main.DeleteDirectorySDClick();
    int shown = 0;
    for (QDialog* dialog : window.findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!dialog->isVisible()) continue;
        ++shown;
        EXPECT_TRUE(InsideTheScreen(dialog)) << dialog->windowTitle().toStdString();
    }
    EXPECT_EQ(shown, 1);
    windows.deleteBox.Close();

    dir.CreateFile("source/a.txt", "a");
    dir.CreateDirectory("dest");
    ASSERT_TRUE(windows.main.SourceDirListBox.SetDirectory(dir.Path("source")).ok());
    ASSERT_TRUE(windows.main.DestDirListBox.SetDirectory(dir.Path("dest")).ok());
    windows.main.SelectAll1Click();
    bool seen = false;
    desktop.onPump = [&](int) {
        if (seen || !window.syncBoxView()->isVisible()) return;
        seen = true;
        EXPECT_TRUE(InsideTheScreen(window.syncBoxView()));
        EXPECT_TRUE(CentredOnTheScreen(window.syncBoxView()));
    };
    windows.main.SyncBtnClick();
    EXPECT_TRUE(seen);
}

// The log, the preview and the delete dialog open first over the middle of
// the main window, and later where they were left.
TEST_F(PlacementTest, DialogsThatKeepTheirPlaceOpenFirstOverTheMainWindow) {
    window.move(window.pos() + QPoint(20, 10));
    const struct {
        const char* name;
        std::function<void()> open;
        TForm& model;
    } cases[] = {
        {"log", [this] { windows.main.LogFile1Click(); }, windows.logFile},
        {"preview", [this] { windows.preview.ShowModal(); }, windows.preview},
        {"delete", [this] { windows.main.DeleteDirectorySDClick(); }, windows.deleteBox},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.open();
        QDialog* dialog = nullptr;
        for (QDialog* shown :
             window.findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (shown->isVisible()) dialog = shown;
        }
        ASSERT_NE(dialog, nullptr);
        const QPoint off = dialog->frameGeometry().center() - window.frameGeometry().center();
        EXPECT_LE(off.manhattanLength(), 2) << Describe(dialog->frameGeometry());
        EXPECT_TRUE(InsideTheScreen(dialog));
        dialog->move(dialog->pos() + QPoint(15, 10));
        const bool leftInside = InsideTheScreen(dialog);
        const QPoint left = dialog->pos();
        c.model.Close();
        c.open();
        if (leftInside) {
            EXPECT_EQ(dialog->pos(), left);
        }
        EXPECT_TRUE(InsideTheScreen(dialog));
        c.model.Close();
    }
}

// F1 in the modal batch editor opens the help as the editor's own window: it
// stands above the editor, inside the screen, and the editor's modality lets
// it take input. Opened from the main window later, it is the window's again.
TEST_F(PlacementTest, HelpFromTheModalBatchEditorIsItsOwnAndInsideTheScreen) {
    auto* editor = window.batchEditorView();
    auto* help = window.helpWindow();
    windows.main.BatchFileEditor1Click();
    ASSERT_TRUE(editor->isVisible());
    QApplication::setActiveWindow(editor);
    EXPECT_TRUE(InsideTheScreen(editor));
    EXPECT_TRUE(CentredOnTheScreen(editor));

    QTest::keyClick(editor, Qt::Key_F1);
    EXPECT_EQ(desktop.helpContexts, std::vector<int>{4});
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(help->parentWidget(), editor);
    QWindow* modal = QGuiApplication::modalWindow();
    ASSERT_NE(modal, nullptr);
    EXPECT_TRUE(modal->isAncestorOf(help->windowHandle(), QWindow::IncludeTransients));
    EXPECT_TRUE(InsideTheScreen(help));

    windows.batchEditor.CancelClick();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(help->parentWidget(), &window);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(InsideTheScreen(help));
}

}  // namespace
