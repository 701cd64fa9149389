// A run reads only inside its source tree and writes only inside its
// destination tree, whatever the tree does while the run goes on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#include "main/Windows.h"
#include "platform/PendingFile.h"
#include "support/DeepTree.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"
#include "sync/FileStep.h"
#include "sync/TreeWalk.h"

namespace fs = std::filesystem;
using namespace twinfold;
using twinfold::test::LocalTime;

namespace {

const std::int64_t kNew = LocalTime(2021, 6, 1);
// A walk that never ends pumps without end; this many pumps is a runaway.
constexpr int kRunawayPumps = 400;

// Every file below `root` with its content, links shown as "-> target".
std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).string();
        if (entry.is_symlink()) {
            files[relative] = "-> " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[relative] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return files;
}

class ConfinementTest : public ::testing::Test {
protected:
    // One file after the other, so that a test can act at a known message pump.
    ConfinementTest() : windows(desktop, dir.ProgramDir()) {
        windows.main.syncWorkers = 0;
        dir.CreateFile("src/a/1.txt", "1", kNew);
        dir.CreateFile("src/b/2.txt", "2", kNew);
        dir.CreateFile("src/c/3.txt", "3", kNew);
        dir.CreateFile("src/top.txt", "t", kNew);
        dir.CreateFile("outside/secret.txt", "secret", kNew);
        dir.CreateFile("outside/victim.conf", "original", LocalTime(2000, 1, 1));
        dir.CreateDirectory("dst");
    }

    // Runs Sync All from src into dst; `atPump` may change the tree at each
    // message pump (the first position is pump 1, position b pump 4).
    void Walk(std::function<void(int)> atPump = {}) {
        ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path("src")).ok());
        ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
        main().SyncAll.SetChecked(true);
        desktop.onPump = [this, atPump](int n) {
            if (atPump) atPump(n);
            if (n == kRunawayPumps) {
                runaway = true;
                desktop.answers.push_back(true);
                windows.syncBox.CancelClick();
            }
        };
        const auto outside = Snapshot(dir.Path("outside"));
        main().SyncBtnClick();
        EXPECT_FALSE(runaway) << "the walk did not end";
        EXPECT_EQ(Snapshot(dir.Path("outside")), outside) << "something outside was written";
        for (const auto& [name, content] : Snapshot(dir.Path("dst"))) {
            EXPECT_NE(content, "secret") << name << " was read from outside the source";
            EXPECT_FALSE(platform::IsTemporaryName(fs::path(name).filename().string()))
                << name << " is a temporary left behind";
        }
    }

    std::vector<std::string> Failed() { return windows.logFile.FileFailed.Entries(); }
    TMain& main() { return windows.main; }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows;
    bool runaway = false;
};

