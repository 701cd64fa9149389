// The console program run for real, as a scheduler would run it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Version.h"
#include "batch/BatchFile.h"
#include "console/BatchConsole.h"
#include "log/TLogFilebx.h"
#include "main/Windows.h"
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
const std::string kUnfinished = "Twinfold for Windows: Batch Process Sync finished with problems: ";
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
public:
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
                      bool syncAll = true, bool selectAll = false, int filetype = 0,
                      const std::string& include = "", const std::string& exclude = "") {
        SyncSettings s;
        s.SourceDir = dir.Path(source);
        s.DestDir = dir.Path(dest);
        s.SyncAll = syncAll;
        s.SelectAll = selectAll;
        s.Filetype = filetype;
        s.Include = include;
        s.Exclude = exclude;
        return Settings(name, s);
    }
    std::string Batch(const std::vector<std::string>& entries) {
        test::ScriptedDesktop quiet;
        EXPECT_TRUE(test::Shown(WriteBatchFile(dir.Path("nightly.tfw"), entries), quiet));
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
                             asked + c.answer + kUnfinished + (c.copied ? "1" : "2") +
                             " of 2 entries did not sync completely.\n");
        EXPECT_EQ(dir.Exists("dst/a.txt"), c.copied);
    }
}

TEST_F(BatchCliTest, AnEmptyBatchFileRunsNothingAndSaysSo) {
    const std::string batch = dir.CreateFile("empty.tfw");
    EXPECT_EQ(Run({batch}), 1);
    EXPECT_EQ(Out(),
              "Twinfold for Windows: The batch file " + batch + " lists no settings files.\n");
    EXPECT_EQ(Err(), "");
}

