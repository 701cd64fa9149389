#include "ViewConsistency.h"
#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <set>

#include "Screenshot.h"
#include "qt/AboutBoxView.h"
#include "qt/DirectoryListView.h"
#include "qt/FileListView.h"
#include "qt/MainWindow.h"
#include "qt/OptionsView.h"
#include "qt/PreviewView.h"
#include "qt/SecretBoxView.h"
#include "qt/SyncBoxView.h"

using namespace twinfold;
using twinfold::test::SaveScreenshot;

namespace {

const std::int64_t kStamp = test::LocalTime(2022, 3, 4, 5, 6, 8);

QPoint RowCentre(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

int RowOf(QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == text) return i;
    }
    return -1;
}

// Chooses a file type with the arrow keys, as a person without a mouse does;
// every entry passed on the way is applied, as it would be.
void ChooseFileType(QComboBox* box, int index) {
    box->setFocus();
    while (box->currentIndex() != index) {
        QTest::keyClick(box, box->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    }
}

QAction* MenuBarAction(QMainWindow& window, const QString& text) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        dir.CreateFile("source/alpha.txt", std::string(1024, 'a'), kStamp);
        dir.CreateFile("source/beta.txt", std::string(2048, 'b'), kStamp);
        dir.CreateFile("source/gamma.txt", "g", kStamp);
        dir.CreateDirectory("source/nested");
        dir.CreateDirectory("dest");
        dir.CreateDirectory("prog");
        (void)main().SourceDirListBox.SetDirectory(dir.path());
        (void)main().DestDirListBox.SetDirectory(dir.Path("dest"));
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    TMain& main() { return windows.main; }
    ::testing::AssertionResult InStep() { return test::WindowMatchesModel(window, main()); }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows{desktop, dir.ProgramDir()};
    qt::MainWindow window{windows, desktop};
};

TEST_F(MainWindowTest, BrowseSelectWithTheMouseAndSync) {
    auto* pane = window.sourcePane();
    int row = RowOf(pane, "source");
    ASSERT_GE(row, 0);
    // A view takes a double click only on the entry its press landed on.
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, RowCentre(pane, row));
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.path());
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, RowCentre(pane, row));
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("source"));
    EXPECT_TRUE(InStep());

    auto* files = window.fileList();
    ASSERT_EQ(files->count(), 3);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, RowCentre(files, 0));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(files, 1));
    EXPECT_EQ(main().FileList.SelCount(), 2);
    EXPECT_EQ(window.sizeLabel()->text(), "Selected Size: 3 KBytes");
    EXPECT_EQ(window.countLabel()->text(), "Total Files Selected: 2");
    EXPECT_TRUE(InStep());
    SaveScreenshot(&window, "mainwindow.png");

    QTest::mouseClick(window.syncButton(), Qt::LeftButton);
    EXPECT_TRUE(InStep());
    EXPECT_EQ(dir.ReadFile("dest/alpha.txt"), std::string(1024, 'a'));
    EXPECT_EQ(dir.ReadFile("dest/beta.txt"), std::string(2048, 'b'));
    EXPECT_FALSE(dir.Exists("dest/gamma.txt"));
    EXPECT_EQ(desktop.Texts().back(), "File Sync Successful!");
}

TEST_F(MainWindowTest, CtrlSSyncsAndTheProgressDialogShowsDuringTheRun) {
    (void)main().SourceDirListBox.SetDirectory(dir.Path("source"));
    main().SelectAll1Click();
    EXPECT_TRUE(window.selectAllBox()->isChecked());
    bool captured = false;
    desktop.onPump = [&](int) {
        EXPECT_FALSE(window.syncButton()->isEnabled() && window.centralWidget()->isEnabled());
        if (!captured && window.syncBoxView()->isVisible()) {
            SaveScreenshot(window.syncBoxView(), "syncbox-during-run.png");
            captured = true;
        }
    };
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(captured);
    EXPECT_TRUE(InStep());
    EXPECT_EQ(windows.logFile.FileSuccess.Count(), 3u);
    EXPECT_TRUE(window.centralWidget()->isEnabled());
}

