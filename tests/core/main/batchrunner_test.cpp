#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/BatchFile.h"
#include "main/Windows.h"
#include "settings/SyncSettings.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

using namespace twinfold;
using twinfold::test::LocalTime;

namespace {

const std::int64_t kStamp = LocalTime(2021, 6, 1, 10, 0, 0);
const std::string kClosing = "Batch Process Sync Successful!";
const std::string kUnfinished = "Batch Process Sync finished with problems: ";

class BatchRunnerTest : public ::testing::Test {
protected:
    // One file after the other, so that a test can cancel at a known file.
    BatchRunnerTest() : windows(desktop, dir.ProgramDir()) { main().syncWorkers = 0; }

    // A settings file with every key; the entry copies `source` to `dest`.
    std::string Settings(const std::string& name, SyncSettings settings) {
        TIniFile file(dir.Path(name));
        EXPECT_TRUE(WriteSyncSettings(file, settings).ok());
        return dir.Path(name);
    }
    std::string Tree(const std::string& name, const std::string& source, const std::string& dest) {
        SyncSettings s;
        s.SourceDir = dir.Path(source);
        s.DestDir = dir.Path(dest);
        s.SyncAll = true;
        return Settings(name, s);
    }
    std::string Batch(const std::vector<std::string>& entries) {
        const std::string path = dir.Path("jobs.tfw");
        EXPECT_TRUE(test::Shown(WriteBatchFile(path, entries), desktop));
        return path;
    }

    TMain& main() { return windows.main; }
    TOptionsbx& options() { return windows.options; }
    const LogList& success() { return windows.logFile.FileSuccess; }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows;
};

TEST_F(BatchRunnerTest, AMissingBatchFileIsNamedWithTheReasonInAnErrorBox) {
    const std::string path = dir.Path("nothing.tfw");
    main().ExecuteBatch(path);
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"Cannot read the batch file " + path +
                                                        ": No such file or directory"});
    EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(desktop.boxes[0].caption, kAppTitle);
    EXPECT_FALSE(main().batchRunning);
    EXPECT_FALSE(main().Running());
    EXPECT_EQ(main().currentBatchFile, path);
    EXPECT_EQ(main().LastBatch().entries, 0);
}

TEST_F(BatchRunnerTest, EntriesRunInOrderWithoutTheSyncSuccessMessages) {
    dir.CreateFile("a/one.txt", "1", kStamp);
    dir.CreateFile("a/sub/two.txt", "2", kStamp);
    dir.CreateFile("b/three.txt", "3", kStamp);
    dir.CreateDirectory("a-copy");
    dir.CreateDirectory("b-copy");
    const std::string batch = Batch({Tree("a.ini", "a", "a-copy"), Tree("b.ini", "b", "b-copy")});
    bool batchRunningDuringSync = false;
    desktop.onPump = [&](int) { batchRunningDuringSync = main().batchRunning; };

    main().ExecuteBatch(batch);

    EXPECT_EQ(dir.ReadFile("a-copy/one.txt"), "1");
    EXPECT_EQ(dir.ReadFile("a-copy/sub/two.txt"), "2");
    EXPECT_EQ(dir.ReadFile("b-copy/three.txt"), "3");
    EXPECT_EQ(dir.Modified("b-copy/three.txt"), kStamp);
    EXPECT_TRUE(batchRunningDuringSync);
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{kClosing});
    EXPECT_FALSE(main().batchRunning);
    // The panes stay where the last entry left them.
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("b"));
    EXPECT_EQ(main().DestDirListBox.Directory(), dir.Path("b-copy"));
    EXPECT_EQ(main().LastBatch().entries, 2);
    EXPECT_TRUE(main().LastBatch().Clean());
}

TEST_F(BatchRunnerTest, TheRunLogAccumulatesAcrossEntriesAndRuns) {
    dir.CreateFile("a/one.txt", "1", kStamp);
    dir.CreateFile("b/two.txt", "2", kStamp);
    dir.CreateDirectory("copy");
    const std::string batch = Batch({Tree("a.ini", "a", "copy"), Tree("b.ini", "b", "copy")});

    main().ExecuteBatch(batch);
    main().ExecuteBatch(batch);

    EXPECT_EQ(success().Entries(),
              (std::vector<std::string>{dir.Path("a/one.txt"), dir.Path("b/two.txt")}));
    EXPECT_EQ(windows.logFile.FileOld.Entries(),
              (std::vector<std::string>{dir.Path("a/one.txt"), dir.Path("b/two.txt")}));
    EXPECT_EQ(desktop.Texts(), (std::vector<std::string>{kClosing, kClosing}));
}

