#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "console/BatchCommandLine.h"
#include "console/BatchConsole.h"
#include "console/ConsoleDesktop.h"
#include "console/ConsoleProgress.h"
#include "log/TLogFilebx.h"
#include "main/CommandLine.h"
#include "platform/FileSystem.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"
#include "sync/TSyncBox.h"

using namespace twinfold;

namespace {

// ---- command line ----

TEST(BatchCommandLineTest, AcceptedForms) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        ConsoleAnswer answer;
        std::string logDir;
        std::string batchFile;
    };
    const Case cases[] = {
        {"file only", {"a.tfw"}, ConsoleAnswer::Ask, "", "a.tfw"},
        {"yes", {"--yes", "a.tfw"}, ConsoleAnswer::Yes, "", "a.tfw"},
        {"no after file", {"a.tfw", "--no"}, ConsoleAnswer::No, "", "a.tfw"},
        {"yes twice", {"--yes", "--yes", "a.tfw"}, ConsoleAnswer::Yes, "", "a.tfw"},
        {"log dir", {"--log-dir", "logs", "a.tfw"}, ConsoleAnswer::Ask, "logs", "a.tfw"},
        {"log dir with =",
         {"--log-dir=/var/l", "--no", "a.tfw"},
         ConsoleAnswer::No,
         "/var/l",
         "a.tfw"},
        {"file after --", {"--", "--yes"}, ConsoleAnswer::Ask, "", "--yes"},
        {"log dir named like an option",
         {"--log-dir", "--no", "a.tfw"},
         ConsoleAnswer::Ask,
         "--no",
         "a.tfw"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto line = ParseBatchCommandLine(c.args);
        ASSERT_TRUE(line.ok()) << line.error().message;
        EXPECT_EQ(line.value().answer, c.answer);
        EXPECT_EQ(line.value().logDir, c.logDir);
        EXPECT_EQ(line.value().batchFile, c.batchFile);
        EXPECT_FALSE(line.value().help);
    }
}

TEST(BatchCommandLineTest, WrongFormsSayWhatIsWrong) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {"nothing", {}, "no batch file given"},
        {"options only", {"--yes"}, "no batch file given"},
        {"two files", {"a.tfw", "b.tfw"}, "more than one batch file given"},
        {"yes and no", {"--yes", "--no", "a.tfw"}, "--yes and --no exclude each other"},
        {"log dir without value", {"a.tfw", "--log-dir"}, "--log-dir needs a directory"},
        {"empty log dir", {"--log-dir=", "a.tfw"}, "--log-dir needs a directory"},
        {"unknown option", {"--fast", "a.tfw"}, "unknown option --fast"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto line = ParseBatchCommandLine(c.args);
        ASSERT_FALSE(line.ok());
        EXPECT_EQ(line.error().message, c.message);
    }
}

TEST(BatchCommandLineTest, HelpAndVersionNeedNoFileAndTheUsageNamesEveryOption) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        bool help;
        bool version;
    };
    const Case cases[] = {
        {"help", {"--help"}, true, false},
        {"short help", {"-h"}, true, false},
        {"version", {"--version"}, false, true},
        {"version with a file", {"--yes", "a.tfw", "--version"}, false, true},
        {"version after --", {"--", "--version"}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto line = ParseBatchCommandLine(c.args);
        ASSERT_TRUE(line.ok()) << line.error().message;
        EXPECT_EQ(line.value().help, c.help);
        EXPECT_EQ(line.value().version, c.version);
    }
    const std::string usage = BatchUsage();
    EXPECT_EQ(
        usage.rfind("Usage: twinfold-batch [--yes | --no] [--dry-run] [--log-dir DIR] BATCHFILE\n",
                    0),
        0u);
    for (const char* option : {"--yes", "--no", "--log-dir DIR", "--help", "--version"}) {
        EXPECT_NE(usage.find(std::string("  ") + option + " "), std::string::npos) << option;
    }
    EXPECT_EQ(usage.back(), '\n');
}

TEST(CommandLinePathTest, RelativeArgumentsAreResolvedAgainstTheStartDirectory) {
    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    EXPECT_EQ(CommandLinePath("jobs/night.tfw"), dir.path() + "/jobs/night.tfw");
    EXPECT_EQ(CommandLinePath("/abs/night.tfw"), "/abs/night.tfw");
    EXPECT_EQ(CommandLinePath(""), "");
}

// ---- console desktop ----

struct Console {
    explicit Console(ConsoleAnswer answer, std::string typed = "")
        : in(std::move(typed)), desktop(out, prompts, in, answer, [this] { return interrupted; }) {}

    std::ostringstream out;
    std::ostringstream prompts;
    std::istringstream in;
    bool interrupted = false;
    ConsoleDesktop desktop;
};