// Buttons, lists and boxes each keep their own place inside the window, and
// every label has room for its text.
void ExpectControlsApartAndWhole(QMainWindow& window) {
    QWidget* client = window.centralWidget();
    std::vector<QWidget*> controls;
    for (QWidget* child : client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QComboBox*>(child) ||
            qobject_cast<QAbstractItemView*>(child)) {
            controls.push_back(child);
        }
    }
    ASSERT_GE(controls.size(), 10u);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(controls[i]->metaObject()->className());
        EXPECT_TRUE(client->rect().contains(controls[i]->geometry()));
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[j]->metaObject()->className();
        }
    }
    for (QLabel* label : client->findChildren<QLabel*>()) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        EXPECT_TRUE(client->rect().contains(label->geometry())) << label->text().toStdString();
    }
}

TEST_F(MainWindowTest, ControlsNeitherOverlapNorLeaveTheWindow) {
    QApplication::processEvents();
    ExpectControlsApartAndWhole(window);
}

// The three lists take the room of a larger window, so a long name shows
// whole; the window never gets smaller than it was drawn for, and the model
// keeps its size for the settings.
TEST_F(MainWindowTest, TheListsTakeTheRoomOfALargerWindow) {
    const std::string name = "Résumé – José Ño, the final version.txt";
    dir.CreateFile("source/" + name, "r", kStamp);
    (void)main().SourceDirListBox.SetDirectory(dir.Path("source"));
    QListWidget* files = window.fileList();
    auto nameFits = [files, row = RowOf(files, QString::fromStdString(name))] {
        return files->visualItemRect(files->item(row)).width() <= files->viewport()->width();
    };
    EXPECT_FALSE(nameFits());
    const QSize least = window.size();
    const QList<QWidget*> lists = {window.sourcePane(), files, window.destPane()};
    std::vector<QSize> before;
    for (QWidget* list : lists) before.push_back(list->size());
    window.resize(least + QSize(400, 200));
    QApplication::processEvents();
    for (int i = 0; i < lists.size(); ++i) {
        EXPECT_GE(lists[i]->width(), before[i].width() + 100);
        EXPECT_EQ(lists[i]->height(), before[i].height() + 200);
    }
    EXPECT_TRUE(nameFits());
    EXPECT_EQ(main().windowWidth, window.width());
    EXPECT_EQ(main().windowHeight, window.height());
    ExpectControlsApartAndWhole(window);
    EXPECT_TRUE(InStep());
    SaveScreenshot(&window, "mainwindow-large.png");
    window.resize(100, 100);
    EXPECT_EQ(window.size(), least);
}

// The close box and Alt+F4 (the window system's close) are the Exit command.
TEST_F(MainWindowTest, F1AsksForTheMainWindowsHelpAndTheCloseBoxSavesAsExitDoes) {
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(desktop.helpContexts, std::vector<int>{1});
    EXPECT_EQ(window.windowTitle(), "Twinfold for Windows - tfoldw.ini");
    const std::string before = dir.ReadFile("prog/tfoldw.ini");
    (void)main().DestDirListBox.SetDirectory(dir.Path("source"));
    for (bool ticked : {false, true}) {
        main().SaveSettingsonExit.SetChecked(ticked);
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        static_cast<QObject&>(window).event(&close);
        EXPECT_TRUE(close.isAccepted());
        EXPECT_EQ(dir.ReadFile("prog/tfoldw.ini") != before, ticked);
    }
    dir.CreateFile("prog/other.ini", dir.ReadFile("prog/tfoldw.ini"));
    main().LoadSettingsFile(dir.Path("prog/other.ini"));
    EXPECT_EQ(window.windowTitle(), "Twinfold for Windows - other.ini");
}