// The two skip messages, each for several ways a settings file can be wrong.
TEST_F(BatchRunnerTest, InvalidEntriesAreSkippedWithTheirMessageAndTheRunGoesOn) {
    dir.CreateDirectory("dst");
    dir.CreateFile("plain.txt", "not a directory");
    const std::string dst = dir.Path("dst");
    const std::string missing = dir.Path("missing");
    auto withDirs = [&](const std::string& name, const std::string& source,
                        const std::string& dest) {
        SyncSettings s;
        s.SourceDir = source;
        s.DestDir = dest;
        return Settings(name, s);
    };
    auto iniText = [](const std::string& entry) {
        return "The ini file: " + entry + " is invalid...process will be skipped!";
    };
    auto dirText = [](const std::string& source, const std::string& dest) {
        return "The source: " + source + " or dest: " + dest +
               " dir is invalid...process will be skipped!";
    };
    const std::string noDest =
        dir.CreateFile("nodest.ini", "[Settings]\r\nSourceDir=" + dst + "\r\n");
    struct Case {
        const char* name;
        std::string entry;
        std::string message;
    };
    const Case cases[] = {
        {"settings file missing", dir.Path("absent.ini"), iniText(dir.Path("absent.ini"))},
        {"no DestDir key", noDest, iniText(noDest)},
        {"value Invalid", withDirs("inv.ini", "Invalid", dst), iniText(dir.Path("inv.ini"))},
        {"source missing", withDirs("src.ini", missing, dst), dirText(missing, dst)},
        {"empty source", withDirs("empty.ini", "", dst), dirText("", dst)},
        {"missing dir ending in /", withDirs("slash.ini", dst, missing + "/"),
         dirText(dst, missing + "/")},
        {"a file, not a directory", withDirs("file.ini", dir.Path("plain.txt"), dst),
         dirText(dir.Path("plain.txt"), dst)},
        {"case kept", withDirs("case.ini", dir.Path("Missing"), dst),
         dirText(dir.Path("Missing"), dst)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.boxes.clear();
        main().ExecuteBatch(Batch({c.entry, c.entry}));
        ASSERT_EQ(desktop.boxes.size(), 3u);
        EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Information);
        EXPECT_EQ(desktop.boxes[0].caption, "Information");
        EXPECT_EQ(desktop.boxes[0].text, c.message);
        EXPECT_EQ(desktop.boxes[1].text, c.message);
        EXPECT_EQ(desktop.boxes[2].text, kUnfinished + "2 of 2 entries did not sync completely.");
        EXPECT_EQ(main().LastBatch().skipped, 2);
        EXPECT_FALSE(main().batchRunning);
    }
}

TEST_F(BatchRunnerTest, ASkippedEntryStillLeavesItsSettingsInTheWindows) {
    SyncSettings s;
    s.SourceDir = dir.Path("missing");
    s.DestDir = dir.Path("missing-too");
    s.Filetype = 3;
    s.SyncAll = true;
    s.Include = "*.txt;*.doc;";
    s.Exclude = "~*;";
    s.CopyBuffer = 262144;
    main().ExecuteBatch(Batch({Settings("skip.ini", s)}));

    EXPECT_EQ(main().LastBatch().skipped, 1);
    EXPECT_EQ(main().EditFilter.ItemIndex(), 3);
    EXPECT_TRUE(main().SyncAll.Checked());
    EXPECT_FALSE(main().cbSelectAll.Enabled());
    EXPECT_EQ(options().includeFilters(), "*.txt;*.doc;");
    EXPECT_EQ(options().excludeFilters(), "~*;");
    EXPECT_EQ(options().CopyBufferSize(), 262144);
    EXPECT_EQ(options().CheckedButton(), CopyBufferButton::Mem256k);
    EXPECT_EQ(options().IncludeList.Items(), (std::vector<std::string>{"*.txt", "*.doc"}));
    EXPECT_EQ(options().ExcludeList.Items(), std::vector<std::string>{"~*"});
}