TEST_F(ConfinementTest, TheTreeChangingUnderTheWalkNeverLeadsItOut) {
    struct Case {
        const char* name;
        std::function<void(test::TestDir&)> change;  // at the pump before position b
        std::vector<std::string> copied;             // below dst, besides a/1.txt and top.txt
    };
    const std::vector<Case> cases = {
        {"siblings removed",
         [](test::TestDir& t) {
             fs::remove_all(t.Path("src/b"));
             fs::remove_all(t.Path("src/c"));
         },
         {}},
        {"sibling replaced by a file",
         [](test::TestDir& t) {
             fs::remove_all(t.Path("src/b"));
             t.CreateFile("src/b", "now a file");
         },
         {"c/3.txt"}},
        {"sibling swapped for a link to outside",
         [](test::TestDir& t) {
             fs::create_directory_symlink(t.Path("outside"), t.Path("src/swap"));
             ASSERT_EQ(renameat2(AT_FDCWD, t.Path("src/b").c_str(), AT_FDCWD,
                                 t.Path("src/swap").c_str(), RENAME_EXCHANGE),
                       0);
         },
         {"c/3.txt"}},
        {"sibling swapped for another directory",
         [](test::TestDir& t) {
             fs::rename(t.Path("src/b"), t.Path("b-moved"));
             t.CreateFile("src/b/new.txt", "n", kNew);
         },
         {"c/3.txt"}},
        {"link to outside planted at the destination",
         [](test::TestDir& t) { fs::create_directory_symlink(t.Path("outside"), t.Path("dst/b")); },
         {"c/3.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir.Path("dst"));
        fs::remove_all(dir.Path("b-moved"));
        fs::remove_all(dir.Path("src/swap"));
        fs::remove_all(dir.Path("src/b"));
        dir.CreateFile("src/b/2.txt", "2", kNew);
        dir.CreateFile("src/c/3.txt", "3", kNew);
        dir.CreateDirectory("dst");
        windows.logFile.BitBtn2Click();
        desktop.boxes.clear();
        desktop.pumps = 0;

        Walk([&](int n) {
            if (n == 4) c.change(dir);
        });

        std::vector<std::string> expected = {"a/1.txt", "top.txt"};
        expected.insert(expected.end(), c.copied.begin(), c.copied.end());
        std::vector<std::string> copied;
        for (const auto& [name, content] : Snapshot(dir.Path("dst"))) {
            if (content.rfind("-> ", 0) != 0) copied.push_back(name);
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(copied, expected);
        EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("src"));
    }
}

TEST_F(ConfinementTest, ALinkToADirectoryAtTheDestinationIsRefusedNotWrittenThrough) {
    dir.CreateFile("src/etc/victim.conf", "from the source", kNew);
    dir.CreateFile("src/etc/deeper/more.conf", "more", kNew);
    fs::create_directory_symlink(dir.Path("outside"), dir.Path("dst/etc"));

    Walk();

    EXPECT_EQ(dir.ReadFile("outside/victim.conf"), "original");
    EXPECT_FALSE(dir.Exists("outside/deeper"));
    EXPECT_EQ(Failed(), (std::vector<std::string>{dir.Path("src/etc/deeper/more.conf"),
                                                  dir.Path("src/etc/victim.conf")}));
    // Reported once, where the refusal arose; the run then goes on.
    const std::vector<std::string> expected = {
        "Could not create directory: " + dir.Path("dst/etc") + ".  Files not copied!",
        "Directory Sync finished: 4 copied, 0 skipped, 2 failed. The failed files are in the run "
        "log (Log menu)."};
    EXPECT_EQ(desktop.Texts(), expected);
    EXPECT_EQ(dir.ReadFile("dst/c/3.txt"), "3");
}

TEST_F(ConfinementTest, LinksToFilesAreCopiedOnlyWhileTheyStayInsideTheTree) {
    fs::create_symlink("a/1.txt", dir.Path("src/inside.txt"));
    fs::create_symlink(dir.Path("src/b/../a/1.txt"), dir.Path("src/absolute.txt"));
    fs::create_symlink(dir.Path("src/top.txt"), dir.Path("src/c/up.txt"));
    fs::create_symlink(dir.Path("src/../outside/secret.txt"), dir.Path("src/climbs-out.txt"));
    fs::create_symlink(dir.Path("outside/secret.txt"), dir.Path("src/leak.txt"));
    fs::create_symlink("../outside/secret.txt", dir.Path("src/relative-leak.txt"));

    Walk();

    EXPECT_EQ(dir.ReadFile("dst/inside.txt"), "1");
    EXPECT_EQ(dir.ReadFile("dst/absolute.txt"), "1");
    EXPECT_EQ(dir.ReadFile("dst/c/up.txt"), "t");
    EXPECT_FALSE(dir.Exists("dst/climbs-out.txt"));
    EXPECT_FALSE(dir.Exists("dst/leak.txt"));
    EXPECT_FALSE(dir.Exists("dst/relative-leak.txt"));
    EXPECT_EQ(Failed(),
              (std::vector<std::string>{dir.Path("src/climbs-out.txt"), dir.Path("src/leak.txt"),
                                        dir.Path("src/relative-leak.txt")}));
    EXPECT_EQ(desktop.Texts().front(),
              "Could not open file: " + dir.Path("src/climbs-out.txt") + ".  File not copied!");
}

// What a run that did not finish left of its temporaries goes with the next
// run, unseen; names that only look like one, and other kinds, stay.
TEST_F(ConfinementTest, LeftoverTemporariesAreRemovedUnseen) {
    const std::string leftover = ".tf0123456789abcdef";
    dir.CreateFile("dst/a/" + leftover, "half a copy");
    ASSERT_EQ(mkfifo(dir.Path("dst/a/.tf0000000000000000").c_str(), 0644), 0);
    dir.CreateFile("src/a/" + leftover, "another run's", kNew);
    for (const char* alike : {".tf123", ".tf0123456789ABCDEF", "x.tf0123456789abcdef"}) {
        dir.CreateFile(std::string("src/a/") + alike, "alike", kNew);
    }
    Walk();
    EXPECT_EQ(dir.Names("dst/a"),
              (std::vector<std::string>{".tf0000000000000000", ".tf0123456789ABCDEF", ".tf123",
                                        "1.txt", "x.tf0123456789abcdef"}));
    EXPECT_EQ(dir.ReadFile("dst/a/.tf123"), "alike");
    for (const auto* list :
         {&windows.logFile.FileSuccess, &windows.logFile.FileOld, &windows.logFile.FileFailed}) {
        for (const auto& entry : list->Entries()) EXPECT_FALSE(entry.ends_with("/" + leftover));
    }
    EXPECT_EQ(windows.logFile.FileSuccess.Entries().size(), 7u);
}

// What is opened for a copy must be the very file the decision looked at:
// anything put in its place meanwhile fails that file, unread.
TEST(FileStep, AFileReplacedAfterItsDecisionIsNotCopied) {
    using Problem = sync::FileOutcome::Problem;
    struct Case {
        const char* name;
        std::function<void(test::TestDir&)> swap;  // what becomes src/new, or a change in place
        Problem problem = Problem::OpenSource;
    };
    const std::vector<Case> swaps = {
        {"a FIFO", [](test::TestDir& t) { mkfifo(t.Path("src/new").c_str(), 0644); }},
        {"another file", [](test::TestDir& t) { t.CreateFile("src/new", "other", kNew); }},
        {"a link inside", [](test::TestDir& t) { fs::create_symlink("g.txt", t.Path("src/new")); }},
        // Not whole: no copy of it may look up to date.
        {"the same file, shrunk",
         [](test::TestDir& t) { ASSERT_EQ(truncate(t.Path("src/f.txt").c_str(), 3), 0); },
         Problem::ReadSource},
    };
    for (const auto& [name, swap, problem] : swaps) {
        SCOPED_TRACE(name);
        test::TestDir dir;
        dir.CreateFile("src/f.txt", "twelve bytes", kNew);
        dir.CreateFile("src/g.txt", "g", kNew);
        dir.CreateDirectory("dst");
        const auto pair = sync::OpenDirectoryPair(dir.Path("src"), dir.Path("dst"));
        const sync::Place place = pair.place();
        auto decision = sync::DecideFile(place, "f.txt", nullptr);
        ASSERT_TRUE(decision.copy);
        swap(dir);
        if (fs::exists(fs::symlink_status(dir.Path("src/new")))) {
            fs::rename(dir.Path("src/new"), dir.Path("src/f.txt"));
        }
        char buffer[64];
        const auto outcome =
            sync::CopyFile(place, "f.txt", decision, {}, buffer, [] { return true; });
        EXPECT_EQ(outcome.kind, sync::FileOutcome::Kind::Failed);
        EXPECT_EQ(outcome.problem, problem);
        EXPECT_FALSE(outcome.reason.empty());
        EXPECT_TRUE(dir.Names("dst").empty());
    }
}

TEST_F(ConfinementTest, TheWalksOwnDirectoryRemovedUnderItEndsNothingButItsFiles) {
    // Pump 2 comes right before a's own files.
    Walk([&](int n) {
        if (n == 2) fs::remove_all(dir.Path("src/a"));
    });
    EXPECT_EQ(windows.logFile.FileOld.Entries(), std::vector<std::string>{dir.Path("src/a/1.txt")});
    EXPECT_EQ(dir.ReadFile("dst/b/2.txt"), "2");
    EXPECT_EQ(desktop.Texts().back(), "Directory Sync Successful!");
}

// Names of 255 bytes, the longest a file system takes, in single-byte and
// in two-byte characters, through the walk and the marked-files mode.
TEST_F(ConfinementTest, TheLongestNamesCopy) {
    std::string ascii(255, 'n');
    std::string twoByte;
    while (twoByte.size() + 2 <= 255) twoByte += "\xC3\xA9";  // é
    twoByte += "x";
    for (const auto& name : {ascii, twoByte}) {
        dir.CreateFile("src/long/" + name, "long", kNew);
    }
    Walk();
    EXPECT_EQ(dir.ReadFile("dst/long/" + ascii), "long");
    EXPECT_EQ(dir.ReadFile("dst/long/" + twoByte), "long");
    EXPECT_TRUE(Failed().empty());

    fs::remove_all(dir.Path("dst/long"));
    ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path("src/long")).ok());
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    main().SyncAll.SetChecked(false);
    main().SelectAll1Click();
    main().SyncBtnClick();
    EXPECT_EQ(dir.ReadFile("dst/" + ascii), "long");
    EXPECT_EQ(dir.ReadFile("dst/" + twoByte), "long");
}