TEST(ConsoleDesktopTest, EveryBoxIsOneLineWithItsCaption) {
    Console console(ConsoleAnswer::No);
    EXPECT_TRUE(console.desktop.Show({BoxKind::Plain, "", "Batch Process Sync Successful!"}));
    console.desktop.Message("Operation Canceled!");
    console.desktop.Information("The ini file: x is invalid...process will be skipped!");
    EXPECT_EQ(console.out.str(),
              "Twinfold for Windows: Batch Process Sync Successful!\n"
              "Twinfold for Windows: Operation Canceled!\n"
              "Information: The ini file: x is invalid...process will be skipped!\n");
    EXPECT_TRUE(console.prompts.str().empty());
}

TEST(ConsoleDesktopTest, QuestionsCarryTheirAnswer) {
    struct Case {
        const char* name;
        ConsoleAnswer answer;
        std::string typed;
        bool yes;
        bool asked;
    };
    const Case cases[] = {
        {"--yes", ConsoleAnswer::Yes, "", true, false},
        {"--no", ConsoleAnswer::No, "y\n", false, false},
        {"typed y", ConsoleAnswer::Ask, "y\n", true, true},
        {"typed yes", ConsoleAnswer::Ask, "yes\n", true, true},
        {"typed n", ConsoleAnswer::Ask, "n\n", false, true},
        {"just Enter", ConsoleAnswer::Ask, "\n", false, true},
        {"end of input", ConsoleAnswer::Ask, "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Console console(c.answer, c.typed);
        EXPECT_EQ(console.desktop.Warning("Continue?"), c.yes);
        EXPECT_EQ(console.out.str(),
                  std::string("Warning: Continue? -> ") + (c.yes ? "Yes" : "No") + "\n");
        EXPECT_EQ(console.prompts.str(), c.asked ? "Warning: Continue? [y/N] " : "");
    }
}

TEST(ConsoleDesktopTest, AfterAStopNothingIsAskedAndEveryPumpCancelsTheRun) {
    Console console(ConsoleAnswer::Ask, "y\n");
    test::ScriptedDesktop quiet;
    TSyncBox box(quiet);
    console.desktop.Follow(box);
    box.SetModalResult(TSyncBox::kRunOn);
    console.desktop.ProcessMessages();
    EXPECT_EQ(box.ModalResult(), TSyncBox::kRunOn);
    EXPECT_FALSE(console.desktop.StopRequested());

    console.interrupted = true;
    console.desktop.ProcessMessages();
    EXPECT_EQ(box.ModalResult(), TSyncBox::kCancelled);
    EXPECT_TRUE(console.desktop.StopRequested());
    EXPECT_FALSE(console.desktop.Confirm("Sure?"));
    EXPECT_EQ(console.out.str(), "Confirm: Sure? -> No\n");
    EXPECT_TRUE(console.prompts.str().empty());
}

TEST(ConsoleDesktopTest, DialogsAreCancelled) {
    Console console(ConsoleAnswer::Yes);
    EXPECT_FALSE(console.desktop.OpenFile({}));
    EXPECT_FALSE(console.desktop.SaveFile({}));
    EXPECT_FALSE(console.desktop.Prompt("Rename", "New name:", "a"));
}

// ---- progress line ----

class ConsoleProgressTest : public ::testing::Test {
protected:
    void Step(const std::string& dir, const std::string& file, int done, int total) {
        box.SyncDirFrom.SetCaption(dir);
        box.FileName.SetCaption(file);
        (void)box.Gauge.SetMaxValue(total);
        box.Gauge.SetProgress(done);
    }

    test::ScriptedDesktop quiet;
    TSyncBox box{quiet};
};

TEST_F(ConsoleProgressTest, TheLineShowsPercentDirectoryAndFileWithinTheWidth) {
    Step("/data/photos", "img001.jpg", 21, 50);
    EXPECT_EQ(ConsoleProgress::Line(box, 80), " 42% /data/photos  img001.jpg");
    // The directory gives way first, then the line is cut.
    Step("/data/photos/2024/summer", "img001.jpg", 50, 50);
    EXPECT_EQ(ConsoleProgress::Line(box, 35), "100% /.../2024/summer  img001.jpg");
    EXPECT_EQ(ConsoleProgress::Line(box, 12), "100% summer");
    // Characters count, not bytes.
    Step("/d", "\xC3\xA9t\xC3\xA9.txt", 0, 1);
    EXPECT_EQ(ConsoleProgress::Line(box, 12), "  0% d  \xC3\xA9t\xC3\xA9");
}

TEST_F(ConsoleProgressTest, RedrawsInPlaceAndClearsWhenTheDialogCloses) {
    std::ostringstream terminal;
    ConsoleProgress progress(terminal, 80, std::chrono::milliseconds(0));
    progress.Follow(box);
    box.Show();
    box.SyncDirFrom.SetCaption("/src");
    box.FileName.SetCaption("a.txt");
    const std::string drawn = terminal.str();
    EXPECT_NE(drawn.find("\r\033[K  0% /src  a.txt"), std::string::npos);
    box.Close();
    EXPECT_EQ(terminal.str().substr(drawn.size()), "\r\033[K");
    progress.Clear();  // nothing left to erase
    EXPECT_EQ(terminal.str().size(), drawn.size() + 4);
}

TEST_F(ConsoleProgressTest, ALongIntervalKeepsRedrawsRare) {
    std::ostringstream terminal;
    ConsoleProgress progress(terminal, 80, std::chrono::hours(1));
    progress.Follow(box);
    for (int i = 0; i < 100; ++i) box.FileName.SetCaption("f" + std::to_string(i));
    EXPECT_EQ(terminal.str(), "\r\033[K  0%   f0");
}

TEST(ConsoleDesktopProgressTest, ABoxTakesTheProgressLineAwayFirst) {
    std::ostringstream terminal;
    ConsoleProgress progress(terminal, 80, std::chrono::milliseconds(0));
    test::ScriptedDesktop quiet;
    TSyncBox box(quiet);
    progress.Follow(box);
    Console console(ConsoleAnswer::Yes);
    console.desktop.SetProgress(&progress);
    box.FileName.SetCaption("a.txt");
    console.desktop.Message("Operation Canceled!");
    EXPECT_EQ(terminal.str(), "\r\033[K  0%   a.txt\r\033[K");
}

// ---- exit status and log files ----

TEST(BatchExitStatusTest, CleanRunsOnly) {
    struct Case {
        const char* name;
        BatchReport report;
        int status;
    };
    const Error missing{"No such file or directory", 2};
    const Case cases[] = {
        {"clean", {3, 0, 0, false, {}, 0, false}, 0},
        {"empty batch", {0, 0, 0, false, {}, 0, false}, 1},
        {"skipped", {3, 1, 0, false, {}, 1, false}, 1},
        {"cancelled", {3, 0, 1, false, {}, 1, false}, 1},
        {"failed file", {3, 0, 0, false, {}, 1, false}, 1},
        {"logs not written", {3, 0, 0, false, {}, 0, true}, 1},
        {"interrupted", {3, 0, 1, true, {}, 1, true}, 130},
        {"unreadable batch file", {0, 0, 0, false, missing, 0, false}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BatchExitStatus(c.report), c.status);
    }
}

TEST(WriteRunLogsTest, ThreeFilesInTheSaveFormatInADirectoryMadeForThem) {
    test::TestDir dir;
    test::ScriptedDesktop quiet;
    TLogFilebx log(quiet);
    log.FileSuccess.Add("/src/a.txt");
    log.FileSuccess.Add("/src/b.txt");
    log.FileFailed.Add("/src/c.txt");
    std::ostringstream errors;
    EXPECT_TRUE(WriteRunLogs(log, dir.Path("logs/nightly"), errors));
    EXPECT_EQ(dir.ReadFile("logs/nightly/TFSuccess.txt"), "/src/a.txt\r\n/src/b.txt\r\n");
    EXPECT_EQ(dir.ReadFile("logs/nightly/TFOlder.txt"), "");
    EXPECT_EQ(dir.ReadFile("logs/nightly/TFFailed.txt"), "/src/c.txt\r\n");
    EXPECT_TRUE(errors.str().empty());
}

// Links planted in a log directory are replaced; nothing is written where
// they lead.
TEST(WriteRunLogsTest, LinksAtTheLogNamesAreReplacedNotFollowed) {
    test::TestDir dir;
    const std::string victim = dir.CreateFile("victim.conf", "secret");
    ASSERT_EQ(chmod(victim.c_str(), 0600), 0);
    dir.CreateDirectory("logs");
    std::filesystem::create_symlink(victim, dir.Path("logs/TFSuccess.txt"));
    std::filesystem::create_symlink(dir.Path("planted"), dir.Path("logs/TFFailed.txt"));
    test::ScriptedDesktop quiet;
    TLogFilebx log(quiet);
    log.FileSuccess.Add("/src/a.txt");
    std::ostringstream errors;
    EXPECT_TRUE(WriteRunLogs(log, dir.Path("logs"), errors));
    EXPECT_EQ(dir.ReadFile("victim.conf"), "secret");
    EXPECT_FALSE(dir.Exists("planted"));
    for (const char* name : {"logs/TFSuccess.txt", "logs/TFFailed.txt"})
        EXPECT_TRUE(
            std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.Path(name))));
    EXPECT_EQ(dir.ReadFile("logs/TFSuccess.txt"), "/src/a.txt\r\n");
}

TEST(WriteRunLogsTest, AFileThatCannotBeWrittenIsReportedAndTheOthersAreWritten) {
    test::TestDir dir;
    test::ScriptedDesktop quiet;
    TLogFilebx log(quiet);
    log.FileOld.Add("/src/a.txt");
    dir.CreateDirectory("logs/TFSuccess.txt");
    std::ostringstream errors;
    EXPECT_FALSE(WriteRunLogs(log, dir.Path("logs"), errors));
    EXPECT_EQ(errors.str(), "twinfold-batch: Cannot create file " + dir.Path("logs/TFSuccess.txt") +
                                ": Is a directory\n");
    EXPECT_EQ(dir.ReadFile("logs/TFOlder.txt"), "/src/a.txt\r\n");
    EXPECT_TRUE(dir.Exists("logs/TFFailed.txt"));
}

}  // namespace
