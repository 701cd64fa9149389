// Copying whole directories on worker threads must read exactly as copying
// one file after the other: the same log in the same order, the same
// messages at the same turns, and after a cancel nothing done unlogged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;
using twinfold::test::LocalTime;

namespace {

const std::int64_t kOld = LocalTime(2019, 1, 1);
const std::int64_t kNew = LocalTime(2022, 2, 2);

// A tree with every outcome in several directories: copies, skips, a target
// that may not be replaced and a directory that cannot be made.
void MakeTree(test::TestDir& dir) {
    for (int d = 0; d < 6; ++d) {
        const std::string sub = "src/d" + std::to_string(d) + "/";
        for (int f = 0; f < 20; ++f) dir.CreateFile(sub + "f" + std::to_string(f), "x", kNew);
        dir.CreateFile(sub + "same.txt", "s", kOld);
        dir.CreateFile("dst/d" + std::to_string(d) + "/same.txt", "s", kOld);
        dir.CreateFile(sub + "locked.txt", "new", kNew);
        dir.CreateFile("dst/d" + std::to_string(d) + "/locked.txt", "old", kOld);
        dir.MakeReadOnly("dst/d" + std::to_string(d) + "/locked.txt");
    }
    dir.CreateFile("src/d3/inner/i.txt", "i", kNew);
    dir.CreateFile("src/blocked/b.txt", "b", kNew);
    dir.CreateFile("dst/blocked", "a file in the way");
    dir.CreateFile("src/top.txt", "t", kNew);
}

std::map<std::string, std::string> Files(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).string()] =
            std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

struct Outcome {
    std::vector<std::string> success, old, failed, texts;
    std::map<std::string, std::string> files;
};

// One Sync All of a fresh tree with `workers`; `atPump` may act at pumps.
Outcome SyncWith(int workers,
                 std::function<void(int, Windows&, test::ScriptedDesktop&)> atPump = {}) {
    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows(desktop, dir.ProgramDir());
    MakeTree(dir);
    auto& main = windows.main;
    main.syncWorkers = workers;
    EXPECT_TRUE(main.SourceDirListBox.SetDirectory(dir.Path("src")).ok());
    EXPECT_TRUE(main.DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    main.SyncAll.SetChecked(true);
    if (atPump) desktop.onPump = [&](int n) { atPump(n, windows, desktop); };
    main.SyncBtnClick();

    Outcome run;
    auto relative = [&](const std::vector<std::string>& entries) {
        std::vector<std::string> names;
        for (const auto& e : entries) names.push_back(fs::relative(e, dir.Path("src")).string());
        return names;
    };
    run.success = relative(windows.logFile.FileSuccess.Entries());
    run.old = relative(windows.logFile.FileOld.Entries());
    run.failed = relative(windows.logFile.FileFailed.Entries());
    for (auto text : desktop.Texts()) {
        // The paths differ between two trees; the words and the order do not.
        for (std::size_t at; (at = text.find(dir.path())) != std::string::npos;) {
            text.replace(at, dir.path().size(), "<tree>");
        }
        run.texts.push_back(text);
    }
    run.files = Files(dir.Path("dst"));
    EXPECT_FALSE(main.Running());
    return run;
}

TEST(SyncWorkers, ReadExactlyAsOneFileAfterTheOther) {
    const Outcome alone = SyncWith(0);
    for (int workers : {1, 3}) {
        SCOPED_TRACE(workers);
        const Outcome together = SyncWith(workers);
        EXPECT_EQ(together.success, alone.success);
        EXPECT_EQ(together.old, alone.old);
        EXPECT_EQ(together.failed, alone.failed);
        EXPECT_EQ(together.texts, alone.texts);
        EXPECT_EQ(together.files, alone.files);
    }
    // The tree has every outcome, so the comparison means something.
    EXPECT_EQ(alone.success.size(), 6u * 20u + 2u);
    EXPECT_EQ(alone.old.size(), 6u);
    EXPECT_EQ(alone.failed.size(), 6u + 1u);
}

// Cancel confirmed while three workers run ahead: every file that is on the
// destination and was not there before is logged as copied, the log keeps
// the walk's order, and nothing is logged that was not done.
TEST(SyncWorkers, ACancelInTheMiddleLogsWhatWasDoneInOrder) {
    const Outcome full = SyncWith(0);
    for (int pump : {5, 30, 70}) {
        SCOPED_TRACE(pump);
        const Outcome cancelled = SyncWith(3, [pump](int n, Windows& w, test::ScriptedDesktop& d) {
            if (n != pump) return;
            d.answers.push_back(true);
            w.syncBox.CancelClick();
        });
        EXPECT_EQ(cancelled.texts.back(), "Operation Canceled!");
        // In the full run's order: each list is a subsequence of the full one.
        auto inOrder = [](const std::vector<std::string>& part,
                          const std::vector<std::string>& all) {
            auto at = all.begin();
            for (const auto& entry : part) {
                at = std::find(at, all.end(), entry);
                if (at == all.end()) return false;
                ++at;
            }
            return true;
        };
        EXPECT_TRUE(inOrder(cancelled.success, full.success));
        EXPECT_TRUE(inOrder(cancelled.old, full.old));
        EXPECT_TRUE(inOrder(cancelled.failed, full.failed));
        std::set<std::string> logged(cancelled.success.begin(), cancelled.success.end());
        for (const auto& [name, content] : cancelled.files) {
            const bool before =
                name.ends_with("same.txt") || name.ends_with("locked.txt") || name == "blocked";
            EXPECT_TRUE(before || logged.count(name) == 1) << name << " copied but not logged";
            EXPECT_NE(fs::path(name).filename().string().rfind(".tf", 0), 0u) << name;
        }
        for (const auto& name : logged) EXPECT_EQ(cancelled.files.count(name), 1u) << name;
    }
}

}  // namespace