// Removes a tree whose paths may be too long for one call.
void RemoveDeepTree(const std::string& path) {
    ASSERT_EQ(std::system(("rm -rf '" + path + "'").c_str()), 0);
}

// A tree deeper than the longest path the system takes in one piece.
TEST_F(ConfinementTest, TreesDeeperThanTheLongestPathAreWalkedWhole) {
    const std::string level(200, 'd');
    int at = open(dir.Path("src").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(at, 0);
    constexpr int kLevels = 25;  // 25 x 201 bytes, beyond 4096
    for (int i = 0; i < kLevels; ++i) {
        ASSERT_EQ(mkdirat(at, level.c_str(), 0755), 0);
        int next = openat(at, level.c_str(), O_RDONLY | O_DIRECTORY);
        close(at);
        at = next;
    }
    int file = openat(at, "deep.txt", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(write(file, "deep", 4), 4);
    close(file);
    close(at);
    ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path("src")).ok());
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    main().SyncAll.SetChecked(true);

    main().SyncBtnClick();

    int back = open(dir.Path("dst").c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < kLevels && back >= 0; ++i) {
        int next = openat(back, level.c_str(), O_RDONLY | O_DIRECTORY);
        close(back);
        back = next;
    }
    ASSERT_GE(back, 0) << "the deep directories were not made";
    struct stat st {};
    EXPECT_EQ(fstatat(back, "deep.txt", &st, 0), 0);
    EXPECT_EQ(st.st_size, 4);
    close(back);
    EXPECT_TRUE(Failed().empty());
    EXPECT_EQ(desktop.Texts(), std::vector<std::string>{"Directory Sync Successful!"});
    RemoveDeepTree(dir.Path("src/" + level));
    RemoveDeepTree(dir.Path("dst/" + level));
}