TEST_F(BatchCliTest, AFirstStartCreatesTheDefaultSettingsFileOnly) {
    fs::remove(dir.Path("prog/tfoldw.ini"));
    EXPECT_EQ(Run({dir.CreateFile("empty.tfw")}), 1);
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
        EXPECT_NE(Err().find(
                      "Usage: twinfold-batch [--yes | --no] [--dry-run] [--log-dir DIR] BATCHFILE"),
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

namespace {

// Every way a run can leave work undone ends with status 1, never 0; a batch
// file that cannot be read is named on the last line with the reason.
TEST_F(BatchCliTest, EveryKindOfFailureEndsWithStatusOne) {
    struct Case {
        const char* name;
        // Makes the case's tree under the prefix; returns the batch file.
        std::function<std::string(BatchCliTest&, const std::string&)> batch;
        std::string error;  // what the last line says of the batch file
    };
    const std::vector<Case> cases = {
        {"batch file missing",
         [](BatchCliTest& t, const std::string& p) { return t.dir.Path(p + "none.tfw"); },
         "No such file or directory"},
        {"batch file is a directory",
         [](BatchCliTest& t, const std::string& p) { return t.dir.CreateDirectory(p + "d.tfw"); },
         "Is a directory"},
        {"batch file over 16 MiB",
         [](BatchCliTest& t, const std::string& p) {
             return t.dir.CreateFile(p + "huge.tfw", "[Files]\n" + std::string(17 << 20, ';'));
         },
         "File too large"},
        {"settings file missing",
         [](BatchCliTest& t, const std::string& p) { return t.Batch({t.dir.Path(p + "no.ini")}); },
         ""},
        {"source directory missing",
         [](BatchCliTest& t, const std::string& p) {
             return t.Batch({t.Entry(p + "gone.ini", p + "gone", p + "out")});
         },
         ""},
        {"nothing marked to sync",
         [](BatchCliTest& t, const std::string& p) {
             t.dir.CreateFile(p + "in/a.txt", "a", kNew);
             return t.Batch({t.Entry(p + "none.ini", p + "in", p + "out", false, false)});
         },
         ""},
        {"a file that cannot be replaced",
         [](BatchCliTest& t, const std::string& p) {
             t.dir.CreateFile(p + "in/locked.txt", "new", kNew);
             t.dir.CreateFile(p + "out/locked.txt", "old", kOld);
             t.dir.MakeReadOnly(p + "out/locked.txt");
             return t.Batch({t.Entry(p + "locked.ini", p + "in", p + "out")});
         },
         ""},
        {"a link to a directory at the destination",
         [](BatchCliTest& t, const std::string& p) {
             t.dir.CreateFile(p + "in/etc/victim.conf", "new", kNew);
             t.dir.CreateDirectory(p + "elsewhere");
             t.dir.CreateDirectory(p + "out");
             fs::create_directory_symlink(t.dir.Path(p + "elsewhere"), t.dir.Path(p + "out/etc"));
             return t.Batch({t.Entry(p + "link.ini", p + "in", p + "out")});
         },
         ""},
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string prefix = "case" + std::to_string(++number) + "/";
        dir.CreateDirectory(prefix + "out");
        const std::string batch = c.batch(*this, prefix);

        EXPECT_EQ(Run({"--yes", batch}), 1) << Out();
        // The last line says what went wrong, and never "Successful!".
        EXPECT_EQ(Out().find("Successful!"), std::string::npos) << Out();
        if (!c.error.empty()) {
            EXPECT_EQ(Out(), "Twinfold for Windows: Cannot read the batch file " + batch + ": " +
                                 c.error + "\n");
        }
        EXPECT_FALSE(dir.Exists(prefix + "elsewhere/victim.conf"));
    }
}

// Nothing the program is named may make it wait: a FIFO as batch file or as
// a listed settings file is unreadable, and the run ends at once.
TEST_F(BatchCliTest, AFifoNamedAsBatchOrSettingsFileNeverBlocks) {
    ASSERT_EQ(mkfifo(dir.Path("pipe.tfw").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo(dir.Path("pipe.ini").c_str(), 0644), 0);
    const std::string listed = Batch({dir.Path("pipe.ini")});
    for (const std::string& batch : {dir.Path("pipe.tfw"), listed}) {
        SCOPED_TRACE(batch);
        test::ChildProcess child(program, {"--yes", batch}, dir.Path("out.txt"),
                                 dir.Path("err.txt"));
        EXPECT_EQ(child.WaitAtMost(std::chrono::seconds(20)), 1) << "blocked or wrong status";
    }
    EXPECT_NE(Out().find("The ini file: " + dir.Path("pipe.ini") + " is invalid"),
              std::string::npos);
}

// A polite kill in the middle of a copy: the program stops there, removes
// what it was writing and keeps the old file.
TEST_F(BatchCliTest, TerminationDuringACopyLeavesTheOldFileAndNoTemporary) {
    for (int signal : {15, 1}) {  // SIGTERM, SIGHUP
        SCOPED_TRACE(signal);
        fs::remove_all(dir.Path("in"));
        fs::remove_all(dir.Path("out"));
        // Room reserved, never written: no holes to skip, so the copy takes a while.
        const int big = open(dir.CreateFile("in/big.bin", "", kNew).c_str(), O_WRONLY);
        ASSERT_EQ(posix_fallocate(big, 0, off_t{8} << 30), 0);
        close(big);
        dir.CreateFile("out/big.bin", "previous", kOld);
        const std::string batch = Batch({Entry("big.ini", "in", "out")});

        test::ChildProcess child(program, {"--yes", batch}, dir.Path("out.txt"),
                                 dir.Path("err.txt"));
        // The copy is under way once the program holds an unnamed file open.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        bool copying = false;
        while (!copying && std::chrono::steady_clock::now() < deadline) {
            std::error_code ignored;
            for (const auto& fd :
                 fs::directory_iterator("/proc/" + std::to_string(child.pid()) + "/fd", ignored)) {
                copying |= fs::read_symlink(fd.path(), ignored).string().find("(deleted)") !=
                           std::string::npos;
            }
        }
        ASSERT_TRUE(copying);
        child.Send(signal);

        EXPECT_EQ(child.WaitAtMost(std::chrono::seconds(5)), 130) << "did not stop within reach";
        EXPECT_EQ(dir.ReadFile("out/big.bin"), "previous");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("out")), fs::directory_iterator()),
                  1);
    }
}

// A subdirectory the program may not read is reported once and recorded;
// the rest of the tree is still synchronised. Root may read anything, so as
// root the program runs where root's privileges do not reach.
TEST_F(BatchCliTest, AnUnreadableSubdirectoryIsRecordedAndTheRestSynchronised) {
    struct Case {
        const char* name;
        mode_t mode;
        std::vector<std::string> failed;  // below in/locked
    };
    // Listable but not enterable: its names can be read, nothing behind them.
    // Read-only: its copy must still take its files.
    const Case cases[] = {
        {"not readable", 0, {""}},
        {"listable only", 0644, {"/sub", "/hidden-from-us.txt"}},
        {"read-only", 0555, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir.Path("out"));
        fs::remove_all(dir.Path("logs"));
        dir.CreateFile("in/locked/hidden-from-us.txt", "x", kNew);
        dir.CreateFile("in/locked/sub/deeper.txt", "x", kNew);
        dir.CreateFile("in/open/fine.txt", "fine", kNew);
        dir.CreateFile("in/top.txt", "top", kNew);
        dir.CreateDirectory("out");
        ASSERT_EQ(chmod(dir.Path("in/locked").c_str(), c.mode), 0);
        const std::string batch = Batch({Entry("tree.ini", "in", "out")});
        std::vector<std::string> arguments = {"--yes", "--log-dir", dir.Path("logs"), batch};
        std::string runner = program;
        if (geteuid() == 0) {
            if (std::system("unshare -U true 2>/dev/null") != 0)
                GTEST_SKIP() << "no user namespaces";
            arguments.insert(arguments.begin(), {"-U", program});
            runner = "/usr/bin/unshare";
        }
        const int status =
            test::RunProcess(runner, arguments, dir.Path("out.txt"), dir.Path("err.txt"));
        chmod(dir.Path("in/locked").c_str(), 0755);

        EXPECT_EQ(status, c.failed.empty() ? 0 : 1) << Err();
        EXPECT_EQ(dir.ReadFile("out/open/fine.txt"), "fine");
        EXPECT_EQ(dir.ReadFile("out/top.txt"), "top");
        std::string failed;
        for (const auto& below : c.failed) failed += dir.Path("in/locked") + below + "\r\n";
        EXPECT_EQ(dir.ReadFile("logs/TFFailed.txt"), failed);
        if (c.failed.empty()) {
            EXPECT_EQ(dir.ReadFile("out/locked/sub/deeper.txt"), "x");
            continue;
        }
        EXPECT_NE(Out().find("Cannot open directory " + dir.Path("in/locked") + c.failed[0] +
                             ": Permission denied"),
                  std::string::npos)
            << Out();
    }
}

}  // namespace

