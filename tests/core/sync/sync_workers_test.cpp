// Copying whole directories on worker threads must read exactly as copying
// one file after the other: the same log in the same order, the same
// messages at the same turns, and after a cancel nothing done unlogged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>

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
    for (int d = 0; d < 6; ++d) dir.CreateDirectory("src/d" + std::to_string(d) + "e");
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
    std::set<std::string> dirs, shown;
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
    Outcome run;
    const Connection showing = main.FileList.OnItemsChange.Connect([&] {
        run.shown.insert(fs::relative(main.FileList.Directory(), dir.Path("src")).string());
    });
    // While the question is open nothing is copied, once a file past its last
    // chunk when Cancel was pressed has landed.
    desktop.onAsk = [&](const MessageBox&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const auto before = Files(dir.Path("dst"));
        for (int look = 0; look < 20; ++look) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            EXPECT_EQ(Files(dir.Path("dst")), before);
        }
    };
    main.SyncBtnClick();

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
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path("dst"))) {
        if (entry.is_directory())
            run.dirs.insert(fs::relative(entry.path(), dir.Path("dst")).string());
    }
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

// Cancel pressed while two workers run ahead holds them until it is answered:
// No goes on to the end; after Yes every file on the destination that was
// not there before is logged once, in the walk's order, and no directory was
// made that the walk had not shown, unless a logged file is in it.
TEST(SyncWorkers, ACancelHoldsTheWorkersAndLogsWhatWasDoneInOrder) {
    const Outcome full = SyncWith(0);
    struct Row {
        const char* name;
        int pump;  // 0: as a worker puts d1's sixth file in place
        bool yes;
    };
    for (const Row row : {Row{"early", 5, true}, Row{"middle", 30, true}, Row{"late", 70, true},
                          Row{"answered No", 30, false}, Row{"as a file is done", 0, true}}) {
        SCOPED_TRACE(row.name);
        const Outcome cancelled = SyncWith(2, [row](int n, Windows& w, test::ScriptedDesktop& d) {
            const TFileListBox& list = w.main.FileList;
            if (row.pump == 0 && w.syncBox.ModalResult() == TSyncBox::kRunOn &&
                list.Directory().ends_with("/d1") && list.ItemIndex() == 4) {
                const auto next = w.main.DestDirListBox.Directory() + "/" + list.Items()[5].text;
                while (!fs::exists(next)) std::this_thread::yield();
            } else if (n != row.pump) {
                return;
            }
            d.answers.push_back(row.yes);
            w.syncBox.CancelClick();
        });
        if (!row.yes) {
            EXPECT_EQ(std::tie(cancelled.success, cancelled.old, cancelled.failed, cancelled.files),
                      std::tie(full.success, full.old, full.failed, full.files));
            continue;
        }
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
        EXPECT_EQ(logged.size(), cancelled.success.size()) << "a file logged twice";
        for (const auto& [name, content] : cancelled.files) {
            const bool before =
                name.ends_with("same.txt") || name.ends_with("locked.txt") || name == "blocked";
            EXPECT_TRUE(before || logged.count(name) == 1) << name << " copied but not logged";
            EXPECT_NE(fs::path(name).filename().string().rfind(".tf", 0), 0u) << name;
        }
        for (const auto& name : logged) EXPECT_EQ(cancelled.files.count(name), 1u) << name;
        for (const auto& made : cancelled.dirs) {
            const bool holdsLogged = std::any_of(logged.begin(), logged.end(), [&](auto& name) {
                return name.starts_with(made + "/");
            });
            const bool before = made.size() == 2;  // d0 to d5
            EXPECT_TRUE(before || cancelled.shown.count(made) || holdsLogged) << made;
        }
    }
}

}  // namespace