// Tab goes through the window as one reads it, row by row, and round again.
TEST_F(MainWindowTest, TabFollowsTheWindowAndEveryControlHasItsOwnAltLetter) {
    const QStringList order{"SourceDirListBox", "FileList",       "DestDirListBox",  "EditFilter",
                            "SyncBtn",          "DriveComboBox2", "DriveComboBox1",  "ExitBtn",
                            "cbSelectAll",      "SyncAll",        "SourceDirListBox"};
    QStringList visited;
    for (window.sourcePane()->setFocus(); visited.size() < order.size();
         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab)) {
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, order);

    // Every control has an Alt letter of its own, a list or box its label's;
    // the menu bar's are not taken again.
    std::set<QString> letters{""};
    std::set<QObject*> reached;
    auto claim = [&](const QString& text, QObject* control) {
        EXPECT_TRUE(letters.insert(QKeySequence::mnemonic(text).toString()).second)
            << text.toStdString();
        reached.insert(control);
    };
    for (QAction* action : window.menuBar()->actions()) claim(action->text(), action);
    for (auto* button : window.centralWidget()->findChildren<QAbstractButton*>())
        claim(button->text(), button);
    for (auto* label : window.centralWidget()->findChildren<QLabel*>())
        if (label->buddy()) claim(label->text(), label->buddy());
    for (QObject* child : window.centralWidget()->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && (control->focusPolicy() & Qt::TabFocus)) {
            EXPECT_TRUE(reached.count(control)) << control->objectName().toStdString();
        }
    }
}

// F5 shows what appeared on disk in both panes and keeps the marks.
TEST_F(MainWindowTest, F5ReadsBothPanesAgainAndCtrlQQuits) {
    (void)main().SourceDirListBox.SetDirectory(dir.Path("source"));
    QTest::mouseClick(window.fileList()->viewport(), Qt::LeftButton, {},
                      RowCentre(window.fileList(), 1));
    dir.CreateDirectory("source/fresh");
    dir.CreateDirectory("dest/made");
    dir.CreateFile("source/delta.txt");
    QTest::keyClick(&window, Qt::Key_F5);
    EXPECT_GE(RowOf(window.sourcePane(), "fresh"), 0);
    EXPECT_GE(RowOf(window.destPane(), "made"), 0);
    EXPECT_GE(RowOf(window.fileList(), "delta.txt"), 0);
    EXPECT_EQ(main().FileList.SelCount(), 1);
    EXPECT_TRUE(InStep());
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, OptionsFromTheMenuFilterTheFileList) {
    dir.CreateFile("source/keep.txt", "k", kStamp);
    (void)main().SourceDirListBox.SetDirectory(dir.Path("source"));
    main().EditFilter.Choose(1);  // custom: include and exclude patterns
    ASSERT_EQ(window.fileList()->count(), 4);

    QAction* options = nullptr;
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text() == "&Options...") options = action;
    }
    ASSERT_NE(options, nullptr);
    options->trigger();
    auto* view = window.optionsView();
    ASSERT_TRUE(view->isVisible());
    auto* include = view->findChild<QLineEdit*>("EditInclude");
    auto* exclude = view->findChild<QLineEdit*>("EditExclude");
    ASSERT_NE(include, nullptr);
    include->clear();
    QTest::keyClicks(include, "*.txt");
    QTest::mouseClick(view->findChild<QPushButton*>("AddInclude"), Qt::LeftButton);
    QTest::keyClicks(exclude, "g*");
    QTest::keyClick(exclude, Qt::Key_Return);
    SaveScreenshot(view, "options-from-menu.png");
    QTest::mouseClick(view->findChild<QPushButton*>("Ok"), Qt::LeftButton);

    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(windows.options.includeFilters(), "*.txt;");
    EXPECT_EQ(windows.options.excludeFilters(), "g*;");
    QStringList shown;
    for (int i = 0; i < window.fileList()->count(); ++i)
        shown << window.fileList()->item(i)->text();
    EXPECT_EQ(shown, (QStringList{"alpha.txt", "beta.txt", "keep.txt"}));
    EXPECT_TRUE(InStep());
}