namespace {

// Everything below a directory as one text: each entry's kind, bits, time to
// the nanosecond, and its bytes or link target. Links are not followed.
std::string Snapshot(const std::string& root) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info {};
        EXPECT_EQ(lstat(entry.path().c_str(), &info), 0);
        std::string line = entry.path().string() + " " + std::to_string(info.st_mode) + " " +
                           std::to_string(info.st_mtim.tv_sec) + "." +
                           std::to_string(info.st_mtim.tv_nsec);
        if (S_ISLNK(info.st_mode)) line += " -> " + fs::read_symlink(entry.path()).string();
        if (S_ISREG(info.st_mode)) {
            std::ifstream in(entry.path(), std::ios::binary);
            line += " " + std::string(std::istreambuf_iterator<char>(in), {});
        }
        entries.push_back(line);
    }
    std::sort(entries.begin(), entries.end());
    std::string text;
    for (const auto& line : entries) text += line + "\n";
    return text;
}

// The lines of standard output that begin with `word`, as the log would
// hold their source paths.
std::string SourcesOf(const std::string& out, const std::string& word) {
    std::string sources;
    std::size_t at = 0;
    for (std::size_t end; (end = out.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = out.substr(at, end - at);
        if (line.rfind(word + " ", 0) != 0) continue;
        std::string source = line.substr(word.size() + 1);
        source = source.substr(0, std::min(source.find(" -> "), source.find(": ")));
        sources += source + "\r\n";
    }
    return sources;
}

// "+a.txt =b.txt !c.txt": the entries below `side`/in of the three log files
// in `side`/logs, marked by list (copied, older or same, failed).
std::string Marked(const test::TestDir& dir, const std::string& side) {
    const std::size_t cut = dir.Path(side + "/in/").size();
    std::string marked;
    for (const char* list : {"+TFSuccess.txt", "=TFOlder.txt", "!TFFailed.txt"}) {
        const std::string text = dir.ReadFile(side + "/logs/" + (list + 1));
        for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos;
             at = end + 2) {
            marked += " " + (list[0] + text.substr(at + cut, end - at - cut));
        }
    }
    return marked;
}

}  // namespace

