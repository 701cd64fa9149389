#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "controls/TLabel.h"
#include "listing/TDirectoryListBox.h"
#include "listing/TFileListBox.h"
#include "platform/FileSystem.h"
#include "support/TestDir.h"

namespace fs = std::filesystem;
using namespace twinfold;
using Kind = TDirectoryListBox::EntryKind;

namespace {

std::string Cwd() { return platform::CurrentDirectory().value(); }

std::vector<std::string> Pieces(const std::string& path) {
    std::vector<std::string> pieces;
    for (const auto& part : fs::path(path)) {
        if (part != "/") pieces.push_back(part.string());
    }
    return pieces;
}

std::vector<std::string> Subdirectories(const TDirectoryListBox& list) {
    std::vector<std::string> names;
    for (const auto& entry : list.Items()) {
        if (entry.kind == Kind::Subdirectory) names.push_back(entry.text);
    }
    return names;
}

// The entries "/" ... current that any directory list must start with.
void ExpectPathEntries(const TDirectoryListBox& list) {
    auto pieces = Pieces(list.Directory());
    const int current = static_cast<int>(pieces.size());
    ASSERT_GT(list.Count(), current);
    EXPECT_EQ(list.Items()[0].text, "/");
    for (int i = 1; i <= current; ++i) {
        EXPECT_EQ(list.Items()[i].text, pieces[i - 1]);
        EXPECT_EQ(list.Items()[i].level, i);
    }
    for (int i = 0; i < current; ++i) EXPECT_EQ(list.Items()[i].kind, Kind::Ancestor);
    EXPECT_EQ(list.Items()[current].kind, Kind::Current);
    EXPECT_EQ(list.ItemIndex(), current);
    for (int i = current + 1; i < list.Count(); ++i) {
        EXPECT_EQ(list.Items()[i].kind, Kind::Subdirectory);
        EXPECT_EQ(list.Items()[i].level, current + 1);
    }
}

// A tree with the kinds of entries a directory list must tell apart.
class ListingDirectoryList : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"work/old", "work/Archive", "work/b", "work/B", "work/.tmp",
                                 "work/old/deeper", "other"}) {
            dir.CreateDirectory(name);
        }
        dir.CreateFile("work/file.txt");
        fs::create_directory_symlink(dir.Path("other"), dir.Path("work/to-other"));
        ASSERT_TRUE(platform::SetCurrentDirectory(dir.Path("work")).ok());
    }

    int IndexOf(const TDirectoryListBox& list, const std::string& text) {
        for (int i = 0; i < list.Count(); ++i) {
            if (list.Items()[i].text == text) return i;
        }
        return -1;
    }

    test::CurrentDirectoryGuard guard;
    test::TestDir dir;
};

}  // namespace

TEST_F(ListingDirectoryList, StartsAtTheCurrentDirectoryWithSortedVisibleSubdirectories) {
    TDirectoryListBox list;
    EXPECT_EQ(list.Directory(), dir.Path("work"));
    ExpectPathEntries(list);
    // Case twins are both listed; hidden directories, links and files are not.
    EXPECT_EQ(Subdirectories(list), (std::vector<std::string>{"Archive", "B", "b", "old"}));
}

TEST_F(ListingDirectoryList, RootIsTheCurrentEntryAtIndexZero) {
    ASSERT_TRUE(platform::SetCurrentDirectory("/").ok());
    TDirectoryListBox fresh;
    ASSERT_GT(fresh.Count(), 0);
    EXPECT_EQ(fresh.Directory(), "/");
    EXPECT_EQ(fresh.Items()[0].text, "/");
    EXPECT_EQ(fresh.Items()[0].kind, Kind::Current);
    EXPECT_EQ(fresh.ItemIndex(), 0);
    EXPECT_EQ(fresh.EntryPath(0), "/");
    ExpectPathEntries(fresh);
    if (fresh.Count() > 1) {
        EXPECT_EQ(fresh.EntryPath(1), "/" + fresh.Items()[1].text);
    }

    TDirectoryListBox moved;
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    ASSERT_TRUE(moved.SetDirectory("/").ok());
    EXPECT_EQ(moved.ItemIndex(), 0);
    EXPECT_EQ(moved.Items()[0].kind, Kind::Current);
}

