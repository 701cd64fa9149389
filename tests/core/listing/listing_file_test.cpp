#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "listing/TFileListBox.h"
#include "platform/FileSystem.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;
using Glyph = TFileListBox::Glyph;

namespace {

using Texts = std::vector<std::string>;

std::string Cwd() { return platform::CurrentDirectory().value(); }

Texts TextsOf(const TFileListBox& list) {
    Texts texts;
    for (const auto& item : list.Items()) texts.push_back(item.text);
    return texts;
}

const TFileType kEveryFile{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem,
                           TFileAttr::ftNormal};

// Every busy-cursor switch, in order.
class CursorDesktop : public test::ScriptedDesktop {
public:
    void SetBusyCursor(bool busy) override { switches.push_back(busy); }
    std::vector<bool> switches;
};

class ListingFileList : public ::testing::Test {
protected:
    void SetUp() override {
        dir.CreateFile("docs/plain.txt");
        dir.CreateFile("docs/.hidden");
        dir.CreateFile("docs/locked.txt");
        dir.MakeReadOnly("docs/locked.txt");
        dir.CreateFile("docs/Run.EXE");
        dir.CreateDirectory("docs/sub");
        dir.CreateDirectory("docs/.git");
        ASSERT_TRUE(platform::SetCurrentDirectory(dir.Path("docs")).ok());
    }

    test::CurrentDirectoryGuard guard;
    test::TestDir dir;
};

}  // namespace

TEST_F(ListingFileList, StartsInTheCurrentDirectoryWithEveryNameAndPlainClass) {
    TFileListBox list;
    EXPECT_EQ(list.Directory(), dir.Path("docs"));
    EXPECT_EQ(list.Mask(), "*.*");
    EXPECT_EQ(list.FileType(), TFileType{TFileAttr::ftNormal});
    EXPECT_EQ(TextsOf(list), (Texts{"locked.txt", "plain.txt", "Run.EXE"}));
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(ListingFileList, AdmitsEntriesByClass) {
    using enum TFileAttr;
    struct Case {
        const char* label;
        TFileType type;
        Texts expected;
    } cases[] = {
        {"every file", kEveryFile, {".hidden", "locked.txt", "plain.txt", "Run.EXE"}},
        {"plain class", {ftNormal}, {"locked.txt", "plain.txt", "Run.EXE"}},
        {"plain and directories",
         {ftNormal, ftDirectory},
         {"[..]", "[.]", "[sub]", "locked.txt", "plain.txt", "Run.EXE"}},
        {"directories only", {ftDirectory}, {"[..]", "[.]", "[sub]"}},
        {"hidden directories too",
         {ftDirectory, ftHidden},
         {".hidden", "[..]", "[.]", "[.git]", "[sub]"}},
        {"hidden only", {ftHidden}, {".hidden"}},
        {"read-only only", {ftReadOnly}, {"locked.txt"}},
        {"archive only: never set here", {ftArchive}, {}},
        {"nothing", {}, {}},
    };
    TFileListBox list;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(list.SetFileType(c.type).ok());
        EXPECT_EQ(TextsOf(list), c.expected);
    }
}

TEST_F(ListingFileList, GlyphsFollowKindAndExtension) {
    dir.CreateFile("docs/tool.bat");
    dir.CreateFile("docs/old.Com");
    dir.CreateFile("docs/link.pif");
    dir.CreateFile("docs/noext");
    dir.CreateFile("docs/exe");
    TFileListBox list;
    ASSERT_TRUE(list.SetFileType({TFileAttr::ftNormal, TFileAttr::ftDirectory}).ok());
    std::vector<std::pair<std::string, Glyph>> glyphs;
    for (const auto& item : list.Items()) glyphs.emplace_back(item.text, item.glyph);
    EXPECT_EQ(glyphs, (std::vector<std::pair<std::string, Glyph>>{
                          {"[..]", Glyph::ClosedFolder},
                          {"[.]", Glyph::ClosedFolder},
                          {"[sub]", Glyph::ClosedFolder},
                          {"exe", Glyph::UnknownFile},
                          {"link.pif", Glyph::Executable},
                          {"locked.txt", Glyph::UnknownFile},
                          {"noext", Glyph::UnknownFile},
                          {"old.Com", Glyph::Executable},
                          {"plain.txt", Glyph::UnknownFile},
                          {"Run.EXE", Glyph::Executable},
                          {"tool.bat", Glyph::Executable},
                      }));
}

