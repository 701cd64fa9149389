#include <gtest/gtest.h>

#include <filesystem>

#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

using namespace twinfold;

namespace {

const std::int64_t kStamp = test::LocalTime(2022, 5, 6, 7, 8, 10);

std::vector<std::string> Names(const TFileListBox& list) {
    std::vector<std::string> names;
    for (const auto& item : list.Items()) names.push_back(item.text);
    return names;
}

class MainWindowModelTest : public ::testing::Test {
protected:
    MainWindowModelTest() : windows(desktop, dir.ProgramDir()) {}

    void Open(const std::string& relative) {
        ASSERT_TRUE(main().SourceDirListBox.SetDirectory(dir.Path(relative)).ok());
    }

    void SelectNamed(const std::vector<std::string>& names) {
        for (int i = 0; i < main().FileList.Count(); ++i) {
            for (const auto& name : names) {
                if (main().FileList.Items()[i].text == name) main().FileList.SetSelected(i, true);
            }
        }
        main().FileList.Click();
    }

    void ChooseFileType(int position) { main().EditFilter.Choose(position); }

    TMain& main() { return windows.main; }
    void SetPatterns(const std::string& include, const std::string& exclude) {
        SyncSettings settings;
        settings.Include = include;
        settings.Exclude = exclude;
        windows.options.Apply(settings);
    }
    std::string Size() { return main().selsize.Caption(); }
    std::string Count() { return main().FileCount.Caption(); }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows;
};

TEST_F(MainWindowModelTest, SummaryUnitsAndRounding) {
    dir.CreateFile("d/b1023", std::string(1023, 'x'));
    dir.CreateFile("d/b1024", std::string(1024, 'x'));
    dir.CreateFile("d/b1536", std::string(1536, 'x'));
    dir.CreateFile("d/b2560", std::string(2560, 'x'));
    dir.CreateFile("d/m5", std::string(5 * 1024 * 1024, 'x'));
    // Sparse: sizes of 2 GiB and more without the disk space.
    std::filesystem::resize_file(dir.CreateFile("d/g3"), std::uintmax_t{3} << 30);
    std::filesystem::resize_file(dir.CreateFile("d/g5"), (std::uintmax_t{5} << 30) + 512);
    EXPECT_EQ(Size(), "Selected Size: 0 KBytes");
    EXPECT_EQ(Count(), "Total files Selected: ");
    Open("d");
    EXPECT_EQ(Size(), "Selected Size: 0 Bytes");
    EXPECT_EQ(Count(), "Total Files Selected: 0");

    struct Case {
        const char* name;
        std::vector<std::string> files;
        const char* size;
    } cases[] = {
        {"just under a KByte", {"b1023"}, "Selected Size: 1023 Bytes"},
        {"one KByte", {"b1024"}, "Selected Size: 1 KBytes"},
        {"a half rounds up", {"b2560"}, "Selected Size: 3 KBytes"},
        {"1.5 rounds up", {"b1536"}, "Selected Size: 2 KBytes"},
        {"five MB in KBytes", {"m5"}, "Selected Size: 5120 KBytes"},
        {"sum of two", {"b1024", "b2560"}, "Selected Size: 4 KBytes"},
        {"three GiB in full", {"g3"}, "Selected Size: 3145728 KBytes"},
        {"five GiB and a half KByte", {"g5"}, "Selected Size: 5242881 KBytes"},
        {"beyond 32 bits together", {"g3", "g5", "b1023"}, "Selected Size: 8388609 KBytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main().Cancel1Click();
        SelectNamed(c.files);
        EXPECT_EQ(Size(), c.size);
        EXPECT_EQ(Count(), "Total Files Selected: " + std::to_string(c.files.size()));
    }
}

TEST_F(MainWindowModelTest, SelectAllFollowsTheSelectionAndTheSyncAllBox) {
    dir.CreateFile("d/a.txt", "a");
    dir.CreateFile("d/b.txt", "bb");
    dir.CreateDirectory("empty");
    Open("d");
    main().SelectAll1Click();
    EXPECT_TRUE(main().cbSelectAll.Checked());
    EXPECT_EQ(main().FileList.SelCount(), 2);
    EXPECT_EQ(Size(), "Selected Size: 3 Bytes");

    // Deselecting one entry unchecks the box; the rest stay marked.
    main().FileList.SetSelected(0, false);
    main().FileList.Click();
    EXPECT_FALSE(main().cbSelectAll.Checked());
    EXPECT_EQ(main().FileList.SelCount(), 1);

    // Sync All only greys the box; the menu command still selects.
    main().SyncAll.SetChecked(true);
    EXPECT_FALSE(main().cbSelectAll.Enabled());
    EXPECT_EQ(main().FileList.SelCount(), 1);
    main().SelectAll1Click();
    EXPECT_TRUE(main().cbSelectAll.Checked());
    EXPECT_EQ(main().FileList.SelCount(), 2);
    main().SyncAll.SetChecked(false);
    EXPECT_TRUE(main().cbSelectAll.Enabled());

    // An empty directory keeps the box; one with files clears it.
    Open("empty");
    EXPECT_TRUE(main().cbSelectAll.Checked());
    Open("d");
    EXPECT_FALSE(main().cbSelectAll.Checked());
    EXPECT_EQ(Count(), "Total Files Selected: 0");
}

TEST_F(MainWindowModelTest, SummaryCountsSourceFilesOnlyAndVanishedOnesAsNothing) {
    dir.CreateFile("src/a.txt", std::string(2048, 'a'));
    dir.CreateFile("src/gone.txt", std::string(4096, 'g'));
    dir.CreateFile("dst/a.txt", std::string(10240, 'd'));
    Open("src");
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    std::remove(dir.Path("src/gone.txt").c_str());
    SelectNamed({"a.txt", "gone.txt"});
    EXPECT_EQ(Size(), "Selected Size: 2 KBytes");
    EXPECT_EQ(Count(), "Total Files Selected: 2");
}

TEST_F(MainWindowModelTest, CustomFilterIncludesThenExcludesInEveryDirectory) {
    for (const char* name : {"apple.txt", "Avocado.doc", "banana.txt", "cherry.doc", "data.xls",
                             "notes.md", "sub/apricot.txt", "sub/berry.txt"}) {
        dir.CreateFile(std::string("d/") + name, "x", kStamp);
    }
    SetPatterns("*.txt;*.doc;", "a*.*;");
    Open("d");
    ChooseFileType(1);
    EXPECT_EQ(Names(main().FileList), (std::vector<std::string>{"banana.txt", "cherry.doc"}));

    // A walk keeps the filter in force in each directory it visits.
    dir.CreateDirectory("out");
    ASSERT_TRUE(main().DestDirListBox.SetDirectory(dir.Path("out")).ok());
    main().SyncAll.SetChecked(true);
    main().SyncBtnClick();
    EXPECT_TRUE(dir.Exists("out/sub/berry.txt"));
    EXPECT_FALSE(dir.Exists("out/sub/apricot.txt"));
    EXPECT_FALSE(dir.Exists("out/apple.txt"));
    EXPECT_FALSE(dir.Exists("out/notes.md"));
    EXPECT_TRUE(dir.Exists("out/cherry.doc"));

    // Changing directory lists the new one filtered.
    Open("d/sub");
    EXPECT_EQ(Names(main().FileList), std::vector<std::string>{"berry.txt"});

    // Back to all files: the excluded ones return, although the mask was "*.*".
    SetPatterns("", "a*.*;");
    Open("d");
    ChooseFileType(1);
    EXPECT_EQ(main().FileList.Mask(), "*.*");
    EXPECT_EQ(main().FileList.Count(), 4);
    ChooseFileType(0);
    EXPECT_EQ(main().FileList.Count(), 6);
}

TEST_F(MainWindowModelTest, FixedFileTypesIgnoreThePatternsAndDoNotReReadWhenUnchanged) {
    dir.CreateFile("d/a.xls", "x");
    dir.CreateFile("d/b.xls", "x");
    dir.CreateFile("d/c.doc", "x");
    SetPatterns("", "a*;");
    Open("d");
    ChooseFileType(2);
    EXPECT_EQ(Names(main().FileList), (std::vector<std::string>{"a.xls", "b.xls"}));

    // The same entry again re-reads nothing: the marks survive.
    main().FileList.SetSelected(1, true);
    ChooseFileType(2);
    EXPECT_TRUE(main().FileList.Selected(1));
    ChooseFileType(4);
    EXPECT_EQ(Names(main().FileList), std::vector<std::string>{"c.doc"});

    // "All files" always re-reads, which clears the marks.
    ChooseFileType(0);
    main().FileList.SetSelected(0, true);
    ChooseFileType(0);
    EXPECT_EQ(main().FileList.SelCount(), 0);
    EXPECT_EQ(main().FileList.Count(), 3);
}

TEST_F(MainWindowModelTest, CustomFilterWithoutPatternsListsEverythingAndExcludesEveryOccurrence) {
    dir.CreateFile("d/a.txt", "x");
    dir.CreateFile("d/b.txt", "x");
    Open("d");
    ChooseFileType(1);
    EXPECT_EQ(main().FileList.Count(), 2);
    // A pattern given twice lists a file twice; an excluded name goes in
    // every occurrence, a kept one stays twice.
    SetPatterns("*.txt;*.txt;", "a.txt;");
    main().EditFilterChange();
    EXPECT_EQ(Names(main().FileList), (std::vector<std::string>{"b.txt", "b.txt"}));
}

}  // namespace