TEST_F(ListingDirectoryList, EntryPathOfEveryKindOfEntry) {
    TDirectoryListBox list;
    const std::string work = dir.Path("work");
    const auto pieces = Pieces(work);
    std::string expected;
    for (std::size_t k = 1; k < pieces.size(); ++k) {
        expected += "/" + pieces[k - 1];
        SCOPED_TRACE("ancestor " + std::to_string(k));
        EXPECT_EQ(list.EntryPath(static_cast<int>(k)), expected);
    }
    EXPECT_EQ(list.EntryPath(0), "/");
    EXPECT_EQ(list.EntryPath(list.ItemIndex()), work);
    EXPECT_EQ(list.EntryPath(IndexOf(list, "Archive")), work + "/Archive");
    EXPECT_EQ(list.EntryPath(list.Count() - 1), work + "/old");
    EXPECT_EQ(list.EntryPath(list.Count()), "");
    EXPECT_EQ(list.EntryPath(-1), "");
}

TEST_F(ListingDirectoryList, SelectingDoesNotOpenButOpenSelectedDoes) {
    TDirectoryListBox list;
    int changes = 0;
    const Connection listChange = list.OnChange.Connect([&] { ++changes; });

    list.SetItemIndex(IndexOf(list, "old"));
    EXPECT_EQ(list.Directory(), dir.Path("work"));
    EXPECT_EQ(changes, 0);

    ASSERT_TRUE(list.OpenSelected().ok());
    EXPECT_EQ(list.Directory(), dir.Path("work/old"));
    EXPECT_EQ(Cwd(), dir.Path("work/old"));
    EXPECT_EQ(Subdirectories(list), std::vector<std::string>{"deeper"});
    EXPECT_EQ(changes, 1);

    // Up again through the ancestor of the test directory itself.
    list.SetItemIndex(list.ItemIndex() - 2);
    ASSERT_TRUE(list.OpenSelected().ok());
    EXPECT_EQ(list.Directory(), dir.path());
    ExpectPathEntries(list);
    EXPECT_EQ(Subdirectories(list), (std::vector<std::string>{"other", "work"}));

    list.SetItemIndex(list.Count());
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_TRUE(list.OpenSelected().ok());
    EXPECT_EQ(list.Directory(), dir.path());
    EXPECT_EQ(changes, 2);

    // One that will not open is not left selected: a Sync All would walk it alone.
    list.SetItemIndex(IndexOf(list, "other"));
    std::filesystem::remove_all(dir.Path("other"));
    EXPECT_FALSE(list.OpenSelected().ok());
    EXPECT_EQ(list.ItemIndex(), list.CurrentIndex());
}

TEST_F(ListingDirectoryList, SetDirectoryAcceptsFilesPatternsAndTrailingSeparators) {
    TDirectoryListBox list;
    struct Case {
        const char* label;
        std::string text;
        std::string directory;
    } cases[] = {
        {"a file inside", dir.Path("work/file.txt"), dir.Path("work")},
        {"a pattern inside", dir.Path("work/old/*.doc"), dir.Path("work/old")},
        {"a trailing separator", dir.Path("other") + "/", dir.Path("other")},
        {"a case twin", dir.Path("work/B"), dir.Path("work/B")},
        {"the other twin", dir.Path("work/b"), dir.Path("work/b")},
        {"a bare name inside the current directory", "deeper", dir.Path("work/b/deeper")},
    };
    dir.CreateDirectory("work/b/deeper");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(list.SetDirectory(c.text).ok());
        EXPECT_EQ(list.Directory(), c.directory);
        EXPECT_EQ(Cwd(), c.directory);
        ExpectPathEntries(list);
    }
}

TEST_F(ListingDirectoryList, ALinkedDirectoryIsTakenAsTheFileSystemReportsIt) {
    TDirectoryListBox list;
    ASSERT_TRUE(list.SetDirectory(dir.Path("work/to-other")).ok());
    EXPECT_EQ(list.Directory(), dir.Path("other"));
}

TEST_F(ListingDirectoryList, EmptyOrSameDirectoryChangesNothing) {
    TDirectoryListBox list;
    int changes = 0;
    const Connection listChange = list.OnChange.Connect([&] { ++changes; });
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    EXPECT_TRUE(list.SetDirectory("").ok());
    EXPECT_TRUE(list.SetDirectory(dir.Path("work")).ok());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Cwd(), dir.path()) << "no change of directory took place";
}