TEST_F(ListingFileList, EveryMaskPieceListsOnItsOwnWithoutDeduplication) {
    dir.CreateFile("docs/letter.doc");
    dir.CreateFile("docs/Memo.DOC");
    dir.CreateFile("docs/Makefile");
    struct Case {
        const char* mask;
        Texts expected;
    } cases[] = {
        {"*.doc", {"letter.doc", "Memo.DOC"}},
        {"*.doc;*.DOC", {"letter.doc", "letter.doc", "Memo.DOC", "Memo.DOC"}},
        {"*.doc;", {"letter.doc", "Memo.DOC"}},
        {";*.doc", {"letter.doc", "Memo.DOC"}},
        {"*.txt;m*", {"locked.txt", "Makefile", "Memo.DOC", "plain.txt"}},
        {"*.*", {"letter.doc", "locked.txt", "Makefile", "Memo.DOC", "plain.txt", "Run.EXE"}},
        {"makefile.*", {"Makefile"}},
        {";", {}},
        {"", {}},
        {"*.none", {}},
    };
    TFileListBox list;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("mask '") + c.mask + "'");
        ASSERT_TRUE(list.SetMask(c.mask).ok());
        EXPECT_EQ(TextsOf(list), c.expected);
    }
}

TEST_F(ListingFileList, SortsWithoutRegardToCaseAndListsLinksToFilesOnly) {
    dir.CreateFile("case/b.txt");
    dir.CreateFile("case/A.txt");
    dir.CreateFile("case/a.txt");
    dir.CreateFile("case/B.txt");
    dir.CreateDirectory("case/C");
    fs::create_symlink(dir.Path("case/b.txt"), dir.Path("case/to-file"));
    fs::create_directory_symlink(dir.Path("case/C"), dir.Path("case/to-dir"));
    fs::create_symlink(dir.Path("case/nowhere"), dir.Path("case/dangling"));
    TFileListBox list;
    ASSERT_TRUE(list.SetDirectory(dir.Path("case")).ok());
    EXPECT_EQ(TextsOf(list), (Texts{"A.txt", "a.txt", "B.txt", "b.txt", "to-file"}));
    ASSERT_TRUE(list.SetFileType({TFileAttr::ftDirectory}).ok());
    EXPECT_EQ(TextsOf(list), (Texts{"[..]", "[.]", "[C]"}));
}

TEST_F(ListingFileList, SameMaskOrClassDoesNotRereadButReloadDoes) {
    TFileListBox list;
    int changes = 0;
    const Connection listChange = list.OnChange.Connect([&] { ++changes; });
    dir.CreateFile("docs/added.txt");

    EXPECT_TRUE(list.SetMask("*.*").ok());
    EXPECT_TRUE(list.SetFileType({TFileAttr::ftNormal}).ok());
    EXPECT_TRUE(list.SetDirectory(dir.Path("docs")).ok());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.Count(), 3);

    EXPECT_TRUE(list.Reload().ok());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Count(), 4);

    EXPECT_TRUE(list.SetMask("*.TXT").ok()) << "case counts in the mask";
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(TextsOf(list), (Texts{"added.txt", "locked.txt", "plain.txt"}));
}

