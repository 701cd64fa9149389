#include "batch/BatchFile.h"
#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "Screenshot.h"
#include "qt/BatchEditorView.h"
#include "qt/DirectoryListView.h"
#include "qt/FileListView.h"
#include "qt/MainWindow.h"

using namespace twinfold;
using twinfold::test::SaveScreenshot;

namespace {

using Names = std::vector<std::string>;

QStringList TextsOf(const QListWidget* widget) {
    QStringList texts;
    for (int i = 0; i < widget->count(); ++i) texts << widget->item(i)->text();
    return texts;
}

QPoint CentreOf(QListWidget* widget, const QString& text) {
    auto found = widget->findItems(text, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1) << text.toStdString();
    return found.isEmpty() ? QPoint() : widget->visualItemRect(found[0]).center();
}

void Click(QListWidget* widget, const QString& text, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, modifiers, CentreOf(widget, text));
}

void DoubleClick(QListWidget* widget, const QString& text) {
    const QPoint at = CentreOf(widget, text);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, at);
}

class BatchEditorViewTest : public ::testing::Test {
protected:
    BatchEditorViewTest() {
        for (const char* name : {"alpha.ini", "beta.ini", "gamma.ini", "notes.txt"})
            dir.CreateFile(std::string("data/") + name);
        dir.CreateDirectory("jobs");
        (void)windows.main.SourceDirListBox.SetDirectory(dir.Path("data"));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        view = window.batchEditorView();
    }

    // Opens the editor through the main window's "&Batch" menu.
    void OpenFromMenu() {
        QAction* action = window.action("Batch File &Editor...");
        ASSERT_NE(action, nullptr);
        action->trigger();
        ASSERT_TRUE(view->isVisible());
        QApplication::setActiveWindow(view);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    }

    QAction* MenuAction(const QString& text) {
        for (QAction* action : view->menuBar()->findChildren<QAction*>()) {
            if (action->text() == text) return action;
        }
        return nullptr;
    }

    QString Data(const char* name) { return QString::fromStdString(dir.Path("data/") + name); }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows{desktop, dir.ProgramDir()};
    qt::MainWindow window{windows, desktop};
    qt::BatchEditorView* view = nullptr;
};

TEST_F(BatchEditorViewTest, MouseAddsAndRemovesThenTheMenuSaves) {
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isVisible());
    OpenFromMenu();
    EXPECT_TRUE(view->isModal());
    EXPECT_EQ(view->windowTitle(), "Batch Editor (Untitled)");
    EXPECT_EQ(TextsOf(view->fileList()), (QStringList{"alpha.ini", "beta.ini", "gamma.ini"}));
    EXPECT_EQ(view->fileList()->toolTip(), "Double Click to Add");
    EXPECT_EQ(view->batchList()->toolTip(), "Double Click to Remove");
    EXPECT_EQ(view->findChild<QLabel*>("SourceLabel")->text(),
              QString::fromStdString(dir.Path("data")));

    Click(view->fileList(), "alpha.ini");
    Click(view->fileList(), "gamma.ini", Qt::ControlModifier);
    QTest::mouseClick(view->addButton(), Qt::LeftButton);
    EXPECT_EQ(TextsOf(view->batchList()), (QStringList{Data("alpha.ini"), Data("gamma.ini")}));
    // The file list keeps its marks.
    EXPECT_EQ(view->fileList()->selectedItems().size(), 2);

    DoubleClick(view->fileList(), "beta.ini");
    EXPECT_EQ(TextsOf(view->batchList()),
              (QStringList{Data("alpha.ini"), Data("gamma.ini"), Data("beta.ini")}));

    Click(view->batchList(), Data("alpha.ini"));
    QTest::mouseClick(view->removeButton(), Qt::LeftButton);
    EXPECT_EQ(TextsOf(view->batchList()), (QStringList{Data("gamma.ini"), Data("beta.ini")}));
    DoubleClick(view->batchList(), Data("beta.ini"));
    EXPECT_EQ(TextsOf(view->batchList()), QStringList{Data("gamma.ini")});
    Click(view->fileList(), "beta.ini");
    QTest::mouseClick(view->addButton(), Qt::LeftButton);
    EXPECT_TRUE(windows.batchEditor.modified());
    SaveScreenshot(view, "batcheditor.png");

    const std::string night = dir.Path("jobs/night.tfw");
    desktop.fileAnswers = {night};
    ASSERT_NE(MenuAction("&Save"), nullptr);
    MenuAction("&Save")->trigger();

    EXPECT_EQ(ReadBatchFile(night), (Names{dir.Path("data/gamma.ini"), dir.Path("data/beta.ini")}));
    EXPECT_EQ(view->windowTitle(), "Batch Editor (night.tfw)");
    EXPECT_EQ(windows.main.currentBatchFile, night);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BatchEditorViewTest, NothingIsClippedAndShortcutsReachTheirControls) {
    OpenFromMenu();
    const QStringList menu{"&New", "&Open...", "&Save", "Save &As...", "", "E&xit"};
    QStringList shown;
    for (QAction* action : view->menuBar()->actions()[0]->menu()->actions())
        shown << action->text();
    EXPECT_EQ(view->menuBar()->actions()[0]->text(), "&File");
    EXPECT_EQ(shown, menu);

    for (auto* label : view->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(label->sizeHint().width(), label->width());
        EXPECT_TRUE(view->rect().contains(label->mapTo(view, label->rect().bottomRight())));
        if (label->text().contains('&')) {
            EXPECT_NE(label->buddy(), nullptr);
        }
    }
    for (auto* button : view->findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_LE(button->sizeHint().width(), button->width());
    }
    for (auto* combo : view->findChildren<QComboBox*>()) {
        EXPECT_TRUE(view->rect().contains(combo->mapTo(view, combo->rect().bottomRight())));
    }
    EXPECT_GE(view->batchList()->width(), 250);
    EXPECT_EQ(view->minimumSize(), view->maximumSize());
    // The picture buttons have no text; their tooltips say what they do.
    EXPECT_FALSE(view->addButton()->toolTip().isEmpty());
    EXPECT_FALSE(view->removeButton()->toolTip().isEmpty());
    EXPECT_NE(view->addButton()->toolTip(), view->removeButton()->toolTip());

    QTest::keyClick(view, Qt::Key_F1);
    EXPECT_EQ(desktop.helpContexts, std::vector<int>{4});
}

TEST_F(BatchEditorViewTest, ExitAsksAfterChangesAndTheCloseBoxDoesNot) {
    OpenFromMenu();
    Click(view->fileList(), "alpha.ini");
    QTest::mouseClick(view->addButton(), Qt::LeftButton);
    auto* exit = view->findChild<QPushButton*>("Exit");
    ASSERT_NE(exit, nullptr);

    desktop.answers = {false};
    QTest::mouseClick(exit, Qt::LeftButton);
    EXPECT_TRUE(view->isVisible());
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, "The batch list has changed. Save it before closing?");

    view->close();
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(windows.batchEditor.Visible());
    EXPECT_EQ(desktop.boxes.size(), 1u);

    // The next opening starts empty, and Exit then closes at once.
    OpenFromMenu();
    EXPECT_EQ(view->batchList()->count(), 0);
    EXPECT_EQ(view->windowTitle(), "Batch Editor (Untitled)");
    QTest::mouseClick(exit, Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(desktop.boxes.size(), 1u);
}

}  // namespace