TEST_F(BatchRunnerTest, AMissingSettingsFileAppliesTheDefaults) {
    main().EditFilter.SetItemIndex(2);
    main().SyncAll.SetChecked(true);
    SyncSettings before;
    before.Include = "*.x;";
    before.CopyBuffer = 1048576;
    options().Apply(before);
    main().ExecuteBatch(Batch({dir.Path("absent.ini")}));

    EXPECT_EQ(main().EditFilter.ItemIndex(), 0);
    EXPECT_FALSE(main().SyncAll.Checked());
    EXPECT_TRUE(main().cbSelectAll.Enabled());
    EXPECT_EQ(options().includeFilters(), "");
    EXPECT_EQ(options().CopyBufferSize(), 32768);
    EXPECT_EQ(options().CheckedButton(), CopyBufferButton::Mem32K);
    EXPECT_TRUE(options().IncludeList.Items().empty());
}

TEST_F(BatchRunnerTest, AFileTypeOutsideTheListChoosesNone) {
    SyncSettings s;
    s.Filetype = 9;
    main().ExecuteBatch(Batch({Settings("odd.ini", s)}));
    EXPECT_EQ(main().EditFilter.ItemIndex(), -1);
}

// The file type is applied before the entry's own patterns: a custom type
// filters with the patterns of the entry before.
// Each entry's own file type and patterns decide what it copies, whatever the
// entry before it listed, in the same source directory or another.
TEST_F(BatchRunnerTest, EachEntrysOwnFileTypeAndPatternsDecideItsFiles) {
    for (const char* name : {"src/a.txt", "src/b.txt", "src/c.doc", "src/d.xls", "xls/ax.xls",
                             "xls/b.xls", "xls/c.txt"}) {
        dir.CreateFile(name, "x", kStamp);
    }
    struct Entry {
        const char* name;
        const char* source;
        std::int32_t filetype;
        const char* include;
        const char* exclude;
        std::vector<std::string> copied;
    };
    const Entry entries[] = {
        {"all files", "src", 0, "", "", {"a.txt", "b.txt", "c.doc", "d.xls"}},
        {"custom after all files", "src", 1, "*.txt;*.doc;", "a*;", {"b.txt", "c.doc"}},
        {"same mask, other exclusions", "src", 1, "*.txt;*.doc;", "b*;", {"a.txt", "c.doc"}},
        {"custom in another directory", "xls", 1, "*.xls;", "a*;", {"b.xls"}},
        {"a fixed type ignores the patterns", "xls", 2, "", "b*;", {"ax.xls", "b.xls"}},
    };
    std::vector<std::string> files;
    for (const auto& e : entries) {
        SyncSettings s;
        s.SourceDir = dir.Path(e.source);
        s.DestDir = dir.CreateDirectory(std::string("out/") + e.name);
        s.SelectAll = true;
        s.Filetype = e.filetype;
        s.Include = e.include;
        s.Exclude = e.exclude;
        files.push_back(Settings(std::string(e.name) + ".ini", s));
    }
    main().ExecuteBatch(Batch(files));

    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{kClosing});
    for (const auto& e : entries) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(dir.Names(std::string("out/") + e.name), e.copied);
    }
}

TEST_F(BatchRunnerTest, SelectAllMarksEveryFileAndWithoutItNothingIsSelected) {
    dir.CreateFile("src/a.txt", "a", kStamp);
    dir.CreateFile("src/b.txt", "b", kStamp);
    dir.CreateDirectory("all");
    dir.CreateDirectory("none");
    auto flat = [&](const std::string& name, const std::string& dest, bool selectAll) {
        SyncSettings s;
        s.SourceDir = dir.Path("src");
        s.DestDir = dir.Path(dest);
        s.SelectAll = selectAll;
        return Settings(name, s);
    };
    dir.CreateDirectory("other");
    SyncSettings elsewhere;
    elsewhere.SourceDir = dir.Path("other");
    elsewhere.DestDir = dir.Path("none");
    main().ExecuteBatch(Batch({flat("all.ini", "all", true), Settings("away.ini", elsewhere),
                               flat("none.ini", "none", false)}));

    EXPECT_TRUE(dir.Exists("all/a.txt"));
    EXPECT_TRUE(dir.Exists("all/b.txt"));
    EXPECT_FALSE(dir.Exists("none/a.txt"));
    EXPECT_EQ(desktop.Texts(),
              (std::vector<std::string>{"No items selected to sync!", "No items selected to sync!",
                                        kUnfinished + "2 of 3 entries did not sync completely."}));
    EXPECT_FALSE(main().cbSelectAll.Checked());
}