TEST_F(ListingFileList, EveryReadClearsTheSelectionAndLeavesTheProcessThere) {
    dir.CreateFile("other/x.txt");
    TFileListBox list;
    list.MultiSelect = true;
    list.SetSelected(0, true);
    list.SetSelected(1, true);
    list.SetItemIndex(1);
    ASSERT_EQ(list.SelCount(), 2);

    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    ASSERT_TRUE(list.Reload().ok());
    EXPECT_EQ(list.SelCount(), 0);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(Cwd(), dir.Path("docs"));

    ASSERT_TRUE(list.SetDirectory(dir.Path("other")).ok());
    EXPECT_EQ(Cwd(), dir.Path("other"));
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    ASSERT_TRUE(list.SetMask("*.txt").ok());
    EXPECT_EQ(Cwd(), dir.Path("other"));
    EXPECT_EQ(TextsOf(list), Texts{"x.txt"});
}

TEST_F(ListingFileList, DirectoriesAreComparedExactly) {
    dir.CreateFile("twins/Sub/upper.txt");
    dir.CreateFile("twins/sub/lower.txt");
    TFileListBox list;
    ASSERT_TRUE(list.SetDirectory(dir.Path("twins/Sub")).ok());
    EXPECT_EQ(TextsOf(list), Texts{"upper.txt"});
    ASSERT_TRUE(list.SetDirectory(dir.Path("twins/sub")).ok());
    EXPECT_EQ(TextsOf(list), Texts{"lower.txt"});
}

TEST_F(ListingFileList, AMissingDirectoryIsAnErrorAndTheFormerListStays) {
    TFileListBox list;
    int changes = 0;
    const Connection listChange = list.OnChange.Connect([&] { ++changes; });
    const Texts before = TextsOf(list);
    struct Case {
        const char* label;
        std::string path;
        std::string message;
    } cases[] = {
        {"missing", dir.Path("nosuch"),
         "Cannot open directory " + dir.Path("nosuch") + ": No such file or directory"},
        {"a file", dir.Path("docs/plain.txt"),
         "Cannot open directory " + dir.Path("docs/plain.txt") + ": Not a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto status = list.SetDirectory(c.path);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().message, c.message);
        EXPECT_EQ(list.Directory(), dir.Path("docs"));
        EXPECT_EQ(TextsOf(list), before);
    }
    EXPECT_EQ(changes, 0);
}

TEST_F(ListingFileList, AVanishedDirectoryFailsToReloadButCanStillBeLeft) {
    dir.CreateFile("gone/a.txt");
    TFileListBox list;
    ASSERT_TRUE(list.SetDirectory(dir.Path("gone")).ok());
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    fs::remove_all(dir.Path("gone"));

    auto reload = list.Reload();
    ASSERT_FALSE(reload.ok());
    EXPECT_EQ(reload.error().message,
              "Cannot open directory " + dir.Path("gone") + ": No such file or directory");
    EXPECT_EQ(TextsOf(list), Texts{"a.txt"});

    ASSERT_TRUE(list.SetDirectory(dir.Path("docs")).ok());
    EXPECT_EQ(list.Directory(), dir.Path("docs"));
    EXPECT_EQ(list.Count(), 3);
}

TEST_F(ListingFileList, SingleSelectionFollowsTheCurrentEntry) {
    TFileListBox list;  // locked.txt, plain.txt, Run.EXE
    EXPECT_EQ(list.CurrentFilePath(), "");
    list.SetItemIndex(1);
    EXPECT_TRUE(list.Selected(1));
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_EQ(list.CurrentFilePath(), dir.Path("docs/plain.txt"));

    list.SetSelected(2, true);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_FALSE(list.Selected(1));
    EXPECT_EQ(list.SelCount(), 1);

    list.SetSelected(2, false);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.SelCount(), 0);
    EXPECT_EQ(list.CurrentFilePath(), "");

    list.SetItemIndex(7);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_FALSE(list.Selected(7));
}

TEST_F(ListingFileList, MultipleSelectionKeepsFocusAndMarksApart) {
    TFileListBox list;
    list.MultiSelect = true;
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_EQ(list.ItemIndex(), -1);

    list.SetItemIndex(1);
    EXPECT_EQ(list.SelCount(), 2) << "moving the focus selects nothing";
    EXPECT_EQ(list.CurrentFilePath(), "") << "the current entry is not selected";
    list.SetItemIndex(2);
    EXPECT_EQ(list.CurrentFilePath(), dir.Path("docs/Run.EXE"));
}

