#include "ViewConsistency.h"
#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "qt/DirectoryListView.h"
#include "qt/FileListView.h"
#include "qt/MainWindow.h"

using namespace twinfold;

namespace {

QPoint RowCentre(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

int RowOf(QListWidget* list, const std::string& text) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().toStdString() == text) return i;
    }
    return -1;
}

// The program started on a default settings file the test writes first.
class SettingsViewTest : public ::testing::Test {
protected:
    void Start() {
        windows = std::make_unique<Windows>(desktop, prog);
        window = std::make_unique<qt::MainWindow>(*windows, desktop);
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    TMain& main() { return windows->main; }
    std::string Ini() { return dir.ReadFile("prog/tfoldw.ini"); }
    ::testing::AssertionResult InStep() { return test::WindowMatchesModel(*window, main()); }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    std::string prog = dir.ProgramDir();
    test::ScriptedDesktop desktop;
    std::unique_ptr<Windows> windows;
    std::unique_ptr<qt::MainWindow> window;
};

// "SelectAll=1" shows every entry of the stored file type selected, and the
// next Exit stores it again.
TEST_F(SettingsViewTest, SelectAllAtStartUpShowsEveryEntrySelected) {
    for (const char* name : {"a.txt", "b.txt", "c.doc"}) dir.CreateFile(std::string("src/") + name);
    dir.CreateFile("prog/tfoldw.ini", "[Settings]\nSourceDir=" + dir.Path("src") +
                                          "\nDestDir=" + dir.CreateDirectory("dst") +
                                          "\nSelectAll=1\nWindowWidth=700\nWindowHeight=450"
                                          "\n[Options]\nFiletype=0\n");
    Start();
    EXPECT_EQ(window->size(), QSize(700, 450));
    EXPECT_TRUE(window->selectAllBox()->isChecked());
    EXPECT_EQ(window->fileList()->selectedItems().size(), 3);
    EXPECT_EQ(window->countLabel()->text().toStdString(), "Total Files Selected: 3");
    EXPECT_TRUE(InStep());
    QTest::mouseClick(window->exitButton(), Qt::LeftButton);
    EXPECT_NE(Ini().find("SelectAll=1"), std::string::npos);
    EXPECT_NE(Ini().find("WindowWidth=700\nWindowHeight=450\n"), std::string::npos);
}

// A settings file that cannot be written keeps the window open after Exit.
TEST_F(SettingsViewTest, ExitWithAReadOnlySettingsFileStaysOpen) {
    Start();
    dir.MakeReadOnly("prog/tfoldw.ini");
    const std::string before = Ini();
    QTest::mouseClick(window->exitButton(), Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.Texts(),
              std::vector<std::string>{"Unable to write to " + prog + "tfoldw.ini"});
    EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(Ini(), before);
    EXPECT_TRUE(desktop.helpContexts.empty()) << "the help stays open too";
}

// A sparse file of 3 GiB counts in full.
TEST_F(SettingsViewTest, AThreeGibFileCountsInFullInTheSummary) {
    std::filesystem::resize_file(dir.CreateFile("src/big.iso"), std::uintmax_t{3} << 30);
    dir.CreateFile("src/small.txt", std::string(1024, 's'));
    Start();
    ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path("src")).ok());
    auto* files = window->fileList();
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      RowCentre(files, RowOf(files, "big.iso")));
    EXPECT_EQ(window->sizeLabel()->text().toStdString(), "Selected Size: 3145728 KBytes");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      RowCentre(files, RowOf(files, "small.txt")));
    EXPECT_EQ(window->sizeLabel()->text().toStdString(), "Selected Size: 3145729 KBytes");
    EXPECT_TRUE(InStep());
}

// A directory whose name holds a line feed, opened in the destination pane,
// is refused by Save Default Settings: a message names the file and the key,
// and the file stays as it was.
TEST_F(SettingsViewTest, ADirectoryNameWithALineFeedIsRefused) {
    const std::string odd = "x\n[Options]\nInclude=evil;";
    dir.CreateDirectory("dst/" + odd);
    Start();
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    auto* pane = window->destPane();
    const int row = RowOf(pane, odd);
    ASSERT_GE(row, 0);
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, RowCentre(pane, row));
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, RowCentre(pane, row));
    ASSERT_EQ(main().DestDirListBox.Directory(), dir.Path("dst/" + odd));
    EXPECT_TRUE(InStep());

    const std::string before = Ini();
    window->action("Save Default Settings")->trigger();
    EXPECT_EQ(Ini(), before);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_NE(desktop.Texts()[0].find(prog + "tfoldw.ini"), std::string::npos);
    EXPECT_NE(desktop.Texts()[0].find("DestDir"), std::string::npos);
    EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Error);
}

}  // namespace
