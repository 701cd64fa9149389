#include <gtest/gtest.h>

#include <filesystem>

#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;

namespace {

std::vector<std::string> Texts(const TFileListBox& list) {
    std::vector<std::string> texts;
    for (const auto& item : list.Items()) texts.push_back(item.text);
    return texts;
}

std::vector<std::string> Subdirectories(const TDirectoryListBox& pane) {
    std::vector<std::string> names;
    for (const auto& item : pane.Items()) {
        if (item.kind == TDirectoryListBox::EntryKind::Subdirectory) names.push_back(item.text);
    }
    return names;
}

using Names = std::vector<std::string>;

class FileCommandsTest : public ::testing::Test {
protected:
    FileCommandsTest() : windows(desktop, dir.ProgramDir()) {
        dir.CreateDirectory("src");
        dir.CreateDirectory("dst");
    }

    void Open() {
        ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path("src")).ok());
        ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    }

    void Select(const Names& names) {
        for (int i = 0; i < main().FileList.Count(); ++i) {
            for (const auto& name : names) {
                if (main().FileList.Items()[i].text != name) continue;
                main().FileList.SetSelected(i, true);
                main().FileList.SetItemIndex(i);
            }
        }
    }

    TMain& main() { return windows.main; }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows;
};

// --- Delete ---------------------------------------------------------------

TEST_F(FileCommandsTest, DeleteOneFileAsksWithItsPathAndReloads) {
    dir.CreateFile("src/a.txt", "a");
    dir.CreateFile("src/b.txt", "b");
    Open();
    Select({"a.txt"});

    main().Delete1Click();

    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(desktop.boxes[0].caption, "Confirm");
    EXPECT_EQ(desktop.boxes[0].text, "Delete File: " + dir.Path("src/a.txt") + "?");
    EXPECT_FALSE(dir.Exists("src/a.txt"));
    EXPECT_TRUE(dir.Exists("src/b.txt"));
    EXPECT_EQ(Texts(main().FileList), Names{"b.txt"});
    EXPECT_EQ(main().FileCount.Caption(), "Total Files Selected: 0");
}

TEST_F(FileCommandsTest, DeleteAnsweredNoKeepsTheFilesAndClearsTheSelection) {
    for (const char* name : {"a.txt", "b.txt"}) dir.CreateFile(std::string("src/") + name);
    Open();
    for (const Names& selection : {Names{"a.txt"}, Names{"a.txt", "b.txt"}}) {
        SCOPED_TRACE(selection.size());
        Select(selection);
        desktop.answers.push_back(false);
        main().Delete1Click();
        EXPECT_TRUE(dir.Exists("src/a.txt"));
        EXPECT_TRUE(dir.Exists("src/b.txt"));
        EXPECT_EQ(main().FileList.SelCount(), 0);
    }
    EXPECT_EQ(desktop.boxes.size(), 2u);
}

TEST_F(FileCommandsTest, DeleteWithNothingSelectedAsksNothingButReReadsTheList) {
    dir.CreateFile("src/a.txt");
    Open();
    dir.CreateFile("src/late.txt");

    main().Delete1Click();

    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_TRUE(dir.Exists("src/a.txt"));
    EXPECT_EQ(Texts(main().FileList), (Names{"a.txt", "late.txt"}));
}

TEST_F(FileCommandsTest, DeleteSeveralSkipsAReadOnlyFileWithoutAWord) {
    for (const char* name : {"a.txt", "b.txt", "c.txt", "keep.txt"})
        dir.CreateFile(std::string("src/") + name, name);
    dir.MakeReadOnly("src/b.txt");
    Open();
    Select({"a.txt", "b.txt", "c.txt"});

    main().Delete1Click();

    EXPECT_EQ(desktop.Texts(), Names{"Delete Selected Files from " + dir.Path("src") + "/?"});
    EXPECT_FALSE(dir.Exists("src/a.txt"));
    EXPECT_FALSE(dir.Exists("src/c.txt"));
    EXPECT_EQ(dir.ReadFile("src/b.txt"), "b.txt");
    EXPECT_EQ(Texts(main().FileList), (Names{"b.txt", "keep.txt"}));
}