TEST_F(ConfinementTest, CopiesTakeTheSourcesPermissionsAndReplacedFilesKeepTheirOwn) {
    struct Case {
        const char* name;
        mode_t source;
        std::optional<mode_t> existing;  // a target to replace
        mode_t expected;
        mode_t expectedPrivate;  // under umask 077: nothing for others
    };
    const std::vector<Case> cases = {
        {"executable", 0755, std::nullopt, 0755, 0700},
        {"private key", 0600, std::nullopt, 0600, 0600},
        {"read-only source", 0444, std::nullopt, 0644, 0600},
        {"replaced target keeps its bits", 0755, 0640, 0640, 0640},
    };
    const mode_t mask = umask(022);
    for (mode_t creation : {022, 077}) {
        umask(creation);
        fs::remove_all(dir.Path("dst/modes"));
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string name = std::string(c.name) + ".bin";
            ASSERT_EQ(chmod(dir.CreateFile("src/modes/" + name, "new", kNew).c_str(), c.source), 0);
            if (c.existing) {
                const std::string target = dir.CreateFile("dst/modes/" + name, "old", 0);
                ASSERT_EQ(chmod(target.c_str(), *c.existing), 0);
                ASSERT_EQ(chown(target.c_str(), 1234, 5678) == 0, geteuid() == 0);
            }
        }
        Walk();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string target = dir.Path("dst/modes/" + std::string(c.name) + ".bin");
            struct stat st {};
            ASSERT_EQ(stat(target.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, creation == 022 ? c.expected : c.expectedPrivate);
            EXPECT_EQ(dir.ReadFile("dst/modes/" + std::string(c.name) + ".bin"), "new");
            if (c.existing && geteuid() == 0) {
                EXPECT_EQ(st.st_uid, 1234u);
                EXPECT_EQ(st.st_gid, 5678u);
            }
        }
    }
    umask(mask);
}

