#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Screenshot.h"
#include "qt/DeleteView.h"
#include "qt/DirectoryListView.h"
#include "qt/MainWindow.h"

using namespace twinfold;
using twinfold::test::SaveScreenshot;

namespace {

bool Lists(QListWidget* pane, const QString& text) {
    return !pane->findItems(text, Qt::MatchExactly).isEmpty();
}

class DeleteViewTest : public ::testing::Test {
protected:
    DeleteViewTest() {
        dir.CreateFile("data/T/a.txt");
        dir.CreateFile("data/T/A/inner.txt");
        dir.CreateFile("data/T/B/deep/d.txt");
        dir.CreateDirectory("other");
        dir.CreateDirectory("prog");
        (void)windows.main.SourceDirListBox.SetDirectory(dir.Path("data/T"));
        (void)windows.main.DestDirListBox.SetDirectory(dir.Path("other"));
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        view = window.findChild<qt::DeleteView*>();
    }

    void Trigger(const char* actionName) {
        auto* action = window.findChild<QAction*>(actionName);
        ASSERT_NE(action, nullptr) << actionName;
        action->trigger();
    }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows{desktop, dir.ProgramDir()};
    qt::MainWindow window{windows, desktop};
    qt::DeleteView* view = nullptr;
};

TEST_F(DeleteViewTest, WholeTreeFromTheSourcePanesMenu) {
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isVisible());
    Trigger("DeleteDirectorySD");
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), "Delete?");
    EXPECT_EQ(view->field()->text(), QString::fromStdString(dir.Path("data/T")));
    EXPECT_FALSE(view->subdirectoriesBox()->isChecked());

    // The person retypes the field and ticks the box.
    view->field()->clear();
    QTest::keyClicks(view->field(), QString::fromStdString(dir.Path("data/T")));
    QTest::mouseClick(view->subdirectoriesBox(), Qt::LeftButton);
    EXPECT_EQ(windows.deleteBox.Edit1.Text(), dir.Path("data/T"));
    EXPECT_TRUE(windows.deleteBox.DelSubdir.Checked());
    SaveScreenshot(view, "delete.png");
    for (auto* label : view->findChildren<QLabel*>()) {
        EXPECT_LE(label->sizeHint().width(), label->width());
    }
    EXPECT_LE(view->subdirectoriesBox()->sizeHint().width(), view->subdirectoriesBox()->width());

    QTest::mouseClick(view->okButton(), Qt::LeftButton);

    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(dir.Exists("data/T"));
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(windows.main.SourceDirListBox.Directory(), dir.Path("data"));
    EXPECT_FALSE(Lists(window.sourcePane(), "T"));
    EXPECT_TRUE(Lists(window.sourcePane(), "data"));
}

TEST_F(DeleteViewTest, EscapeAndEnterCancelAndTheCheckBoxStartsClear) {
    for (auto key : {Qt::Key_Escape, Qt::Key_Return}) {
        windows.deleteBox.DelSubdir.SetChecked(true);
        Trigger("DeleteDirectoryDD");
        ASSERT_TRUE(view->isVisible());
        EXPECT_EQ(view->field()->text(), QString::fromStdString(dir.Path("other")));
        EXPECT_FALSE(view->subdirectoriesBox()->isChecked());
        QTest::mouseClick(view->subdirectoriesBox(), Qt::LeftButton);

        QTest::keyClick(view->field(), key);

        EXPECT_FALSE(view->isVisible());
        EXPECT_FALSE(windows.deleteBox.Visible());
        EXPECT_TRUE(dir.Exists("other"));
        EXPECT_TRUE(desktop.boxes.empty());
    }
}

TEST_F(DeleteViewTest, MenuEntriesReachTheirCommands) {
    (void)windows.main.SourceDirListBox.SetDirectory(dir.Path("data/T"));
    desktop.promptAnswers = {dir.Path("other/made"), std::nullopt};
    Trigger("MakeDirectoryDD");
    Trigger("MakeDirectorySD");
    EXPECT_TRUE(dir.Exists("other/made"));
    EXPECT_TRUE(Lists(window.destPane(), "made"));
    ASSERT_EQ(desktop.prompts.size(), 2u);
    EXPECT_EQ(desktop.prompts[1],
              "Create Directory|Enter New Directory Name:|" + dir.Path("data/T"));

    windows.main.FileList.SetSelected(0, true);
    windows.main.FileList.SetItemIndex(0);
    desktop.promptAnswers = {"renamed.txt"};
    window.action("&Rename")->trigger();
    EXPECT_EQ(dir.ReadFile("data/T/renamed.txt"), "");
    EXPECT_FALSE(dir.Exists("data/T/a.txt"));

    windows.main.FileList.SetSelected(0, true);
    windows.main.FileList.SetItemIndex(0);
    window.action("&Delete")->trigger();
    EXPECT_FALSE(dir.Exists("data/T/renamed.txt"));
    EXPECT_EQ(desktop.Texts(),
              std::vector<std::string>{"Delete File: " + dir.Path("data/T/renamed.txt") + "?"});
}

}  // namespace
