#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "main/Windows.h"
#include "support/DeepTree.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;

namespace {

using Names = std::vector<std::string>;

const std::string kProblem = "Problem removing directory: ";

Names Subdirectories(const TDirectoryListBox& pane) {
    Names names;
    for (const auto& item : pane.Items()) {
        if (item.kind == TDirectoryListBox::EntryKind::Subdirectory) names.push_back(item.text);
    }
    return names;
}

// Every entry below `root`, relative, links not followed, sorted.
Names Tree(const std::string& root) {
    Names names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        names.push_back(fs::relative(entry.path(), root).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class DeleteTest : public ::testing::Test {
protected:
    DeleteTest() : windows(desktop, dir.ProgramDir()) {
        dir.CreateDirectory("data/T");
        dir.CreateDirectory("other");
    }

    void OpenPanes(const std::string& source, const std::string& dest) {
        ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path(source)).ok());
        ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path(dest)).ok());
    }

    // Opens the dialog, types `field`, sets the check box and presses OK.
    void Delete(const std::string& field, bool subdirectories) {
        box().ShowModal();
        box().Edit1.SetText(field);
        box().DelSubdir.SetChecked(subdirectories);
        const auto asked = static_cast<std::ptrdiff_t>(desktop.boxes.size());
        box().BitBtn2Click();
        // The question before a tree goes is kept apart from what follows.
        if (desktop.boxes.size() > static_cast<std::size_t>(asked) &&
            desktop.boxes[static_cast<std::size_t>(asked)].kind == BoxKind::Confirmation) {
            question = desktop.boxes[static_cast<std::size_t>(asked)];
            desktop.boxes.erase(desktop.boxes.begin() + asked);
        }
    }

    TMain& main() { return windows.main; }
    TDelete& box() { return windows.deleteBox; }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows;
    std::optional<MessageBox> question;
};

TEST_F(DeleteTest, FilesOnlyDeletesEveryFileAndKeepsSubdirectoriesAndPanes) {
    dir.CreateFile("data/T/a.txt");
    dir.CreateFile("data/T/b.txt");
    dir.CreateFile("data/T/.h");
    dir.CreateFile("data/T/sub/inner.txt", "inner");
    OpenPanes("data/T", "other");

    Delete(dir.Path("data/T"), false);

    EXPECT_EQ(Tree(dir.Path("data/T")), (Names{"sub", "sub/inner.txt"}));
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("data/T"));
    EXPECT_EQ(main().DestDirListBox.Directory(), dir.Path("other"));
    EXPECT_EQ(main().FileList.Count(), 0);
    EXPECT_EQ(box().DelDirList.Directory(), dir.Path("data/T"));
    EXPECT_FALSE(box().Visible());
    EXPECT_FALSE(desktop.busy);
}