TEST_F(ListingDirectoryList, ADirectoryThatCannotBeEnteredKeepsTheFormerState) {
    TDirectoryListBox list;
    int changes = 0;
    const Connection listChange = list.OnChange.Connect([&] { ++changes; });
    const auto before = Subdirectories(list);
    struct Case {
        const char* label;
        std::string text;
        std::string message;
    } cases[] = {
        {"missing", dir.Path("work/nosuch"),
         "Cannot open directory " + dir.Path("work/nosuch") + ": No such file or directory"},
        {"missing parent", dir.Path("nosuch/x.txt"),
         "Cannot open directory " + dir.Path("nosuch") + ": No such file or directory"},
        {"other case on a case-sensitive volume", dir.Path("WORK"),
         "Cannot open directory " + dir.Path("WORK") + ": No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto status = list.SetDirectory(c.text);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().message, c.message);
        EXPECT_EQ(list.Directory(), dir.Path("work"));
        EXPECT_EQ(Subdirectories(list), before);
        EXPECT_EQ(Cwd(), dir.Path("work"));
    }
    EXPECT_EQ(changes, 0);
}

TEST_F(ListingDirectoryList, ReloadRereadsSubdirectoriesInPlace) {
    TDirectoryListBox list;
    TFileListBox files;
    list.SetFileList(&files);
    int changes = 0, fileChanges = 0;
    const Connection listChange = list.OnChange.Connect([&] { ++changes; });
    const Connection filesChange = files.OnChange.Connect([&] { ++fileChanges; });

    dir.CreateDirectory("work/added");
    dir.CreateFile("work/added.txt");
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    ASSERT_TRUE(list.Reload().ok());
    EXPECT_EQ(Subdirectories(list),
              (std::vector<std::string>{"added", "Archive", "B", "b", "old"}));
    EXPECT_EQ(list.ItemIndex(), static_cast<int>(Pieces(dir.Path("work")).size()));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fileChanges, 0) << "the file list already lists that directory";
    EXPECT_EQ(Cwd(), dir.path()) << "a rebuild is no change of directory";
}

TEST_F(ListingDirectoryList, AVanishedDirectoryKeepsOnlyItsPathEntries) {
    TDirectoryListBox list;
    ASSERT_TRUE(list.SetDirectory(dir.Path("work/old/deeper")).ok());
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    fs::remove(dir.Path("work/old/deeper"));
    ASSERT_TRUE(list.Reload().ok());
    EXPECT_EQ(list.Count(), static_cast<int>(Pieces(list.Directory()).size()) + 1);
    EXPECT_EQ(list.Items().back().text, "deeper");
    EXPECT_EQ(list.Items().back().kind, Kind::Current);
    EXPECT_EQ(list.ItemIndex(), list.Count() - 1);
}

TEST_F(ListingDirectoryList, ChainMovesTheFileListThenTheLabelThenNotifies) {
    dir.CreateFile("work/old/one.txt");
    dir.CreateFile("work/old/two.txt");
    TDirectoryListBox list;
    TFileListBox files;
    TLabel label;
    label.width = 8;
    std::vector<std::string> order;
    const Connection filesChange =
        files.OnChange.Connect([&] { order.push_back("files " + files.Directory()); });
    const Connection labelChange =
        label.OnChange.Connect([&] { order.push_back("label " + label.Caption()); });
    const Connection listChange =
        list.OnChange.Connect([&] { order.push_back("list " + list.Directory()); });

    list.SetFileList(&files);
    EXPECT_EQ(list.FileList(), &files);
    EXPECT_EQ(files.DirList(), &list);
    list.SetDirLabel(&label);
    EXPECT_EQ(label.Caption(), ".../work");

    order.clear();
    ASSERT_TRUE(list.SetDirectory(dir.Path("work/old")).ok());
    const std::string old = dir.Path("work/old");
    EXPECT_EQ(order, (std::vector<std::string>{"files " + old, "label /.../old", "list " + old}));
    ASSERT_EQ(files.Count(), 2);
    EXPECT_EQ(files.Items()[0].text, "one.txt");
    EXPECT_EQ(Cwd(), old);

    label.width = 1000;
    ASSERT_TRUE(list.Reload().ok());
    EXPECT_EQ(label.Caption(), old);
}

TEST_F(ListingDirectoryList, LinksBetweenListsAreKeptConsistent) {
    TDirectoryListBox first, second;
    {
        TFileListBox files;
        first.SetFileList(&files);
        second.SetFileList(&files);
        EXPECT_EQ(first.FileList(), nullptr) << "a file list follows one directory list";
        EXPECT_EQ(files.DirList(), &second);
        second.SetFileList(nullptr);
        EXPECT_EQ(files.DirList(), nullptr);
        first.SetFileList(&files);
    }
    EXPECT_EQ(first.FileList(), nullptr) << "a destroyed file list unlinks itself";
    EXPECT_TRUE(first.SetDirectory(dir.Path("other")).ok());

    TFileListBox survivor;
    {
        TDirectoryListBox gone;
        gone.SetFileList(&survivor);
    }
    EXPECT_EQ(survivor.DirList(), nullptr);
}
