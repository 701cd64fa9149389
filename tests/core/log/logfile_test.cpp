#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "log/TLogFilebx.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using twinfold::LogList;
using twinfold::TLogFilebx;
using twinfold::test::ScriptedDesktop;
using twinfold::test::TestDir;

namespace {

struct RunLog : ::testing::Test {
    ScriptedDesktop desktop;
    TLogFilebx log{desktop};
    TestDir dir;

    // Names in the test directory, temporary files included.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

std::vector<std::string> EntriesOf(const LogList& list) { return list.Entries(); }

}  // namespace

TEST_F(RunLog, ListsAccumulateInOrderUntilCleared) {
    // Two runs without "Clear": the second run's entries follow the first's.
    log.FileSuccess.Add("/DATA/A.TXT");
    log.FileOld.Add("/DATA/B.TXT");
    log.FileSuccess.Add("/DATA/A.TXT");
    log.FileFailed.Add("/DATA/C.TXT");
    log.FileSuccess.Add("/DATA/D.TXT");

    EXPECT_EQ(EntriesOf(log.FileSuccess),
              (std::vector<std::string>{"/DATA/A.TXT", "/DATA/A.TXT", "/DATA/D.TXT"}));
    EXPECT_EQ(log.FileOld.Count(), 1u);
    EXPECT_EQ(log.FileFailed[0], "/DATA/C.TXT");

    log.BitBtn2Click();
    EXPECT_EQ(log.FileSuccess.Count(), 0u);
    EXPECT_EQ(log.FileOld.Count(), 0u);
    EXPECT_EQ(log.FileFailed.Count(), 0u);
    EXPECT_TRUE(desktop.boxes.empty()) << "Clear asks nothing";
}

TEST_F(RunLog, ListsNotifyEveryChange) {
    int changes = 0;
    const twinfold::Connection fileOldChange = log.FileOld.OnChange.Connect([&] { ++changes; });
    log.FileOld.Add("x");
    log.FileOld.Add("y");
    log.BitBtn2Click();
    log.BitBtn2Click();  // already empty: nothing changes
    EXPECT_EQ(changes, 3);
}

TEST_F(RunLog, OkClosesTheModalDialog) {
    std::vector<bool> shows;
    const twinfold::Connection logShowChange =
        log.OnShowChange.Connect([&] { shows.push_back(log.Visible()); });
    log.ShowModal();
    EXPECT_TRUE(log.Visible());
    log.BitBtn1Click();
    EXPECT_FALSE(log.Visible());
    EXPECT_EQ(shows, (std::vector<bool>{true, false}));
}

TEST_F(RunLog, SavesEveryEntryWithCrLfAndNothingElse) {
    log.FileSuccess.Add("/DATA/REPORT.DOC");
    log.FileSuccess.Add("/DATA/SUB/ÄRGER.TXT");
    desktop.fileAnswers = {dir.Path("out.txt")};
    log.SaveSuccessClick();

    EXPECT_EQ(dir.ReadFile("out.txt"), "/DATA/REPORT.DOC\r\n/DATA/SUB/ÄRGER.TXT\r\n");
    EXPECT_EQ(log.FileSuccess.Count(), 2u) << "saving leaves the list alone";
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(Names(), std::vector<std::string>{"out.txt"});
}

TEST_F(RunLog, EachSaveButtonWritesItsOwnListUnderItsOwnProposedName) {
    struct Case {
        const char* proposed;
        LogList TLogFilebx::*list;
        void (TLogFilebx::*click)();
    };
    const Case cases[] = {
        {"TFSuccess.txt", &TLogFilebx::FileSuccess, &TLogFilebx::SaveSuccessClick},
        {"TFOlder.txt", &TLogFilebx::FileOld, &TLogFilebx::SaveOldClick},
        {"TFFailed.txt", &TLogFilebx::FileFailed, &TLogFilebx::SaveFailClick},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.proposed);
        ScriptedDesktop desktop;
        TLogFilebx log(desktop);
        (log.*c.list).Add(c.proposed);
        // Twice: the proposal is made afresh whatever was chosen before.
        desktop.fileAnswers = {dir.Path("elsewhere.log"), std::nullopt};
        (log.*c.click)();
        (log.*c.click)();

        ASSERT_EQ(desktop.fileDialogs.size(), 2u);
        for (const auto& dialog : desktop.fileDialogs) {
            EXPECT_EQ(dialog.fileName, c.proposed);
            EXPECT_EQ(dialog.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
            EXPECT_EQ(dialog.defaultExtension, "txt");
            EXPECT_TRUE(dialog.confirmOverwrite);
        }
        EXPECT_EQ(desktop.fileDialogs[1].initialDirectory, dir.path() + "/");
        EXPECT_EQ(dir.ReadFile("elsewhere.log"), std::string(c.proposed) + "\r\n");
    }
}

TEST_F(RunLog, EmptyListWritesAZeroByteFileOverAnOldOne) {
    dir.CreateFile("TFOlder.txt", "old contents\r\n");
    desktop.fileAnswers = {dir.Path("TFOlder.txt")};
    log.SaveOldClick();
    EXPECT_TRUE(dir.Exists("TFOlder.txt"));
    EXPECT_EQ(dir.ReadFile("TFOlder.txt"), "");
    EXPECT_EQ(Names(), std::vector<std::string>{"TFOlder.txt"});
}

TEST_F(RunLog, CancelledDialogWritesNothing) {
    log.FileFailed.Add("/DATA/X");
    log.SaveFailClick();  // no answer queued: cancelled
    EXPECT_EQ(desktop.fileDialogs.size(), 1u);
    EXPECT_TRUE(Names().empty());
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(log.FileFailed.Count(), 1u);
}

TEST_F(RunLog, FileThatCannotBeCreatedIsReportedAndNothingIsLeft) {
    dir.CreateFile("locked.txt", "keep");
    dir.MakeReadOnly("locked.txt");
    dir.CreateDirectory("folder.txt");
    struct Case {
        const char* name;
        std::string path;
        const char* reason;
    };
    const Case cases[] = {
        {"missing directory", dir.Path("missing/TFSuccess.txt"), "No such file or directory"},
        {"read-only file", dir.Path("locked.txt"), "Permission denied"},
        {"directory in the way", dir.Path("folder.txt"), "Is a directory"},
    };
    log.FileSuccess.Add("/DATA/A");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.boxes.clear();
        desktop.fileAnswers = {c.path};
        log.SaveSuccessClick();
        ASSERT_EQ(desktop.boxes.size(), 1u);
        EXPECT_EQ(desktop.boxes[0].kind, twinfold::BoxKind::Error);
        EXPECT_EQ(desktop.boxes[0].caption, "Twinfold for Windows");
        EXPECT_EQ(desktop.boxes[0].text, "Cannot create file " + c.path + ": " + c.reason);
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"folder.txt", "locked.txt"}));
    EXPECT_EQ(dir.ReadFile("locked.txt"), "keep");
    EXPECT_FALSE(dir.Exists("missing"));
    EXPECT_EQ(log.FileSuccess.Count(), 1u);
}

// A file-size limit makes the write fail part-way, as a full disk would.
TEST_F(RunLog, WriteFailureKeepsThePreviousFileAndLeavesNoTemporary) {
    dir.CreateFile("TFSuccess.txt", "previous\r\n");
    for (int i = 0; i < 100; ++i)
        log.FileSuccess.Add("/DATA/LONG/ENTRY/NUMBER/" + std::to_string(i));

    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    desktop.fileAnswers = {dir.Path("TFSuccess.txt")};
    log.SaveSuccessClick();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(desktop.Texts(),
              std::vector<std::string>{"Stream write error: " + dir.Path("TFSuccess.txt") +
                                       ": File too large"});
    EXPECT_EQ(dir.ReadFile("TFSuccess.txt"), "previous\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"TFSuccess.txt"});
    EXPECT_EQ(log.FileSuccess.Count(), 100u);
}
