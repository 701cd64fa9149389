#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/TEdit.h"
#include "controls/TListBox.h"

using namespace twinfold;
using Texts = std::vector<std::string>;

namespace {

TListBox ListOf(const Texts& texts, bool multiSelect = false) {
    TListBox list;
    list.SetMultiSelect(multiSelect);
    list.Append(texts);
    return list;
}

}  // namespace

TEST(ControlsEdit, NotifiesRealChangesOnly) {
    TEdit edit;
    int changes = 0;
    const Connection editChange = edit.OnChange.Connect([&] { ++changes; });
    edit.SetText("");
    edit.SetText("a");
    edit.SetText("a");
    edit.SetText("");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit.Text(), "");
}

TEST(ControlsListBox, KeepsEntriesInTheOrderAddedWithDuplicates) {
    TListBox list;
    int changes = 0;
    const Connection listChange = list.OnChange.Connect([&] { ++changes; });
    list.Add("b");
    list.Append({"a", "b"});
    list.Append({});
    EXPECT_EQ(list.Items(), (Texts{"b", "a", "b"}));
    EXPECT_EQ(list.Item(1), "a");
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST(ControlsListBox, ItemIndexOutsideTheEntriesIsMinusOne) {
    auto list = ListOf({"a", "b"});
    for (int index : {-5, 2, 7}) {
        list.SetItemIndex(1);
        list.SetItemIndex(index);
        EXPECT_EQ(list.ItemIndex(), -1) << index;
        EXPECT_TRUE(list.SelectedIndexes().empty());
    }
}

TEST(ControlsListBox, DeleteMovesTheFocusWithItsEntry) {
    struct Case {
        const char* name;
        int focus;
        int deleted;
        Texts items;
        int focusAfter;
    };
    const Case cases[] = {
        {"focused entry goes", 1, 1, {"a", "c"}, -1}, {"entry before focus", 2, 0, {"b", "c"}, 1},
        {"entry after focus", 0, 2, {"a", "b"}, 0},   {"no such entry", 1, 3, {"a", "b", "c"}, 1},
        {"minus one", 1, -1, {"a", "b", "c"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = ListOf({"a", "b", "c"});
        list.SetItemIndex(c.focus);
        list.Delete(c.deleted);
        EXPECT_EQ(list.Items(), c.items);
        EXPECT_EQ(list.ItemIndex(), c.focusAfter);
        if (c.focusAfter >= 0) {
            EXPECT_TRUE(list.Selected(c.focusAfter));
        }
    }
}

TEST(ControlsListBox, ClearDropsEntriesAndSelection) {
    auto list = ListOf({"a", "b"});
    list.SetItemIndex(0);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.Add("c");
    EXPECT_FALSE(list.Selected(0));
}

TEST(ControlsListBox, SingleSelectionFollowsTheFocus) {
    auto list = ListOf({"a", "b", "c"});
    list.SetSelected(2, true);
    EXPECT_EQ(list.ItemIndex(), 2);
    list.SetSelected(0, true);
    EXPECT_EQ(list.SelectedIndexes(), std::vector<int>{0});
    list.SetSelected(1, false);
    EXPECT_EQ(list.ItemIndex(), 0);
    list.SetSelected(0, false);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_TRUE(list.SelectedIndexes().empty());
}

TEST(ControlsListBox, MultiSelectDeletesEverySelectedEntryInOrder) {
    auto list = ListOf({"a", "b", "c", "d", "e"}, true);
    list.SetSelected(1, true);
    list.SetSelected(3, true);
    list.SetSelected(4, true);
    list.SetSelected(4, false);
    list.SetItemIndex(2);
    EXPECT_EQ(list.SelectedIndexes(), (std::vector<int>{1, 3}));
    EXPECT_FALSE(list.Selected(2)) << "focus alone does not select";
    list.DeleteSelected();
    EXPECT_EQ(list.Items(), (Texts{"a", "c", "e"}));
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_TRUE(list.SelectedIndexes().empty());
}

TEST(ControlsListBox, SwitchingModeDropsTheSelection) {
    auto list = ListOf({"a", "b"});
    list.SetItemIndex(1);
    list.SetMultiSelect(true);
    EXPECT_TRUE(list.MultiSelect());
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_TRUE(list.SelectedIndexes().empty());
}