TEST_F(DeleteTest, FilesOnlySkipsReadOnlyAndSeesFilesMadeSinceTheLastUse) {
    dir.CreateFile("data/T/a.txt");
    dir.CreateFile("data/T/locked.txt", "locked");
    dir.MakeReadOnly("data/T/locked.txt");
    OpenPanes("other", "other");
    Delete(dir.Path("data/T"), false);
    EXPECT_EQ(Tree(dir.Path("data/T")), Names{"locked.txt"});

    // The hidden lists still stand in T: a second use must read it afresh.
    dir.CreateFile("data/T/late.txt");
    Delete(dir.Path("data/T"), false);
    EXPECT_EQ(Tree(dir.Path("data/T")), Names{"locked.txt"});
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(DeleteTest, WholeTreeGoesAndPanesThatShowedItMoveToItsParent) {
    dir.CreateFile("data/T/t.txt");
    dir.CreateFile("data/T/.hidden-file");
    dir.CreateFile("data/T/A/a.txt");
    dir.CreateFile("data/T/A/deep/d.txt");
    dir.CreateFile("data/T/B/b.txt");
    dir.CreateDirectory("data/keep");
    OpenPanes("data/T", "data/T");

    Delete(dir.Path("data/T"), true);

    EXPECT_FALSE(dir.Exists("data/T"));
    EXPECT_TRUE(dir.Exists("data/keep"));
    EXPECT_TRUE(desktop.boxes.empty());
    for (TDirectoryListBox* pane : {&main().SourceDirListBox, &main().DestDirListBox}) {
        EXPECT_EQ(pane->Directory(), dir.Path("data"));
        EXPECT_EQ(Subdirectories(*pane), Names{"keep"});
    }
    EXPECT_EQ(main().FileList.Directory(), dir.Path("data"));
    EXPECT_EQ(box().DelDirList.Directory(), dir.Path("data"));
}

TEST_F(DeleteTest, TreeIsWalkedDepthFirstFromTheLastSubdirectory) {
    // A read-only file in every directory keeps each one, so the order of
    // the reports is the order in which the walk tried to remove them.
    for (const char* leaf : {"A/A1", "A/A2", "B/B1"}) {
        const std::string file = std::string("data/T/") + leaf + "/locked";
        dir.CreateFile(file);
        dir.MakeReadOnly(file);
    }
    dir.CreateFile("data/T/A/gone.txt");
    OpenPanes("other", "other");

    Delete(dir.Path("data/T"), true);

    const std::string t = dir.Path("data/T");
    EXPECT_EQ(desktop.Texts(),
              (Names{kProblem + t + "/B/B1", kProblem + t + "/B", kProblem + t + "/A/A2",
                     kProblem + t + "/A/A1", kProblem + t + "/A", kProblem + t}));
    for (const auto& b : desktop.boxes) {
        EXPECT_EQ(b.kind, BoxKind::Information);
        EXPECT_EQ(b.caption, "Information");
    }
    EXPECT_FALSE(dir.Exists("data/T/A/gone.txt"));
}

TEST_F(DeleteTest, ReadOnlyFileLeavesItsChainOfDirectoriesWithOneMessageEach) {
    dir.CreateFile("data/T/A/locked.txt", "locked");
    dir.MakeReadOnly("data/T/A/locked.txt");
    dir.CreateFile("data/T/A/free.txt");
    dir.CreateFile("data/T/B/b.txt");
    dir.CreateFile("data/T/t.txt");
    OpenPanes("data/T", "other");

    Delete(dir.Path("data/T"), true);

    EXPECT_EQ(desktop.Texts(),
              (Names{kProblem + dir.Path("data/T/A"), kProblem + dir.Path("data/T")}));
    EXPECT_EQ(desktop.boxes[0].detail, "Directory not empty: locked.txt (read-only).");
    EXPECT_EQ(desktop.boxes[1].detail, "Directory not empty: A (not empty).");
    EXPECT_EQ(Tree(dir.Path("data/T")), (Names{"A", "A/locked.txt"}));
    EXPECT_EQ(dir.ReadFile("data/T/A/locked.txt"), "locked");
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("data"));
    EXPECT_EQ(Subdirectories(main().SourceDirListBox), Names{"T"});
}

TEST_F(DeleteTest, HiddenSubdirectoryIsNeverEnteredAndKeepsItsParent) {
    dir.CreateFile("data/T/A/.cache/kept.txt");
    dir.CreateFile("data/T/A/a.txt");
    OpenPanes("other", "other");

    Delete(dir.Path("data/T"), true);

    EXPECT_EQ(desktop.Texts(),
              (Names{kProblem + dir.Path("data/T/A"), kProblem + dir.Path("data/T")}));
    EXPECT_EQ(Tree(dir.Path("data/T")), (Names{"A", "A/.cache", "A/.cache/kept.txt"}));
}