TEST_F(FileCommandsTest, DeleteSeveralGoesToTheSourceEvenAfterTheDestinationPaneMovedLast) {
    for (const char* name : {"a.txt", "b.txt"}) {
        dir.CreateFile(std::string("src/") + name, "source");
        dir.CreateFile(std::string("dst/") + name, "dest");
    }
    Open();
    Select({"a.txt", "b.txt"});
    // The destination pane leaves the process in its directory.
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.path()).ok());
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    // The focus rests on an unmarked entry; the question still names the source.
    main().FileList.SetItemIndex(-1);

    main().Delete1Click();

    EXPECT_EQ(desktop.Texts(), Names{"Delete Selected Files from " + dir.Path("src") + "/?"});
    EXPECT_FALSE(dir.Exists("src/a.txt"));
    EXPECT_FALSE(dir.Exists("src/b.txt"));
    EXPECT_EQ(dir.ReadFile("dst/a.txt"), "dest");
    EXPECT_EQ(dir.ReadFile("dst/b.txt"), "dest");
}

TEST_F(FileCommandsTest, DeleteRemovesALinkAndLeavesItsTarget) {
    dir.CreateFile("outside/target.txt", "target");
    fs::create_symlink(dir.Path("outside/target.txt"), dir.Path("src/link.txt"));
    Open();
    Select({"link.txt"});

    main().Delete1Click();

    EXPECT_FALSE(dir.Exists("src/link.txt"));
    EXPECT_EQ(dir.ReadFile("outside/target.txt"), "target");
}

TEST_F(FileCommandsTest, EveryCommandIsRefusedWhileASyncRuns) {
    dir.CreateFile("src/a.txt", "a");
    Open();
    Select({"a.txt"});
    std::size_t boxesDuringRun = 0;
    desktop.onPump = [&](int) {
        const std::size_t before = desktop.boxes.size();
        main().Delete1Click();
        main().Rename1Click();
        main().MakeDirectorySDClick();
        main().MakeDirectoryDDClick();
        main().DeleteDirectorySDClick();
        main().DeleteDirectoryDDClick();
        boxesDuringRun += desktop.boxes.size() - before;
    };

    main().SyncBtnClick();

    EXPECT_EQ(boxesDuringRun, 0u);
    EXPECT_TRUE(desktop.prompts.empty());
    EXPECT_FALSE(windows.deleteBox.Visible());
    EXPECT_TRUE(dir.Exists("src/a.txt"));
    EXPECT_EQ(dir.ReadFile("dst/a.txt"), "a");
}

// --- Rename ---------------------------------------------------------------

struct RenameCase {
    const char* name;
    std::optional<std::string> typed;
    Names sourceAfter;    // the files of src afterwards (and of the list)
    const char* movedTo;  // where a.txt's content ends up
    Names messages;
    std::string detail = {};  // of the first message
};

