#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "listing/TFileListBox.h"
#include "listing/TFilterComboBox.h"
#include "platform/FileSystem.h"
#include "support/TestDir.h"

using namespace twinfold;

namespace {

using Texts = std::vector<std::string>;

constexpr const char* kIniFilter = "Ini Files (*.ini)|*.ini|All files (*.*)|*.*";

Texts TextsOf(const TFileListBox& list) {
    Texts texts;
    for (const auto& item : list.Items()) texts.push_back(item.text);
    return texts;
}

}  // namespace

TEST(FilterComboBox, StartsWithAllFiles) {
    TFilterComboBox filter;
    EXPECT_EQ(filter.Filter(), "All files (*.*)|*.*");
    EXPECT_EQ(filter.Items(), Texts{"All files (*.*)"});
    EXPECT_EQ(filter.Masks(), Texts{"*.*"});
    EXPECT_EQ(filter.ItemIndex(), 0);
    EXPECT_EQ(filter.Mask(), "*.*");
    EXPECT_EQ(filter.FileList(), nullptr);
}

TEST(FilterComboBox, ParsesDescriptionsAndMasks) {
    struct Case {
        const char* label;
        const char* filter;
        Texts items;
        Texts masks;
    } cases[] = {
        {"two entries", kIniFilter, {"Ini Files (*.ini)", "All files (*.*)"}, {"*.ini", "*.*"}},
        {"final description dropped", "Text (*.txt)|*.txt|Orphan", {"Text (*.txt)"}, {"*.txt"}},
        {"empty filter", "", {}, {}},
        {"description alone", "Only a description", {}, {}},
        {"bar at the end: empty mask", "Nothing|", {"Nothing"}, {""}},
        {"empty mask between", "A||B|*.b", {"A", "B"}, {"", "*.b"}},
        {"empty description", "|*.x", {""}, {"*.x"}},
        {"several patterns in a mask", "Docs|*.doc;*.txt", {"Docs"}, {"*.doc;*.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TFilterComboBox filter;
        ASSERT_TRUE(filter.SetFilter(c.filter).ok());
        EXPECT_EQ(filter.Filter(), c.filter);
        EXPECT_EQ(filter.Items(), c.items);
        EXPECT_EQ(filter.Masks(), c.masks);
        EXPECT_EQ(filter.ItemIndex(), c.items.empty() ? -1 : 0);
    }
}

TEST(FilterComboBox, MaskFallsBackToTheLastEntryThenToEveryName) {
    TFilterComboBox filter;
    ASSERT_TRUE(filter.SetFilter(kIniFilter).ok());
    EXPECT_EQ(filter.Mask(), "*.ini");

    int redraws = 0;
    const Connection filterItemsChange = filter.OnItemsChange.Connect([&] { ++redraws; });
    filter.SetItemIndex(-1);
    EXPECT_EQ(filter.ItemIndex(), -1);
    EXPECT_EQ(filter.Mask(), "*.*");
    EXPECT_EQ(filter.ItemIndex(), 1);  // reading the mask chose the last entry
    EXPECT_EQ(redraws, 2);

    ASSERT_TRUE(filter.SetFilter("").ok());
    EXPECT_EQ(filter.Mask(), "*.*");
    EXPECT_EQ(filter.ItemIndex(), -1);
}

TEST(FilterComboBox, TheSameFilterInOtherLetterCaseChangesNothing) {
    TFilterComboBox filter;
    ASSERT_TRUE(filter.SetFilter(kIniFilter).ok());
    ASSERT_TRUE(filter.Choose(1).ok());
    int changes = 0;
    const Connection filterChange = filter.OnChange.Connect([&] { ++changes; });

    ASSERT_TRUE(filter.SetFilter("INI FILES (*.INI)|*.INI|all files (*.*)|*.*").ok());
    EXPECT_EQ(filter.Filter(), kIniFilter);
    EXPECT_EQ(filter.ItemIndex(), 1);
    EXPECT_EQ(changes, 0);

    // Another filter is parsed, entry 0 chosen and the change notified.
    ASSERT_TRUE(filter.SetFilter("Text|*.txt|All|*.*").ok());
    EXPECT_EQ(filter.ItemIndex(), 0);
    EXPECT_EQ(filter.Mask(), "*.txt");
    EXPECT_EQ(changes, 1);
}

TEST(FilterComboBox, EveryChoiceIsNotified) {
    TFilterComboBox filter;
    ASSERT_TRUE(filter.SetFilter(kIniFilter).ok());
    int changes = 0;
    const Connection filterChange = filter.OnChange.Connect([&] { ++changes; });
    ASSERT_TRUE(filter.Choose(1).ok());
    ASSERT_TRUE(filter.Choose(1).ok());
    EXPECT_EQ(filter.ItemIndex(), 1);
    EXPECT_EQ(changes, 2);
}

class FilterComboFileList : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"boot.ini", "SYSTEM.INI", "notes.txt", "inifile"}) {
            dir.CreateFile(name);
        }
        ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    }

    test::CurrentDirectoryGuard guard;
    test::TestDir dir;
};

