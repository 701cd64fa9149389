#include <gtest/gtest.h>

#include <filesystem>

#include "main/RunProgress.h"
#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;
using twinfold::test::LocalTime;

namespace {

const std::int64_t kOld = LocalTime(2020, 1, 1, 10, 0, 0);
const std::int64_t kNew = LocalTime(2021, 6, 1, 10, 0, 0);
const std::string kInLog = ". The failed files are in the run log (Log menu).";

std::vector<std::string> Entries(const LogList& list) { return list.Entries(); }

class SyncCommandTest : public ::testing::Test {
protected:
    // One file after the other, so that a test can act at a known message pump.
    SyncCommandTest() : windows(desktop, dir.ProgramDir()) {
        windows.main.syncWorkers = 0;
        dir.CreateDirectory("src");
        dir.CreateDirectory("dst");
    }

    void Open(const std::string& source, const std::string& dest) {
        ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path(source)).ok());
        ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path(dest)).ok());
    }

    void Select(const std::vector<std::string>& names) {
        for (int i = 0; i < main().FileList.Count(); ++i) {
            for (const auto& name : names) {
                if (main().FileList.Items()[i].text == name) main().FileList.SetSelected(i, true);
            }
        }
    }

    // Presses Cancel at the given pump and answers its question.
    void CancelAtPump(int pump, bool confirm) {
        desktop.onPump = [this, pump, confirm](int n) {
            if (n != pump) return;
            desktop.answers.push_back(confirm);
            windows.syncBox.CancelClick();
        };
    }

    TMain& main() { return windows.main; }
    std::vector<std::string> Success() { return Entries(windows.logFile.FileSuccess); }
    std::vector<std::string> Old() { return Entries(windows.logFile.FileOld); }
    std::vector<std::string> Failed() { return Entries(windows.logFile.FileFailed); }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows;
};

TEST_F(SyncCommandTest, SelectedFilesAreCopiedOrSkippedByStamp) {
    dir.CreateFile("src/missing.txt", "new", kNew);
    dir.CreateFile("src/older.txt", "fresh", kNew);
    dir.CreateFile("dst/older.txt", "stale", kOld);
    dir.CreateFile("src/same.txt", "a", kNew);
    dir.CreateFile("dst/same.txt", "b", kNew + 1);  // within the 2-second resolution
    dir.CreateFile("src/newer.txt", "a", kOld);
    dir.CreateFile("dst/newer.txt", "keep", kNew);
    dir.CreateFile("src/folder.txt", "a", kNew);
    dir.CreateDirectory("dst/folder.txt");
    dir.SetModified("dst/folder.txt", kOld);
    dir.CreateFile("src/unselected.txt", "x", kNew);
    Open("src", "dst");
    Select({"missing.txt", "older.txt", "same.txt", "newer.txt", "folder.txt"});

    main().SyncBtnClick();

    EXPECT_EQ(dir.ReadFile("dst/missing.txt"), "new");
    EXPECT_EQ(dir.ReadFile("dst/older.txt"), "fresh");
    EXPECT_EQ(dir.ReadFile("dst/same.txt"), "b");
    EXPECT_EQ(dir.ReadFile("dst/newer.txt"), "keep");
    EXPECT_FALSE(dir.Exists("dst/unselected.txt"));
    EXPECT_EQ(Success(),
              (std::vector<std::string>{dir.Path("src/missing.txt"), dir.Path("src/older.txt")}));
    EXPECT_EQ(Old(),
              (std::vector<std::string>{dir.Path("src/newer.txt"), dir.Path("src/same.txt")}));
    EXPECT_EQ(Failed(), std::vector<std::string>{dir.Path("src/folder.txt")});
    EXPECT_EQ(desktop.Texts().back(), "File Sync finished: 2 copied, 2 skipped, 1 failed" + kInLog);
    EXPECT_EQ(desktop.boxes.back().kind, BoxKind::Error);
    EXPECT_EQ(desktop.Texts().front(), "Could not create destination file: " +
                                           dir.Path("dst/folder.txt") + ".  File not copied!");
    EXPECT_EQ(desktop.boxes.front().detail, "Is a directory");
    EXPECT_EQ(windows.syncBox.Gauge.MaxValue(), 5);
    EXPECT_EQ(windows.syncBox.Gauge.Progress(), 5);
    EXPECT_FALSE(windows.syncBox.Visible());
    // Messages are pumped for every listed file, selected or not.
    EXPECT_EQ(desktop.pumps, 6);
}