// An exclusion pass that re-reads nothing (Custom with the mask "All files"
// left) still leaves the rows, the marks and the summary those of the model,
// so a click marks the file clicked and Sync copies only that one.
TEST_F(MainWindowTest, CustomWithAnUnchangedMaskKeepsTheViewInStepWithTheModel) {
    (void)main().SourceDirListBox.SetDirectory(dir.Path("source"));
    EXPECT_TRUE(InStep());
    QAction* options = MenuBarAction(window, "&Options...");
    ASSERT_NE(options, nullptr);
    options->trigger();
    auto* exclude = window.optionsView()->findChild<QLineEdit*>("EditExclude");
    QTest::keyClicks(exclude, "a*");
    QTest::keyClick(exclude, Qt::Key_Return);
    QTest::mouseClick(window.optionsView()->findChild<QPushButton*>("Ok"), Qt::LeftButton);
    EXPECT_TRUE(InStep());

    ChooseFileType(window.fileTypeBox(), 0);
    EXPECT_TRUE(InStep());
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window.countLabel()->text().toStdString(), "Total Files Selected: 3");
    EXPECT_TRUE(InStep());

    ChooseFileType(window.fileTypeBox(), 1);
    EXPECT_EQ(main().FileList.Mask(), "*.*");
    EXPECT_EQ(window.fileList()->count(), 2);
    EXPECT_EQ(window.countLabel()->text().toStdString(), "Total Files Selected: 2");
    EXPECT_TRUE(InStep());

    auto* files = window.fileList();
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, RowCentre(files, 0));
    EXPECT_EQ(files->item(0)->text(), "beta.txt");
    EXPECT_EQ(main().FileList.SelCount(), 1);
    EXPECT_TRUE(main().FileList.Selected(0));
    EXPECT_TRUE(InStep());
    QTest::mouseClick(window.syncButton(), Qt::LeftButton);
    EXPECT_EQ(dir.Names("dest"), std::vector<std::string>{"beta.txt"});
    EXPECT_TRUE(InStep());
}

// The focused list frames its current entry; without the focus, no frame.
TEST_F(MainWindowTest, TheFocusedListFramesItsCurrentEntry) {
    (void)main().SourceDirListBox.SetDirectory(dir.Path("source"));
    auto* files = window.fileList();
    window.sourcePane()->setFocus();
    const QImage unfocused = files->grab().toImage();
    files->setFocus();
    ASSERT_TRUE(files->hasFocus());
    const QImage focused = files->grab().toImage();
    const QRect frame = files->FocusFrame().translated(files->viewport()->pos());
    EXPECT_EQ(frame, files->visualItemRect(files->item(0)).translated(files->viewport()->pos()));
    int changed = 0;
    for (int x = frame.left(); x <= frame.right(); ++x) {
        changed += focused.pixel(x, frame.top()) != unfocused.pixel(x, frame.top());
    }
    EXPECT_GT(changed, frame.width() / 4);
    SaveScreenshot(files, "filelist-focused.png");
}