// A file dated before 1980 has no stamp: it is still copied where the
// destination lacks it, with its exact time; an existing copy is kept.
TEST_F(ConfinementTest, FilesWithoutAStampAreCopiedWhereMissing) {
    const std::int64_t early = LocalTime(1970, 3, 4, 5, 6, 7);
    dir.CreateFile("src/old/missing.txt", "from 1970", early);
    dir.CreateFile("src/old/present.txt", "from 1970", early);
    dir.CreateFile("dst/old/present.txt", "kept", LocalTime(1975, 1, 1));
    Walk();
    EXPECT_EQ(dir.ReadFile("dst/old/missing.txt"), "from 1970");
    EXPECT_EQ(dir.Modified("dst/old/missing.txt"), early);
    EXPECT_EQ(dir.ReadFile("dst/old/present.txt"), "kept");
}

// Cancel confirmed while a large file is being copied: the copy stops in the
// middle, nothing of it stays, the old file is intact and nothing is logged.
TEST_F(ConfinementTest, ACancelConfirmedDuringALongCopyStopsIt) {
    // Mostly a hole, quick to make; the data before it is a piece to stop after.
    const std::string big = dir.CreateFile("src/big/huge.bin", "head");
    ASSERT_EQ(truncate(big.c_str(), std::int64_t{1} << 30), 0);
    dir.CreateFile("dst/huge.bin", "previous", LocalTime(2001, 1, 1));
    ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path("src/big")).ok());
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    main().SelectAll1Click();
    int pumpsBeforeCopy = -1;
    desktop.onPump = [&](int n) {
        if (pumpsBeforeCopy < 0) {
            pumpsBeforeCopy = n;  // the pump before the file
            // A copy pumps at most every 50 ms: once that has passed, it
            // pumps after its first piece.
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            return;
        }
        desktop.answers.push_back(true);
        windows.syncBox.CancelClick();
    };
    main().SyncBtnClick();

    EXPECT_EQ(dir.ReadFile("dst/huge.bin"), "previous");
    EXPECT_EQ(Snapshot(dir.Path("dst")).size(), 1u);
    EXPECT_TRUE(windows.logFile.FileSuccess.Entries().empty());
    EXPECT_TRUE(Failed().empty());
    EXPECT_EQ(desktop.Texts(), (std::vector<std::string>{"Are you sure you wish to cancel?",
                                                         "Operation Canceled!"}));
    EXPECT_FALSE(main().Running());
}

}  // namespace

namespace {

TEST_F(ConfinementTest, AThousandLevelsSyncWithFewerDescriptorsThanLevels) {
    const std::string name(20, 'd');
    platform::DirectoryHandle deepest = test::MakeDeepTree(dir.Path("src/a"), 1000, name);
    ASSERT_TRUE(deepest.isOpen());
    const int fd = openat(deepest.descriptor(), "leaf.txt", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(write(fd, "leaf", 4), 4);
    close(fd);
    deepest = platform::DirectoryHandle{};
    ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path("src")).ok());
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    main().SyncAll.SetChecked(true);
    test::DescriptorLimit limit(1024);

    main().SyncBtnClick();

    EXPECT_TRUE(Failed().empty());
    platform::DirectoryHandle copied = test::MakeDeepTree(dir.Path("dst/a"), 1000, name);
    auto leaf = copied.InfoOf("leaf.txt");
    ASSERT_TRUE(leaf.ok());
    EXPECT_EQ(leaf.value().size, 4u);
}

}  // namespace