TEST_F(ListingFileList, DeleteRemovesOneEntryAndKeepsTheCurrentOne) {
    TFileListBox list;
    int changes = 0;
    const Connection listChange = list.OnChange.Connect([&] { ++changes; });
    list.SetItemIndex(2);
    list.Delete(0);
    EXPECT_EQ(TextsOf(list), (Texts{"plain.txt", "Run.EXE"}));
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(list.CurrentFilePath(), dir.Path("docs/Run.EXE"));
    list.Delete(1);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.Delete(5);
    EXPECT_EQ(TextsOf(list), Texts{"plain.txt"});
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(fs::exists(dir.Path("docs/Run.EXE"))) << "only the entry goes";
}

// Views hear of every change of the entries, once per change: a re-read
// before the program's change notification, a removal of several at once.
TEST_F(ListingFileList, EveryChangeOfTheEntriesTellsTheViews) {
    TFileListBox list;
    list.MultiSelect = true;
    std::vector<std::string> events;
    const Connection listItemsChange = list.OnItemsChange.Connect(
        [&] { events.push_back("items " + std::to_string(list.Count())); });
    const Connection listChange = list.OnChange.Connect([&] { events.push_back("change"); });
    ASSERT_TRUE(list.Reload().ok());
    EXPECT_EQ(events, (Texts{"items 3", "change"}));

    events.clear();
    list.SetSelected(1, true);
    list.SetSelected(2, true);
    list.SetItemIndex(2);
    list.Delete({0, 1, 0, 7});
    EXPECT_EQ(events, Texts{"items 1"});
    EXPECT_EQ(TextsOf(list), Texts{"Run.EXE"});
    EXPECT_TRUE(list.Selected(0)) << "the others keep their marks";
    EXPECT_EQ(list.ItemIndex(), 0) << "the focus follows its entry";
    list.Delete({-1, 3});
    EXPECT_EQ(events, Texts{"items 1"}) << "removing nothing tells nothing";
}

TEST_F(ListingFileList, ClickNotifiesChangeOnlyWhenTheCurrentEntryMoved) {
    TFileListBox list;
    std::vector<std::string> events;
    const Connection listClick = list.OnClick.Connect([&] { events.push_back("click"); });
    const Connection listChange = list.OnChange.Connect(
        [&] { events.push_back("change " + std::to_string(list.ItemIndex())); });

    list.Click();
    EXPECT_EQ(events, Texts{"click"});
    list.SetItemIndex(1);
    list.Click();
    list.Click();
    EXPECT_EQ(events, (Texts{"click", "click", "change 1", "click"}));
    ASSERT_TRUE(list.Reload().ok());
    list.Click();
    EXPECT_EQ(events, (Texts{"click", "click", "change 1", "click", "change -1", "click"}));
}

TEST_F(ListingFileList, BusyCursorFromTheHundredthEntryOn) {
    for (int i = 0; i < 100; ++i) dir.CreateFile("many/f" + std::to_string(i));
    CursorDesktop desktop;
    TFileListBox list;
    list.SetDesktop(&desktop);
    ASSERT_TRUE(list.SetDirectory(dir.Path("many")).ok());
    EXPECT_EQ(list.Count(), 100);
    EXPECT_TRUE(desktop.switches.empty()) << "positions 0 to 99 need no busy cursor";

    dir.CreateFile("many/f100");
    ASSERT_TRUE(list.Reload().ok());
    EXPECT_EQ(list.Count(), 101);
    EXPECT_EQ(desktop.switches, (std::vector<bool>{true, false}));

    // A mask that lists the 101 names twice still switches once.
    desktop.switches.clear();
    ASSERT_TRUE(list.SetMask("*;f*").ok());
    EXPECT_EQ(list.Count(), 202);
    EXPECT_EQ(desktop.switches, (std::vector<bool>{true, false}));
}