TEST_F(SyncCommandTest, AfterNoMoreBoxesIsTickedFailuresGoOnlyToTheLogAndAreCounted) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        dir.CreateFile(std::string("src/") + name, "new", kNew);
        dir.CreateDirectory(std::string("dst/") + name);  // never replaced by a file
        dir.SetModified(std::string("dst/") + name, kOld);
    }
    Open("src", "dst");
    Select({"a.txt", "b.txt", "c.txt"});
    desktop.quietAfter = {true};

    main().SyncBtnClick();

    EXPECT_EQ(Failed().size(), 3u);
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.Texts().back(), "File Sync finished: 0 copied, 0 skipped, 3 failed" + kInLog);
    EXPECT_EQ(desktop.boxes.back().detail, "2 failures were not shown.");
    // The next run shows its failures again.
    main().SyncBtnClick();
    EXPECT_EQ(desktop.boxes.size(), 6u);
}

TEST_F(SyncCommandTest, NothingSelectedIsReportedAndSecondRunSkipsWhatTheFirstCopied) {
    dir.CreateFile("src/a.txt", "a", kNew);
    Open("src", "dst");
    main().SyncBtnClick();
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"No items selected to sync!"});
    EXPECT_TRUE(Success().empty());

    Select({"a.txt"});
    main().SyncBtnClick();
    Select({"a.txt"});
    main().SyncBtnClick();
    EXPECT_EQ(Success(), std::vector<std::string>{dir.Path("src/a.txt")});
    EXPECT_EQ(Old(), std::vector<std::string>{dir.Path("src/a.txt")});
}

TEST_F(SyncCommandTest, CancelBetweenSelectedFilesAnsweredNoThenYes) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        dir.CreateFile(std::string("src/") + name, name, kNew);
    Open("src", "dst");
    Select({"a.txt", "b.txt", "c.txt"});
    CancelAtPump(2, false);
    main().SyncBtnClick();
    EXPECT_EQ(Success().size(), 3u);
    EXPECT_EQ(desktop.Texts().back(), "File Sync Successful!");

    windows.logFile.BitBtn2Click();
    fs::remove_all(dir.Path("dst"));
    dir.CreateDirectory("dst");
    desktop.boxes.clear();
    desktop.pumps = 0;
    Select({"a.txt", "b.txt", "c.txt"});
    // Pressed once two files are in, whatever pumps a slow copy added before.
    desktop.onPump = [this](int) {
        if (windows.logFile.FileSuccess.Count() != 2 ||
            windows.syncBox.ModalResult() != TSyncBox::kRunOn) {
            return;
        }
        desktop.answers.push_back(true);
        windows.syncBox.CancelClick();
    };
    main().SyncBtnClick();
    EXPECT_EQ(Success(), (std::vector<std::string>{dir.Path("src/a.txt"), dir.Path("src/b.txt")}));
    EXPECT_FALSE(dir.Exists("dst/c.txt"));
    EXPECT_EQ(desktop.Texts(), (std::vector<std::string>{"Are you sure you wish to cancel?",
                                                         "Operation Canceled!"}));
    EXPECT_FALSE(windows.syncBox.Visible());
}

TEST_F(SyncCommandTest, WalkMirrorsTheTreePostOrderAndRestoresThePanes) {
    dir.CreateFile("src/top.txt", "t", kNew);
    dir.CreateFile("src/B/b.txt", "b", kNew);
    dir.CreateFile("src/a/x.txt", "x", kNew);
    dir.CreateFile("src/a/deep/y.txt", "y", kNew);
    dir.CreateDirectory("src/empty");
    dir.CreateFile("src/.hidden/h.txt", "h", kNew);
    dir.CreateDirectory("src/a/.cache");
    Open("src", "dst");
    main().SyncAll.SetChecked(true);

    main().SyncBtnClick();

    EXPECT_EQ(Success(),
              (std::vector<std::string>{dir.Path("src/a/deep/y.txt"), dir.Path("src/a/x.txt"),
                                        dir.Path("src/B/b.txt"), dir.Path("src/top.txt")}));
    EXPECT_EQ(dir.ReadFile("dst/a/deep/y.txt"), "y");
    EXPECT_TRUE(fs::is_directory(dir.Path("dst/empty")));
    EXPECT_FALSE(dir.Exists("dst/.hidden"));
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("src"));
    EXPECT_EQ(main().DestDirListBox.Directory(), dir.Path("dst"));
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"Directory Sync Successful!"});
    EXPECT_EQ(desktop.boxes[0].detail, "2 hidden directories left out.");
    EXPECT_EQ(windows.syncBox.Overall.Caption(), "4 of 4 files, 0.0 MB copied");
    EXPECT_FALSE(windows.syncBox.Visible());
}