TEST_F(FilterComboFileList, TheLinkedFileListListsWithTheChosenMask) {
    TFileListBox files;
    TFilterComboBox filter;
    filter.SetFileList(&files);
    EXPECT_EQ(filter.FileList(), &files);
    EXPECT_EQ(files.Mask(), "*.*");  // linking alone sets nothing

    std::vector<Texts> seen;
    const Connection filterChange =
        filter.OnChange.Connect([&] { seen.push_back(TextsOf(files)); });

    ASSERT_TRUE(filter.SetFilter(kIniFilter).ok());
    EXPECT_EQ(files.Mask(), "*.ini");
    EXPECT_EQ(TextsOf(files), (Texts{"boot.ini", "SYSTEM.INI"}));

    ASSERT_TRUE(filter.Choose(1).ok());
    EXPECT_EQ(files.Mask(), "*.*");
    EXPECT_EQ(TextsOf(files), (Texts{"boot.ini", "inifile", "notes.txt", "SYSTEM.INI"}));

    // OnChange comes after the file list has re-read.
    EXPECT_EQ(seen, (std::vector<Texts>{{"boot.ini", "SYSTEM.INI"},
                                        {"boot.ini", "inifile", "notes.txt", "SYSTEM.INI"}}));
}

TEST_F(FilterComboFileList, AFileListThatCannotReReadReportsThroughTheChoice) {
    dir.CreateDirectory("doomed");
    dir.CreateFile("doomed/a.ini");
    TFileListBox files;
    ASSERT_TRUE(files.SetDirectory(dir.Path("doomed")).ok());
    TFilterComboBox filter;
    ASSERT_TRUE(filter.SetFilter(kIniFilter).ok());
    filter.SetFileList(&files);
    ASSERT_TRUE(platform::SetCurrentDirectory(dir.path()).ok());
    ASSERT_TRUE(platform::RemoveFile(dir.Path("doomed/a.ini")).ok());
    ASSERT_TRUE(platform::RemoveDirectory(dir.Path("doomed")).ok());

    int changes = 0;
    const Connection filterChange = filter.OnChange.Connect([&] { ++changes; });
    // The ini entry is chosen already, but the file list still lists "*.*".
    Status chosen = filter.Choose(0);
    ASSERT_FALSE(chosen.ok());
    EXPECT_NE(chosen.error().message.find(dir.Path("doomed")), std::string::npos);
    EXPECT_EQ(files.Mask(), "*.ini");
    EXPECT_EQ(filter.ItemIndex(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(FilterComboFileList, TheLinkClearsWhenTheFileListGoes) {
    TFilterComboBox filter;
    {
        TFileListBox files;
        filter.SetFileList(&files);
    }
    EXPECT_EQ(filter.FileList(), nullptr);
    EXPECT_TRUE(filter.SetFilter(kIniFilter).ok());

    TFileListBox files;
    {
        TFilterComboBox gone;
        gone.SetFileList(&files);
    }
    EXPECT_TRUE(files.SetMask("*.txt").ok());
    EXPECT_EQ(TextsOf(files), Texts{"notes.txt"});
}
