#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>
#include <functional>

#include "Screenshot.h"
#include "ViewConsistency.h"
#include "batch/BatchFile.h"
#include "main/Windows.h"
#include "qt/MainWindow.h"
#include "qt/OptionsView.h"
#include "qt/SyncBoxView.h"
#include "settings/SyncSettings.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

using namespace twinfold;
using twinfold::test::SaveScreenshot;

namespace {

const std::int64_t kStamp = test::LocalTime(2022, 3, 4, 5, 6, 8);

// Lets a test look at the window while a message box is up.
class WatchingDesktop : public test::ScriptedDesktop {
public:
    bool Show(const MessageBox& box) override {
        if (onShow) onShow();
        return ScriptedDesktop::Show(box);
    }
    std::function<void()> onShow;
};

class BatchRunViewTest : public ::testing::Test {
protected:
    BatchRunViewTest() {
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Two entries that copy a tree each.
    std::string Batch() {
        std::vector<std::string> entries;
        for (const char* name : {"one", "two"}) {
            const std::string tree = name;
            dir.CreateFile(tree + "/a.txt", "a", kStamp);
            dir.CreateFile(tree + "/b.txt", "b", kStamp);
            dir.CreateDirectory(tree + "-copy");
            SyncSettings s;
            s.SourceDir = dir.Path(tree);
            s.DestDir = dir.Path(tree + "-copy");
            s.SyncAll = true;
            TIniFile file(dir.Path(tree + ".ini"));
            EXPECT_TRUE(WriteSyncSettings(file, s).ok());
            entries.push_back(dir.Path(tree + ".ini"));
        }
        EXPECT_TRUE(test::Shown(WriteBatchFile(dir.Path("nightly.tfw"), entries), desktop));
        return dir.Path("nightly.tfw");
    }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    WatchingDesktop desktop;
    Windows windows{desktop, dir.ProgramDir()};
    qt::MainWindow window{windows, desktop};
};

TEST_F(BatchRunViewTest, TheMenuItemRunsTheChosenBatchWithTheWindowDisabledThroughout) {
    desktop.fileAnswers.push_back(Batch());
    int pumps = 0;
    int enabledPumps = 0;
    int outOfStep = 0;
    bool captured = false;
    desktop.onPump = [&](int) {
        ++pumps;
        // The panes follow the walk, a disabled window within a tenth of a
        // second; what they show is then their models.
        QTest::qWait(120);
        if (!test::WindowMatchesModel(window, windows.main)) ++outOfStep;
        if (window.menuBar()->isEnabled() || window.centralWidget()->isEnabled()) ++enabledPumps;
        if (!captured && window.syncBoxView()->isVisible()) {
            SaveScreenshot(&window, "mainwindow-during-batch.png");
            SaveScreenshot(window.syncBoxView(), "syncbox-during-batch.png");
            captured = true;
        }
    };
    QAction* run = window.action("&Run Batch File...");
    ASSERT_NE(run, nullptr);
    run->trigger();

    ASSERT_EQ(desktop.fileDialogs.size(), 1u);
    EXPECT_EQ(desktop.fileDialogs[0].filter, "TFold Batch (*.tfw)|*.tfw|All Files (*.*)|*.*");
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(enabledPumps, 0);
    EXPECT_EQ(outOfStep, 0);
    EXPECT_TRUE(captured);
    EXPECT_TRUE(dir.Exists("one-copy/b.txt"));
    EXPECT_TRUE(dir.Exists("two-copy/b.txt"));
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"Batch Process Sync Successful!"});
    EXPECT_TRUE(window.menuBar()->isEnabled());
    EXPECT_TRUE(window.centralWidget()->isEnabled());
}

// Between entries, while a skip message is up and no Sync command runs, the
// window stays disabled too; the closing message comes before it is enabled.
TEST_F(BatchRunViewTest, TheWindowStaysDisabledWhileTheBatchShowsItsMessages) {
    const std::string batch = dir.Path("skip.tfw");
    ASSERT_TRUE(test::Shown(WriteBatchFile(batch, {dir.Path("absent.ini"), dir.Path("absent.ini")}),
                            desktop));
    std::vector<bool> enabledAtBoxes;
    desktop.onShow = [&] { enabledAtBoxes.push_back(window.menuBar()->isEnabled()); };
    windows.main.ExecuteBatch(batch);
    EXPECT_EQ(enabledAtBoxes, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(window.menuBar()->isEnabled());
    EXPECT_TRUE(window.centralWidget()->isEnabled());
}

// Each entry lists and copies by its own file type and patterns, whatever
// the entry before it showed; the window is left showing the last entry's
// list, which is the model's.
TEST_F(BatchRunViewTest, EachEntryCopiesWhatItsOwnPatternsSelect) {
    for (const char* name : {"a.txt", "b.txt", "c.doc", "d.xls"}) {
        dir.CreateFile(std::string("src/") + name, name, kStamp);
        dir.CreateFile(std::string("other/") + name, name, kStamp);
    }
    struct Case {
        const char* name;
        const char* secondSource;
    } cases[] = {{"same source directory", "src"}, {"another source directory", "other"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = std::string("out/") + c.name;
        SyncSettings all;
        all.SourceDir = dir.Path("src");
        all.DestDir = dir.CreateDirectory(out + "/all");
        all.SelectAll = true;
        SyncSettings custom = all;
        custom.SourceDir = dir.Path(c.secondSource);
        custom.DestDir = dir.CreateDirectory(out + "/custom");
        custom.Filetype = 1;
        custom.Include = "*.txt;*.doc;";
        custom.Exclude = "a*;";
        TIniFile allFile(dir.Path("all.ini"));
        TIniFile customFile(dir.Path("custom.ini"));
        ASSERT_TRUE(WriteSyncSettings(allFile, all).ok());
        ASSERT_TRUE(WriteSyncSettings(customFile, custom).ok());
        const std::string batch = dir.Path("two.tfw");
        ASSERT_TRUE(test::Shown(
            WriteBatchFile(batch, {dir.Path("all.ini"), dir.Path("custom.ini")}), desktop));
        desktop.fileAnswers.push_back(batch);
        window.action("&Run Batch File...")->trigger();

        EXPECT_EQ(dir.Names(out + "/all"),
                  (std::vector<std::string>{"a.txt", "b.txt", "c.doc", "d.xls"}));
        EXPECT_EQ(dir.Names(out + "/custom"), (std::vector<std::string>{"b.txt", "c.doc"}));
        EXPECT_EQ(window.fileTypeBox()->currentText().toStdString(),
                  "Custom - Use Include/Exclude lists");
        EXPECT_EQ(window.fileList()->count(), 2);
        EXPECT_TRUE(test::WindowMatchesModel(window, windows.main));
        auto* excludes = window.optionsView()->findChild<QListWidget*>("ExcludeList");
        ASSERT_EQ(excludes->count(), 1);
        EXPECT_EQ(excludes->item(0)->text().toStdString(), "a*");
    }
    SaveScreenshot(&window, "mainwindow-after-batch.png");
}

}  // namespace