TEST_F(DeleteTest, LinksAreNeverFollowedOutOfTheTree) {
    dir.CreateFile("outside/dir/precious.txt", "precious");
    dir.CreateFile("outside/file.txt", "file");
    dir.CreateDirectory("data/T/A");
    fs::create_directory_symlink(dir.Path("outside/dir"), dir.Path("data/T/A/dirlink"));
    fs::create_symlink(dir.Path("outside/file.txt"), dir.Path("data/T/A/filelink"));
    OpenPanes("other", "other");

    Delete(dir.Path("data/T"), true);

    // The link to a file goes as an entry; the link to a directory is not
    // listed, so it stays and keeps its directories.
    EXPECT_EQ(Tree(dir.Path("outside")), (Names{"dir", "dir/precious.txt", "file.txt"}));
    EXPECT_EQ(dir.ReadFile("outside/dir/precious.txt"), "precious");
    EXPECT_TRUE(fs::is_symlink(dir.Path("data/T/A/dirlink")));
    EXPECT_FALSE(dir.Exists("data/T/A/filelink"));
    EXPECT_EQ(desktop.Texts(),
              (Names{kProblem + dir.Path("data/T/A"), kProblem + dir.Path("data/T")}));
}

TEST_F(DeleteTest, NothingOutsideTheChosenDirectoryGoesWhateverChangesUnderIt) {
    // Each change is made while the first box is shown: the walk has left
    // B/B1 (kept by its read-only file) and is still inside B.
    struct Case {
        const char* name;
        const char* moved;    // renamed out of the way...
        const char* planted;  // ...and a link to the outside put in its place
        const char* target;
    };
    const Case cases[] = {
        {"a subdirectory not yet entered", "T/A", "T/A", "victim/V"},
        {"the subdirectory being deleted", "T/B", "T/B", "victim/V"},
        {"a file", "T/t.txt", "T/t.txt", "victim/other.txt"},
        {"the chosen directory itself", "T", "T", "victim/V"},
    };
    OpenPanes("other", "other");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string row = std::string("row-") + c.name + "/";
        for (const char* file : {"T/t.txt", "T/A/a.txt", "T/A/deep/d.txt", "T/B/b.txt",
                                 "victim/other.txt", "victim/V/v.txt", "victim/V/sub/s.txt"}) {
            dir.CreateFile(row + file, file);
        }
        dir.CreateFile(row + "T/B/B1/locked");
        dir.MakeReadOnly(row + "T/B/B1/locked");
        const Names victim = Tree(dir.Path(row + "victim"));
        bool changed = false;
        desktop.onShow = [&](const MessageBox& shown) {
            if (shown.kind != BoxKind::Information || changed) return;
            changed = true;
            fs::rename(dir.Path(row + c.moved), dir.Path(row + c.moved) + ".moved");
            fs::create_symlink(dir.Path(row + c.target), dir.Path(row + c.planted));
        };

        Delete(dir.Path(row + "T"), true);

        EXPECT_EQ(Tree(dir.Path(row + "victim")), victim);
        EXPECT_EQ(dir.ReadFile(row + "victim/other.txt"), "victim/other.txt");
        EXPECT_TRUE(fs::is_symlink(dir.Path(row + c.planted)) ||
                    !fs::exists(fs::symlink_status(dir.Path(row + c.planted))));
        EXPECT_GE(desktop.boxes.size(), 1u);
        desktop.boxes.clear();
    }
}

TEST_F(DeleteTest, ThousandLevelsGoWithFewerDescriptorsThanLevels) {
    ASSERT_TRUE(
        test::MakeDeepTree(dir.CreateDirectory("data/T"), 1000, std::string(20, 'd')).isOpen());
    OpenPanes("other", "other");
    test::DescriptorLimit limit(1024);

    Delete(dir.Path("data/T"), true);

    EXPECT_TRUE(desktop.boxes.empty()) << desktop.Texts().front().substr(0, 300);
    EXPECT_FALSE(dir.Exists("data/T"));
}