TEST_F(FileCommandsTest, RenameOutcomes) {
    const RenameCase cases[] = {
        {"new name", "renamed.txt", {"b.txt", "renamed.txt"}, "src/renamed.txt", {}},
        {"existing target",
         "b.txt",
         {"a.txt", "b.txt"},
         "src/a.txt",
         {"File not renamed!"},
         "Something named b.txt is already there."},
        {"into a subdirectory", "sub/a.txt", {"b.txt"}, "src/sub/a.txt", {}},
        {"empty name", "", {"a.txt", "b.txt"}, "src/a.txt", {"File not renamed!"}},
        {"cancelled", std::nullopt, {"a.txt", "b.txt"}, "src/a.txt", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestDir tree;
        tree.CreateFile("src/a.txt", "a");
        tree.CreateFile("src/b.txt", "b");
        tree.CreateDirectory("src/sub");
        ASSERT_TRUE(main().SourceDirListBox.SetDirectory(tree.Path("src")).ok());
        Select({"a.txt"});
        desktop.boxes.clear();
        desktop.prompts.clear();
        desktop.promptAnswers = {c.typed};

        main().Rename1Click();

        EXPECT_EQ(desktop.prompts, Names{"Rename File|Enter New File Name:|a.txt"});
        EXPECT_EQ(desktop.Texts(), c.messages);
        if (!c.detail.empty()) {
            EXPECT_EQ(desktop.boxes[0].detail, c.detail);
        }
        EXPECT_EQ(tree.ReadFile(c.movedTo), "a");
        EXPECT_EQ(tree.ReadFile("src/b.txt"), "b");
        EXPECT_EQ(Texts(main().FileList), c.sourceAfter);
        EXPECT_EQ(main().FileList.SelCount(), 0);
    }
}

TEST_F(FileCommandsTest, RenameWithNothingSelectedNeitherAsksNorReloads) {
    dir.CreateFile("src/a.txt");
    Open();
    dir.CreateFile("src/late.txt");

    main().Rename1Click();

    EXPECT_TRUE(desktop.prompts.empty());
    EXPECT_EQ(Texts(main().FileList), Names{"a.txt"});
}

TEST_F(FileCommandsTest, RenameOfAReadOnlyFileMovesIt) {
    dir.CreateFile("src/a.txt", "a");
    dir.MakeReadOnly("src/a.txt");
    Open();
    Select({"a.txt"});
    desktop.promptAnswers = {"z.txt"};

    main().Rename1Click();

    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(dir.ReadFile("src/z.txt"), "a");
}

// --- Make directory -------------------------------------------------------

TEST_F(FileCommandsTest, MakeDirectoryCreatesEveryMissingLevel) {
    Open();
    desktop.promptAnswers = {dir.Path("src/NEW/SUB")};

    main().MakeDirectorySDClick();

    EXPECT_EQ(desktop.prompts,
              Names{"Create Directory|Enter New Directory Name:|" + dir.Path("src")});
    EXPECT_TRUE(fs::is_directory(dir.Path("src/NEW/SUB")));
    EXPECT_EQ(Subdirectories(main().SourceDirListBox), Names{"NEW"});
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(FileCommandsTest, MakeDirectoryOnTheDestinationPane) {
    Open();
    desktop.promptAnswers = {dir.Path("dst/made")};

    main().MakeDirectoryDDClick();

    EXPECT_EQ(desktop.prompts,
              Names{"Create Directory|Enter New Directory Name:|" + dir.Path("dst")});
    EXPECT_TRUE(fs::is_directory(dir.Path("dst/made")));
    EXPECT_FALSE(dir.Exists("src/made"));
    EXPECT_EQ(Subdirectories(main().DestDirListBox), Names{"made"});
}

TEST_F(FileCommandsTest, MakeDirectoryWithTheDefaultOrCancelledOnlyReloadsThePane) {
    Open();
    for (bool accept : {true, false}) {
        SCOPED_TRACE(accept);
        const std::string late = accept ? "late1" : "late2";
        dir.CreateDirectory("src/" + late);
        desktop.promptAnswers = {accept ? std::optional(dir.Path("src")) : std::nullopt};

        main().MakeDirectorySDClick();

        EXPECT_TRUE(desktop.boxes.empty());
        const Names names = Subdirectories(main().SourceDirListBox);
        EXPECT_NE(std::find(names.begin(), names.end(), late), names.end());
    }
    // Nothing but what the test made itself.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("src")), fs::directory_iterator()), 2);
}

TEST_F(FileCommandsTest, MakeDirectoryWithABareNameMakesItInThePanesDirectory) {
    Open();
    dir.CreateDirectory("src/late");
    // Wherever the process stands, the name belongs to the pane.
    fs::current_path(dir.Path("dst"));
    desktop.promptAnswers = {"NEW"};

    main().MakeDirectorySDClick();

    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_TRUE(dir.Exists("src/NEW"));
    EXPECT_FALSE(dir.Exists("dst/NEW"));
    EXPECT_EQ(Subdirectories(main().SourceDirListBox), (Names{"late", "NEW"}));
}

// --- Delete directory -----------------------------------------------------

TEST_F(FileCommandsTest, DeleteDirectoryFillsTheFieldFromEitherPaneAndShowsTheDialog) {
    Open();
    main().DeleteDirectoryDDClick();
    EXPECT_EQ(windows.deleteBox.Edit1.Text(), dir.Path("dst"));
    EXPECT_TRUE(windows.deleteBox.Visible());
    windows.deleteBox.Edit1.SetText("typed over");
    windows.deleteBox.BitBtn1Click();
    EXPECT_FALSE(windows.deleteBox.Visible());

    main().DeleteDirectorySDClick();
    EXPECT_EQ(windows.deleteBox.Edit1.Text(), dir.Path("src"));
    EXPECT_TRUE(windows.deleteBox.Visible());
    EXPECT_TRUE(dir.Exists("src"));
    EXPECT_TRUE(dir.Exists("dst"));
}

}  // namespace