TEST_F(SyncCommandTest, WalkWithSelectionAsksFirstAndNoEndsSilently) {
    dir.CreateFile("src/a.txt", "a", kNew);
    Open("src", "dst");
    main().SyncAll.SetChecked(true);
    Select({"a.txt"});
    desktop.answers = {false};
    main().SyncBtnClick();
    EXPECT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].caption, "Warning");
    EXPECT_TRUE(Success().empty());
    EXPECT_FALSE(dir.Exists("dst/a.txt"));

    desktop.answers = {true};
    main().SyncBtnClick();
    EXPECT_TRUE(dir.Exists("dst/a.txt"));
}

TEST_F(SyncCommandTest, WalkOfASelectedButUnopenedSubdirectory) {
    dir.CreateFile("src/top.txt", "t", kNew);
    dir.CreateFile("src/sub/s.txt", "s", kNew);
    dir.CreateFile("src/sub/inner/i.txt", "i", kNew);
    dir.CreateFile("src/other/o.txt", "o", kNew);
    Open("src", "dst");
    main().SyncAll.SetChecked(true);
    auto& pane = main().SourceDirListBox;
    for (int i = 0; i < pane.Count(); ++i) {
        if (pane.Items()[i].text == "sub") pane.SetItemIndex(i);
    }
    // A preview first leaves the selection as it was: the run does what it listed.
    const int selected = pane.ItemIndex();
    main().PreviewSync1Click();
    EXPECT_EQ(pane.ItemIndex(), selected);
    EXPECT_FALSE(dir.Exists("dst/sub"));
    main().SyncBtnClick();
    const auto listed = windows.preview.Lines().Entries();
    ASSERT_EQ(listed.size(), Success().size());
    for (std::size_t i = 0; i < listed.size(); ++i)
        EXPECT_EQ(listed[i].rfind("copy " + Success()[i] + " -> ", 0), 0u) << listed[i];
    EXPECT_EQ(dir.ReadFile("dst/sub/inner/i.txt"), "i");
    EXPECT_EQ(dir.ReadFile("dst/sub/s.txt"), "s");
    EXPECT_FALSE(dir.Exists("dst/top.txt"));
    EXPECT_FALSE(dir.Exists("dst/other"));
    EXPECT_EQ(pane.Directory(), dir.Path("src"));
}

TEST_F(SyncCommandTest, WalkSelectedAboveTheCurrentDirectoryStartsAtIt) {
    dir.CreateFile("src/a.txt", "a", kNew);
    dir.CreateFile("stray.txt", "never", kNew);
    Open("src", "dst");
    main().SyncAll.SetChecked(true);
    main().SourceDirListBox.SetItemIndex(0);  // the root
    main().SyncBtnClick();
    EXPECT_EQ(Success(), std::vector<std::string>{dir.Path("src/a.txt")});
}

TEST_F(SyncCommandTest, CancelBetweenDirectoriesStopsTheWalk) {
    dir.CreateFile("src/a/1.txt", "1", kNew);
    dir.CreateFile("src/b/2.txt", "2", kNew);
    dir.CreateFile("src/c/3.txt", "3", kNew);
    dir.CreateFile("src/top.txt", "t", kNew);
    Open("src", "dst");
    main().SyncAll.SetChecked(true);
    // Pumps: position a (1), a's own files (2), 1.txt (3), position b (4).
    CancelAtPump(4, true);
    main().SyncBtnClick();
    EXPECT_EQ(Success(), std::vector<std::string>{dir.Path("src/a/1.txt")});
    EXPECT_FALSE(dir.Exists("dst/b"));
    EXPECT_FALSE(dir.Exists("dst/top.txt"));
    EXPECT_EQ(desktop.Texts().back(), "Operation Canceled!");
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("src"));
    EXPECT_EQ(main().DestDirListBox.Directory(), dir.Path("dst"));
}

TEST_F(SyncCommandTest, CancelAnsweredNoInAWalkGoesOn) {
    dir.CreateFile("src/a/1.txt", "1", kNew);
    dir.CreateFile("src/top.txt", "t", kNew);
    Open("src", "dst");
    main().SyncAll.SetChecked(true);
    CancelAtPump(3, false);
    main().SyncBtnClick();
    EXPECT_EQ(Success().size(), 2u);
    EXPECT_EQ(desktop.Texts().back(), "Directory Sync Successful!");
}

TEST_F(SyncCommandTest, BatchRunningSuppressesOnlyTheSuccessMessages) {
    dir.CreateFile("src/a.txt", "a", kNew);
    Open("src", "dst");
    main().batchRunning = true;
    main().SyncBtnClick();
    Select({"a.txt"});
    main().SyncBtnClick();
    main().SyncAll.SetChecked(true);
    main().SyncBtnClick();
    // The marks of the second run are still there: the walk asks first.
    ASSERT_EQ(desktop.Texts().size(), 2u);
    EXPECT_EQ(desktop.Texts()[0], "No items selected to sync!");
    EXPECT_EQ(desktop.boxes[1].caption, "Warning");
    EXPECT_EQ(Success().size(), 1u);
    EXPECT_EQ(Old().size(), 1u);
}