TEST_F(BatchRunnerTest, ADestinationEndingInASeparatorThatExistsRuns) {
    dir.CreateFile("src/a.txt", "a", kStamp);
    dir.CreateDirectory("dst");
    SyncSettings s;
    s.SourceDir = dir.Path("src") + "/";
    s.DestDir = dir.Path("dst") + "/";
    s.SyncAll = true;
    main().ExecuteBatch(Batch({Settings("slash.ini", s)}));
    EXPECT_EQ(dir.ReadFile("dst/a.txt"), "a");
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{kClosing});
}

TEST_F(BatchRunnerTest, CancellingOneEntryGoesOnWithTheNext) {
    for (const char* tree : {"one", "two", "three"}) {
        dir.CreateFile(std::string(tree) + "/a.txt", "a", kStamp);
        dir.CreateFile(std::string(tree) + "/b.txt", "b", kStamp);
        dir.CreateDirectory(std::string(tree) + "-copy");
    }
    bool cancelled = false;
    desktop.onPump = [&](int) {
        if (cancelled || windows.syncBox.SyncDirFrom.Caption() != dir.Path("two")) return;
        cancelled = true;
        desktop.answers.push_back(true);
        windows.syncBox.CancelClick();
    };
    main().ExecuteBatch(Batch({Tree("1.ini", "one", "one-copy"), Tree("2.ini", "two", "two-copy"),
                               Tree("3.ini", "three", "three-copy")}));

    EXPECT_TRUE(dir.Exists("one-copy/b.txt"));
    EXPECT_FALSE(dir.Exists("two-copy/a.txt") && dir.Exists("two-copy/b.txt"));
    EXPECT_TRUE(dir.Exists("three-copy/a.txt"));
    EXPECT_TRUE(dir.Exists("three-copy/b.txt"));
    EXPECT_EQ(desktop.Texts(),
              (std::vector<std::string>{"Are you sure you wish to cancel?", "Operation Canceled!",
                                        kUnfinished + "1 of 3 entries did not sync completely."}));
    EXPECT_EQ(main().LastBatch().cancelled, 1);
    EXPECT_FALSE(main().LastBatch().Clean());
}

TEST_F(BatchRunnerTest, AfterTheRunAnInteractiveSyncReportsSuccessAgain) {
    dir.CreateFile("src/a.txt", "a", kStamp);
    dir.CreateDirectory("dst");
    main().ExecuteBatch(Batch({Tree("t.ini", "src", "dst")}));
    dir.CreateFile("src/new.txt", "n", kStamp);
    main().SyncBtnClick();
    EXPECT_EQ(desktop.Texts(), (std::vector<std::string>{kClosing, "Directory Sync Successful!"}));
}

// While a batch runs (between entries or inside its Sync) nothing else starts.
TEST_F(BatchRunnerTest, NoOtherCommandStartsWhileABatchRuns) {
    dir.CreateFile("src/a.txt", "a", kStamp);
    dir.CreateFile("src/b.txt", "b", kStamp);
    dir.CreateDirectory("dst");
    dir.CreateDirectory("other");
    SyncSettings s;
    s.SourceDir = dir.Path("src");
    s.DestDir = dir.Path("dst");
    s.SelectAll = true;
    const std::string batch = Batch({Settings("flat.ini", s)});
    const std::string second = dir.Path("second.tfw");
    ASSERT_TRUE(test::Shown(WriteBatchFile(second, {Tree("o.ini", "src", "other")}), desktop));
    int changes = 0;
    const Connection mainRunningChange = main().OnRunningChange.Connect([&] { ++changes; });
    std::vector<bool> running;
    desktop.fileAnswers.push_back(second);
    desktop.onPump = [&](int) {
        running.push_back(main().Running());
        main().ExecuteBatch(second);
        main().RunBatchFile1Click();
        main().SyncBtnClick();
        main().LogFile1Click();
    };

    main().ExecuteBatch(batch);

    // The first pump comes from selecting every file, before the entry's Sync.
    ASSERT_GE(running.size(), 2u);
    for (bool r : running) EXPECT_TRUE(r);
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(main().Running());
    EXPECT_TRUE(desktop.fileDialogs.empty());
    EXPECT_FALSE(windows.logFile.Visible());
    EXPECT_FALSE(dir.Exists("other/a.txt"));
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{kClosing});
    EXPECT_EQ(main().currentBatchFile, batch);
    EXPECT_EQ(success().Count(), 2u);
}

