// The console program run for real, as a scheduler would run it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Version.h"
#include "batch/BatchFile.h"
#include "settings/SyncSettings.h"
#include "support/ChildProcess.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;
using twinfold::test::LocalTime;

namespace {

const std::int64_t kOld = LocalTime(2020, 1, 1);
const std::int64_t kNew = LocalTime(2023, 5, 6);
const std::string kClosing = "Twinfold for Windows: Batch Process Sync Successful!\n";
const std::string kStoredSettings = "[Settings]\r\nSaveSettings=1\r\nSyncAll=0\r\n";

std::size_t FilesBelow(const std::string& dir) {
    std::size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        count += entry.is_regular_file();
    }
    return count;
}

std::size_t LinesOf(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

// A copy of the program in the test's own program directory, so that the
// start-up read finds the test's settings file and never the build folder's.
class BatchCliTest : public ::testing::Test {
protected:
    BatchCliTest() {
        dir.ProgramDir();
        program = dir.Path("prog/twinfold-batch");
        fs::copy_file(TWINFOLD_BATCH_EXE, program);
        dir.CreateFile("prog/tfoldw.ini", kStoredSettings);
    }

    std::string Settings(const std::string& name, SyncSettings settings) {
        TIniFile file(dir.Path(name));
        EXPECT_TRUE(WriteSyncSettings(file, settings).ok());
        return dir.Path(name);
    }
    std::string Entry(const std::string& name, const std::string& source, const std::string& dest,
                      bool syncAll = true, bool selectAll = false, int filetype = 0) {
        SyncSettings s;
        s.SourceDir = dir.Path(source);
        s.DestDir = dir.Path(dest);
        s.SyncAll = syncAll;
        s.SelectAll = selectAll;
        s.Filetype = filetype;
        return Settings(name, s);
    }
    std::string Batch(const std::vector<std::string>& entries) {
        test::ScriptedDesktop quiet;
        EXPECT_TRUE(WriteBatchFile(dir.Path("nightly.tfw"), entries, quiet).ok());
        return dir.Path("nightly.tfw");
    }
    int Run(const std::vector<std::string>& arguments) {
        return test::RunProcess(program, arguments, dir.Path("out.txt"), dir.Path("err.txt"));
    }
    std::string Out() { return dir.ReadFile("out.txt"); }
    std::string Err() { return dir.ReadFile("err.txt"); }

    test::TestDir dir;
    std::string program;
};

TEST_F(BatchCliTest, ABatchOfThreeEntriesSyncsWritesTheLogsAndSavesNoSettings) {
    dir.CreateFile("photos/a.jpg", "a", kNew);
    dir.CreateFile("photos/2023/b.jpg", "b", kNew);
    dir.CreateFile("sheets/x.xls", "x", kNew);
    dir.CreateFile("sheets/y.doc", "y", kNew);
    dir.CreateFile("notes/c.txt", "old source", kOld);
    dir.CreateFile("backup/notes/c.txt", "newer copy", kNew);
    dir.CreateDirectory("backup/photos");
    dir.CreateDirectory("backup/sheets");
    const std::string batch = Batch({Entry("photos.ini", "photos", "backup/photos"),
                                     Entry("sheets.ini", "sheets", "backup/sheets", false, true, 2),
                                     Entry("notes.ini", "notes", "backup/notes")});

    EXPECT_EQ(Run({"--log-dir", dir.Path("logs"), batch}), 0) << Err();

    EXPECT_EQ(dir.ReadFile("backup/photos/a.jpg"), "a");
    EXPECT_EQ(dir.ReadFile("backup/photos/2023/b.jpg"), "b");
    EXPECT_EQ(dir.Modified("backup/photos/2023/b.jpg"), kNew);
    EXPECT_EQ(dir.ReadFile("backup/sheets/x.xls"), "x");
    EXPECT_FALSE(dir.Exists("backup/sheets/y.doc"));
    EXPECT_EQ(dir.ReadFile("backup/notes/c.txt"), "newer copy");
    EXPECT_EQ(Out(), kClosing);
    EXPECT_EQ(Err(), "");
    EXPECT_EQ(dir.ReadFile("logs/TFSuccess.txt"), dir.Path("photos/2023/b.jpg") + "\r\n" +
                                                      dir.Path("photos/a.jpg") + "\r\n" +
                                                      dir.Path("sheets/x.xls") + "\r\n");
    EXPECT_EQ(dir.ReadFile("logs/TFOlder.txt"), dir.Path("notes/c.txt") + "\r\n");
    EXPECT_EQ(dir.ReadFile("logs/TFFailed.txt"), "");
    EXPECT_EQ(dir.ReadFile("prog/tfoldw.ini"), kStoredSettings);
}

TEST_F(BatchCliTest, SkippedEntriesAndQuestionsArePrintedAndTheStatusIsOne) {
    dir.CreateFile("src/a.txt", "a", kNew);
    dir.CreateDirectory("dst");
    const std::string batch =
        Batch({Entry("gone.ini", "missing", "dst"), Entry("asks.ini", "src", "dst", true, true)});
    const std::string asked =
        "Warning: You have files selected and Sync All is checked. All files will be "
        "copied...Do you wish to continue?";
    struct Case {
        const char* name;
        std::vector<std::string> options;
        const char* answer;
        bool copied;
    };
    const Case cases[] = {
        {"--no", {"--no"}, " -> No\n", false},
        {"no terminal to ask on", {}, " -> No\n", false},
        {"--yes", {"--yes"}, " -> Yes\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = c.options;
        args.push_back(batch);
        EXPECT_EQ(Run(args), 1);
        EXPECT_EQ(Out(), "Information: The source: " + dir.Path("missing") + " or dest: " +
                             dir.Path("dst") + " dir is invalid...process will be skipped!\n" +
                             asked + c.answer + kClosing);
        EXPECT_EQ(dir.Exists("dst/a.txt"), c.copied);
    }
}

TEST_F(BatchCliTest, AMissingBatchFileRunsNothingAndSucceeds) {
    EXPECT_EQ(Run({dir.Path("none.tfw")}), 0);
    EXPECT_EQ(Out(), kClosing);
}

TEST_F(BatchCliTest, AFirstStartCreatesTheDefaultSettingsFileOnly) {
    fs::remove(dir.Path("prog/tfoldw.ini"));
    EXPECT_EQ(Run({dir.Path("none.tfw")}), 0);
    EXPECT_TRUE(dir.Exists("prog/tfoldw.ini"));
    EXPECT_FALSE(dir.Exists("prog/tfoldw.tfw"));
}

TEST_F(BatchCliTest, AWrongCommandLineEndsWithTwoAndTheUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {"--yes", "--no", "x.tfw"}, {"--bogus", "x.tfw"}, {"a.tfw", "b.tfw"}, {"--log-dir"}};
    for (const auto& args : cases) {
        SCOPED_TRACE(args.empty() ? "no arguments" : args.front());
        EXPECT_EQ(Run(args), 2);
        EXPECT_EQ(Out(), "");
        EXPECT_NE(Err().find("Usage: twinfold-batch [--yes | --no] [--log-dir DIR] BATCHFILE"),
                  std::string::npos);
    }
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(Out().find("Usage: twinfold-batch"), std::string::npos);
}

TEST_F(BatchCliTest, VersionPrintsTheBuildsVersionAndRunsNothing) {
    dir.CreateFile("src/a.txt", "a", kNew);
    dir.CreateDirectory("dst");
    const std::string batch = Batch({Entry("a.ini", "src", "dst")});

    EXPECT_EQ(Run({"--version", batch}), 0);
    EXPECT_EQ(Out(), std::string("twinfold-batch ") + kVersion + "\n");
    EXPECT_EQ(Err(), "");
    EXPECT_FALSE(dir.Exists("dst/a.txt"));
}

// Ctrl+C once the first entry has begun copying: that entry stops between
// files, the second never starts, the logs still hold what was done.
TEST_F(BatchCliTest, CtrlCStopsBetweenFilesRunsNoFurtherEntryAndStillWritesTheLogs) {
    constexpr int kFiles = 4000;
    for (int i = 0; i < kFiles; ++i) {
        dir.CreateFile("many/f" + std::to_string(i) + ".txt", "data", kNew);
    }
    dir.CreateFile("later/l.txt", "l", kNew);
    dir.CreateDirectory("many-copy");
    dir.CreateDirectory("later-copy");
    const std::string batch =
        Batch({Entry("many.ini", "many", "many-copy"), Entry("later.ini", "later", "later-copy")});

    test::ChildProcess child(program, {"--yes", "--log-dir", dir.Path("logs"), batch},
                             dir.Path("out.txt"), dir.Path("err.txt"));
    ASSERT_TRUE(child.started());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (fs::is_empty(dir.Path("many-copy")) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    child.Interrupt();
    const int status = child.Wait();

    EXPECT_EQ(status, 130) << Err();
    EXPECT_FALSE(child.signalled());
    EXPECT_EQ(Out(), "Twinfold for Windows: Operation Canceled!\n");
    EXPECT_TRUE(fs::is_empty(dir.Path("later-copy")));
    const std::size_t copied = FilesBelow(dir.Path("many-copy"));
    EXPECT_GT(copied, 0u);
    EXPECT_LT(copied, static_cast<std::size_t>(kFiles));
    EXPECT_EQ(LinesOf(dir.ReadFile("logs/TFSuccess.txt")), copied);
    EXPECT_EQ(dir.ReadFile("logs/TFFailed.txt"), "");
    EXPECT_EQ(dir.ReadFile("prog/tfoldw.ini"), kStoredSettings);
}

}  // namespace