TEST_F(SyncCommandTest, SourceEqualToDestinationSkipsEverything) {
    dir.CreateFile("src/a.txt", "a", kNew);
    dir.CreateFile("src/sub/b.txt", "b", kNew);
    Open("src", "src");
    main().SyncAll.SetChecked(true);
    main().SyncBtnClick();
    EXPECT_TRUE(Success().empty());
    EXPECT_EQ(Old().size(), 2u);
}

TEST_F(SyncCommandTest, DestinationInsideTheSourceIsNotCopiedIntoItself) {
    dir.CreateFile("src/a.txt", "a", kNew);
    dir.CreateFile("src/sub/b.txt", "b", kNew);
    dir.CreateDirectory("src/backup");
    Open("src", "src/backup");
    main().SyncAll.SetChecked(true);
    main().SyncBtnClick();
    EXPECT_EQ(dir.ReadFile("src/backup/sub/b.txt"), "b");
    EXPECT_EQ(dir.ReadFile("src/backup/a.txt"), "a");
    EXPECT_FALSE(dir.Exists("src/backup/backup"));
    EXPECT_EQ(Success().size(), 2u);
}

TEST_F(SyncCommandTest, DestinationDirectoryThatCannotBeMadeCostsOnlyItsFiles) {
    dir.CreateFile("src/blocked/x.txt", "x", kNew);
    dir.CreateFile("src/fine/y.txt", "y", kNew);
    dir.CreateFile("dst/blocked", "a file in the way", kNew);
    Open("src", "dst");
    main().SyncAll.SetChecked(true);
    main().SyncBtnClick();
    EXPECT_EQ(Failed(), std::vector<std::string>{dir.Path("src/blocked/x.txt")});
    EXPECT_EQ(dir.ReadFile("dst/fine/y.txt"), "y");
    EXPECT_EQ(desktop.Texts().front(),
              "Could not create directory: " + dir.Path("dst/blocked") + ".  Files not copied!");
    EXPECT_EQ(desktop.Texts().back(),
              "Directory Sync finished: 1 copied, 0 skipped, 1 failed" + kInLog);
    EXPECT_FALSE(windows.syncBox.Visible());
}

TEST_F(SyncCommandTest, ASourceDirectoryThatVanishesIsSkippedAndTheWalkGoesOn) {
    dir.CreateFile("src/a/1.txt", "1", kNew);
    dir.CreateFile("src/b/2.txt", "2", kNew);
    dir.CreateFile("src/top.txt", "t", kNew);
    Open("src", "dst");
    main().SyncAll.SetChecked(true);
    desktop.onPump = [&](int n) {
        // Pump 4 comes just before position b.
        if (n == 4) fs::remove_all(dir.Path("src/b"));
    };
    main().SyncBtnClick();
    EXPECT_TRUE(dir.Exists("dst/a/1.txt"));
    EXPECT_TRUE(dir.Exists("dst/top.txt"));
    EXPECT_FALSE(dir.Exists("dst/b"));
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"Directory Sync Successful!"});
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("src"));
    EXPECT_EQ(main().DestDirListBox.Directory(), dir.Path("dst"));
    EXPECT_FALSE(windows.syncBox.Visible());
    EXPECT_FALSE(main().Running());
}

TEST_F(SyncCommandTest, ASecondSyncDuringARunIsRefused) {
    dir.CreateFile("src/a.txt", "a", kNew);
    dir.CreateFile("src/b.txt", "b", kNew);
    Open("src", "dst");
    Select({"a.txt", "b.txt"});
    bool sawRunning = false;
    desktop.onPump = [&](int) {
        sawRunning = main().Running();
        main().SyncBtnClick();
    };
    main().SyncBtnClick();
    EXPECT_TRUE(sawRunning);
    EXPECT_FALSE(main().Running());
    EXPECT_EQ(Success().size(), 2u);
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"File Sync Successful!"});
}

TEST(RunProgressText, SaysHowFarTheWholeRunHasCome) {
    struct Case {
        RunProgress progress;
        const char* text;
    };
    const Case cases[] = {
        {{3, 1500, false, 5 << 20, 2.0}, "3 of 1,500 files found so far, 5.0 MB copied"},
        {{1000, 3000, true, 0, 10.0}, "1,000 of 3,000 files, 0.0 MB copied, about 20 s left"},
        {{100, 3000, true, 0, 10.0}, "100 of 3,000 files, 0.0 MB copied, about 5 min left"},
        {{3000, 3000, true, 1 << 20, 10.0}, "3,000 of 3,000 files, 1.0 MB copied"},
    };
    for (const auto& c : cases) EXPECT_EQ(OverallText(c.progress), c.text);
}

}  // namespace