TEST_F(BatchRunnerTest, RunBatchFileProposesTheCurrentBatchFileAndRunsTheChoice) {
    dir.CreateFile("src/a.txt", "a", kStamp);
    dir.CreateDirectory("dst");
    const std::string batch = Batch({Tree("t.ini", "src", "dst")});

    main().RunBatchFile1Click();  // cancelled
    EXPECT_TRUE(desktop.boxes.empty());
    ASSERT_EQ(desktop.fileDialogs.size(), 1u);
    const FileDialog& first = desktop.fileDialogs[0];
    EXPECT_EQ(first.fileName, "tfoldw.tfw");
    EXPECT_EQ(first.initialDirectory, dir.Path("prog") + "/");
    EXPECT_EQ(first.filter, "TFold Batch (*.tfw)|*.tfw|All Files (*.*)|*.*");
    EXPECT_EQ(first.defaultExtension, "tfw");
    EXPECT_TRUE(first.mustExist);

    desktop.fileAnswers.push_back(batch);
    main().RunBatchFile1Click();
    EXPECT_EQ(dir.ReadFile("dst/a.txt"), "a");
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{kClosing});

    main().RunBatchFile1Click();
    ASSERT_EQ(desktop.fileDialogs.size(), 3u);
    EXPECT_EQ(desktop.fileDialogs[2].fileName, "jobs.tfw");
    EXPECT_EQ(desktop.fileDialogs[2].initialDirectory, dir.path() + "/");
}

// A desktop that asks the program to stop once the first entry has copied.
class StoppingDesktop : public test::ScriptedDesktop {
public:
    bool StopRequested() override { return stop; }
    bool stop = false;
};

TEST(BatchRunnerStop, AStopRequestEndsTheBatchBeforeTheNextEntry) {
    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    StoppingDesktop desktop;
    Windows windows(desktop, dir.ProgramDir());
    dir.CreateFile("a/1.txt", "1", kStamp);
    dir.CreateFile("b/2.txt", "2", kStamp);
    dir.CreateDirectory("a-copy");
    dir.CreateDirectory("b-copy");
    std::vector<std::string> entries;
    for (auto [name, src, dst] : {std::tuple{"a.ini", "a", "a-copy"}, {"b.ini", "b", "b-copy"}}) {
        SyncSettings s;
        s.SourceDir = dir.Path(src);
        s.DestDir = dir.Path(dst);
        s.SyncAll = true;
        TIniFile file(dir.Path(name));
        ASSERT_TRUE(WriteSyncSettings(file, s).ok());
        entries.push_back(dir.Path(name));
    }
    ASSERT_TRUE(test::Shown(WriteBatchFile(dir.Path("b.tfw"), entries), desktop));
    const Connection fileSuccessChange =
        windows.logFile.FileSuccess.OnChange.Connect([&] { desktop.stop = true; });

    windows.main.ExecuteBatch(dir.Path("b.tfw"));

    EXPECT_TRUE(dir.Exists("a-copy/1.txt"));
    EXPECT_FALSE(dir.Exists("b-copy/2.txt"));
    EXPECT_TRUE(desktop.Texts().empty());
    EXPECT_TRUE(windows.main.LastBatch().interrupted);
    EXPECT_FALSE(windows.main.batchRunning);
    EXPECT_FALSE(windows.main.Running());
}

}  // namespace