// A preview decides every file as the run does and changes nothing: its
// lines are what the run then logs, and the trees are untouched by it.
TEST_F(BatchCliTest, ADryRunForetellsTheRunAndChangesNothing) {
    dir.CreateFile("in/missing.txt", "new file", kNew);
    dir.CreateFile("in/older.txt", "newer source", kNew);
    dir.CreateFile("out/older.txt", "old target", kOld);
    dir.CreateFile("in/same.txt", "same", kNew);
    dir.CreateFile("out/same.txt", "same", kNew);
    dir.CreateFile("in/newer.txt", "old source", kOld);
    dir.CreateFile("out/newer.txt", "newer target", kNew);
    dir.CreateFile("in/locked.txt", "new", kNew);
    dir.CreateFile("out/locked.txt", "old", kOld);
    dir.MakeReadOnly("out/locked.txt");
    dir.CreateFile("in/clash", "a file here", kNew);
    dir.CreateDirectory("out/clash");
    dir.CreateFile("in/etc/victim.conf", "new", kNew);
    dir.CreateDirectory("elsewhere");
    fs::create_directory_symlink(dir.Path("elsewhere"), dir.Path("out/etc"));
    dir.CreateFile("in/fresh/deep/leaf.txt", "in a directory yet to be made", kNew);
    const std::string batch = Batch({Entry("tree.ini", "in", "out")});
    fs::remove(dir.Path("prog/tfoldw.ini"));
    const auto trees = [this] {
        return Snapshot(dir.Path("in")) + Snapshot(dir.Path("out")) +
               Snapshot(dir.Path("elsewhere")) + Snapshot(dir.Path("prog"));
    };
    const std::string before = trees();

    const int previewed = Run({"--yes", "--dry-run", "--log-dir", dir.Path("preview"), batch});
    const std::string preview = Out();
    fs::remove_all(dir.Path("preview"));
    EXPECT_EQ(trees(), before) << "the preview changed the trees";

    const int ran = Run({"--yes", "--log-dir", dir.Path("logs"), batch});
    EXPECT_EQ(previewed, ran);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(SourcesOf(preview, "copy"), dir.ReadFile("logs/TFSuccess.txt"));
    EXPECT_EQ(SourcesOf(preview, "skip"), dir.ReadFile("logs/TFOlder.txt"));
    EXPECT_EQ(SourcesOf(preview, "fail"), dir.ReadFile("logs/TFFailed.txt"));
    EXPECT_NE(preview.find("copy " + dir.Path("in/fresh/deep/leaf.txt") + " -> " +
                           dir.Path("out/fresh/deep/leaf.txt")),
              std::string::npos)
        << preview;
    EXPECT_NE(preview.find("\nsummary: 3 to copy (49 bytes), 3 to skip, 2 to fail\n"),
              std::string::npos)
        << preview;
    EXPECT_FALSE(dir.Exists("elsewhere/victim.conf"));
}