TEST_F(DeleteTest, RefusedInputsDeleteNothingAndSayWhy) {
    dir.CreateFile("data/T/a.txt");
    dir.CreateFile("data/T/sub/b.txt");
    fs::create_directory_symlink(dir.Path("data/T"), dir.Path("data/link"));
    const std::string t = dir.Path("data/T");
    const std::string full = "Please enter the full path of a directory.";
    struct Case {
        const char* name;
        std::string field;
        std::string message;
    };
    const Case cases[] = {
        {"empty", "", full},
        {"relative", "data/T", full},
        {"dot-dot", t + "/sub/..", full},
        {"a file", t + "/a.txt", t + "/a.txt is not a directory."},
        {"a pattern", t + "/*.txt", "Wildcards are not allowed in the directory name."},
        {"a question mark", dir.Path("data/?"), "Wildcards are not allowed in the directory name."},
        {"the root", "/", "The root directory cannot be deleted."},
        {"the root spelled long", "///", "The root directory cannot be deleted."},
        {"a link", dir.Path("data/link"), dir.Path("data/link") + " is a link, not a directory."},
    };
    OpenPanes("data/T", "data/T");
    // A relative text would name T from here.
    fs::current_path(dir.path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.boxes.clear();
        for (bool subdirectories : {false, true}) Delete(c.field, subdirectories);
        EXPECT_EQ(desktop.Texts(), (Names{c.message, c.message}));
        EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Plain);
        EXPECT_EQ(Tree(t), (Names{"a.txt", "sub", "sub/b.txt"}));
        EXPECT_EQ(main().SourceDirListBox.Directory(), t);
        EXPECT_EQ(main().DestDirListBox.Directory(), t);
        EXPECT_FALSE(box().Visible());
        EXPECT_FALSE(desktop.busy);
    }
}

TEST_F(DeleteTest, MissingDirectoryReportsTheErrorAndRestoresTheCursor) {
    dir.CreateFile("data/T/a.txt");
    OpenPanes("data/T", "other");
    bool busyAtPump = false;
    desktop.onPump = [&](int) { busyAtPump = desktop.busy; };

    Delete(dir.Path("data/missing"), true);

    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_NE(desktop.boxes[0].text.find(dir.Path("data/missing")), std::string::npos);
    EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Error);
    EXPECT_TRUE(busyAtPump);
    EXPECT_FALSE(desktop.busy);
    EXPECT_TRUE(dir.Exists("data/T/a.txt"));
    EXPECT_FALSE(box().Visible());
}

TEST_F(DeleteTest, TrailingSeparatorStillNamesThePanesDirectory) {
    dir.CreateFile("data/T/a.txt");
    OpenPanes("other", "data/T");

    Delete(dir.Path("data/T") + "/", true);

    EXPECT_FALSE(dir.Exists("data/T"));
    EXPECT_EQ(main().DestDirListBox.Directory(), dir.Path("data"));
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("other"));
}

TEST_F(DeleteTest, PaneBelowTheTreeStaysAndShowsOnlyItsAncestors) {
    dir.CreateFile("data/T/A/a.txt");
    OpenPanes("data/T/A", "other");

    Delete(dir.Path("data/T"), true);

    EXPECT_FALSE(dir.Exists("data/T"));
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("data/T/A"));
    EXPECT_TRUE(Subdirectories(main().SourceDirListBox).empty());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(DeleteTest, ATreeGoesOnlyWhenConfirmedAndTheBoxStartsUntickedEachTime) {
    dir.CreateFile("data/T/a.txt");
    dir.CreateFile("data/T/A/b.txt");
    dir.CreateFile("data/T/A/deep/c.txt");
    dir.CreateFile("data/T/.cache/kept.txt");
    OpenPanes("data/T", "other");

    main().DeleteDirectorySDClick();
    EXPECT_FALSE(box().DelSubdir.Checked());
    box().DelSubdir.SetChecked(true);
    box().BitBtn1Click();
    main().DeleteDirectorySDClick();
    EXPECT_FALSE(box().DelSubdir.Checked());

    desktop.answers = {false};
    Delete(dir.Path("data/T"), true);
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->text, "Delete 3 files in 3 directories under " + dir.Path("data/T") +
                                  "? This cannot be undone.");
    EXPECT_TRUE(question->noByDefault);
    EXPECT_EQ(Tree(dir.Path("data/T")).size(), 7u);
    EXPECT_EQ(main().SourceDirListBox.Directory(), dir.Path("data/T"));
    EXPECT_TRUE(desktop.boxes.empty());
}

}  // namespace