// Shift+F10 and the Menu key open a list's context menu at its current entry,
// so its commands need no mouse.
TEST_F(MainWindowTest, ShiftF10AndTheMenuKeyOpenTheContextMenuAtTheCurrentEntry) {
    (void)main().SourceDirListBox.SetDirectory(dir.Path("source"));
    struct Case {
        const char* name;
        QListWidget* list;
        QMenu* menu;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {
        {"file list, Shift+F10", window.fileList(), window.fileListMenu(), Qt::Key_F10,
         Qt::ShiftModifier},
        {"file list, Menu key", window.fileList(), window.fileListMenu(), Qt::Key_Menu, {}},
        {"source pane, Shift+F10", window.sourcePane(), window.sourceDirMenu(), Qt::Key_F10,
         Qt::ShiftModifier},
        {"destination pane, Menu key", window.destPane(), window.destDirMenu(), Qt::Key_Menu, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.list->setFocus();
        QTest::keyClick(c.list, Qt::Key_End);
        QWidget* opened = nullptr;
        QPoint at;
        QTimer::singleShot(0, c.list, [&] {
            opened = QApplication::activePopupWidget();
            if (opened) at = opened->pos();
            if (opened) opened->close();
        });
        QTest::keyClick(c.list, c.key, c.modifiers);
        EXPECT_EQ(opened, c.menu);
        QRect entry = c.list->visualItemRect(c.list->currentItem());
        entry.moveTopLeft(c.list->viewport()->mapToGlobal(entry.topLeft()));
        EXPECT_TRUE(entry.contains(at)) << at.x() << "," << at.y();
        EXPECT_TRUE(InStep());
    }

    // The whole way to "UnSelect All" by keyboard.
    window.fileList()->setFocus();
    QTest::keyClick(window.fileList(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(main().FileList.SelCount(), 3);
    QTimer::singleShot(0, window.fileList(), [] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::keyClick(window.fileList(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(main().FileList.SelCount(), 0);
    EXPECT_FALSE(window.selectAllBox()->isChecked());
    EXPECT_TRUE(InStep());
}

TEST_F(MainWindowTest, AboutFromTheHelpMenuAndTheSpecialDialogBehindItsHiddenSpot) {
    QAction* about = window.action("&About");
    ASSERT_NE(about, nullptr);
    QStringList texts;
    auto* aboutView = window.aboutBoxView();
    auto* specialView = window.secretBoxView();
    QTimer::singleShot(0, aboutView, [&] {
        EXPECT_TRUE(aboutView->isVisible());
        QWidget* spot = aboutView->findChild<QWidget*>("Panel2");
        ASSERT_NE(spot, nullptr);
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, specialView, [&] {
                texts << specialView->findChild<QLabel*>("txt")->text();
                specialView->close();
            });
            QTest::mouseDClick(spot, Qt::LeftButton);
        }
        EXPECT_TRUE(aboutView->isVisible());
        aboutView->close();
    });
    about->trigger();
    EXPECT_FALSE(windows.about.Visible());
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_EQ(texts[0].size(), 53);
}

}  // namespace

// "Preview Sync" shows what a Sync of the selection would do, copies nothing,
// keeps the run log of real runs, and saves its lines where the person says.
TEST_F(MainWindowTest, PreviewSyncListsTheDecisionsAndCopiesNothing) {
    dir.CreateFile("dest/beta.txt", "newer copy", kStamp + 3600);
    (void)main().SourceDirListBox.SetDirectory(dir.Path("source"));
    main().SelectAll1Click();
    QAction* preview = nullptr;
    for (QAction* action : MenuBarAction(window, "&File")->menu()->actions()) {
        if (action->text() == "&Preview Sync") preview = action;
    }
    ASSERT_NE(preview, nullptr);
    preview->trigger();

    auto* view = window.previewView();
    ASSERT_TRUE(view->isVisible());
    EXPECT_TRUE(view->isModal());
    auto* lines = view->findChild<QListWidget*>("Lines");
    ASSERT_EQ(lines->count(), 3);
    EXPECT_EQ(lines->item(0)->text().toStdString(),
              "copy " + dir.Path("source/alpha.txt") + " -> " + dir.Path("dest/alpha.txt"));
    EXPECT_EQ(lines->item(1)->text().toStdString(), "skip " + dir.Path("source/beta.txt"));
    EXPECT_EQ(view->findChild<QLabel*>("Counts")->text(),
              "2 to copy (1025 bytes), 1 to skip, 0 to fail");
    EXPECT_EQ(dir.Names("dest"), std::vector<std::string>{"beta.txt"});
    EXPECT_EQ(windows.logFile.FileSuccess.Count() + windows.logFile.FileOld.Count(), 0u);
    EXPECT_TRUE(desktop.Texts().empty()) << "a preview ends without a success box";
    view->resize(760, 260);
    SaveScreenshot(view, "preview.png");

    desktop.fileAnswers.push_back(dir.Path("preview.txt"));
    QTest::mouseClick(view->findChild<QPushButton*>("Save"), Qt::LeftButton);
    EXPECT_EQ(dir.ReadFile("preview.txt"), lines->item(0)->text().toStdString() + "\r\n" +
                                               lines->item(1)->text().toStdString() + "\r\n" +
                                               lines->item(2)->text().toStdString() + "\r\n");
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(windows.preview.Visible());
    EXPECT_TRUE(InStep());

    // A whole-tree preview keeps the person's marks, which the walk would drop.
    main().SyncAll.SetChecked(true);
    main().SyncAllClick();
    preview->trigger();
    EXPECT_EQ(lines->count(), 3);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(main().FileList.SelCount(), 3);
    EXPECT_TRUE(main().cbSelectAll.Checked());
    EXPECT_EQ(dir.Names("dest"), std::vector<std::string>{"beta.txt"});
    EXPECT_TRUE(InStep());
}