// The window's Sync All and the console run of the same tree log the same
// files and end with the same words, "Successful!" only when it was.
TEST_F(BatchCliTest, TheWindowAndTheConsoleTellTheSameEnding) {
    test::CurrentDirectoryGuard cwd;
    const std::string ok = "Directory Sync Successful!";
    const std::string inLog = " failed. The failed files are in the run log (Log menu).";
    // Files below "out/" are older; "!" makes an entry read-only; "f@t" is an
    // absolute link to t, "f~t" a link holding the text t.
    struct Row {
        std::string name, files, include, exclude, logs, closing;
        std::string reason = "Permission denied";
    };
    const Row rows[] = {
        {"failed file", "in/a.txt in/ro.txt out/ro.txt!", "", "", " +a.txt !ro.txt",
         "Directory Sync finished: 1 copied, 0 skipped, 1" + inLog},
        {"excluded, matched twice", "in/a.txt in/secret.txt in/sub/secret.txt", "*.txt;secret*;",
         "secret.txt;", " +a.txt", ok},
        {"listed twice", "in/a.txt", "*.txt;*.TXT;", "", " +a.txt =a.txt", ok},
        {"read-only destination", "in/sub/b.txt in/a.txt out!", "", "", " !sub/b.txt !a.txt",
         "Directory Sync finished: 0 copied, 0 skipped, 2" + inLog},
        {"links in and out", "in/a.txt in/abs.txt@in/a.txt in/rel.txt~a.txt x.txt in/out.txt@x.txt",
         "", "", " +a.txt +abs.txt +rel.txt !out.txt",
         "Directory Sync finished: 3 copied, 0 skipped, 1" + inLog,
         "The link leads out of the source directory."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Root writes into any directory: only a file's bits stop it.
        if (row.files.ends_with("out!") && geteuid() == 0) continue;
        for (const char* side : {"/w/", "/c/"}) {
            const std::string p = row.name + side;
            dir.CreateDirectory(p + "out");
            std::istringstream files(row.files);
            for (std::string f; files >> f;) {
                if (const auto at = f.find_first_of("@~"); at != std::string::npos) {
                    const std::string target = f.substr(at + 1);
                    fs::create_symlink(f[at] == '@' ? dir.Path(p + target) : target,
                                       dir.Path(p + f.substr(0, at)));
                    continue;
                }
                const bool locked = f.back() == '!';
                if (locked) f.pop_back();
                if (f != "out") dir.CreateFile(p + f, f, f[0] == 'o' ? kOld : kNew);
                ASSERT_TRUE(!locked || chmod(dir.Path(p + f).c_str(), 0555) == 0);
            }
            Entry(p + "t.ini", p + "in", p + "out", true, false, !row.include.empty(), row.include,
                  row.exclude);
        }
        test::ScriptedDesktop desktop;
        Windows windows(desktop, dir.Path("prog/"));
        windows.main.LoadSettingsFile(dir.Path(row.name + "/w/t.ini"));
        windows.main.SyncBtnClick();
        std::ostringstream ignored;
        ASSERT_TRUE(WriteRunLogs(windows.logFile, dir.Path(row.name + "/w/logs"), ignored));
        EXPECT_EQ(Marked(dir, row.name + "/w"), row.logs);
        EXPECT_EQ(desktop.Texts().back(), row.closing);

        const bool clean = row.closing == ok;
        const std::string batch = Batch({dir.Path(row.name + "/c/t.ini")});
        EXPECT_EQ(Run({"--yes", "--log-dir", dir.Path(row.name + "/c/logs"), batch}),
                  clean ? 0 : 1);
        EXPECT_EQ(Marked(dir, row.name + "/c"), row.logs);
        EXPECT_TRUE(Out().ends_with(clean ? kClosing
                                          : row.reason + "\nTwinfold for Windows: " + row.closing +
                                                "\n" + kUnfinished +
                                                "1 of 1 entries did not sync completely.\n"))
            << Out();
    }
}
