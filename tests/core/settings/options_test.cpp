#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/PatternList.h"
#include "settings/SyncSettings.h"
#include "settings/TIniFile.h"
#include "settings/TOptionsbx.h"
#include "support/TestDir.h"

using namespace twinfold;
using Patterns = std::vector<std::string>;

namespace {

void Add(TEdit& edit, void (TOptionsbx::*add)(), TOptionsbx& options, const std::string& text) {
    edit.SetText(text);
    (options.*add)();
}

void AddInclude(TOptionsbx& options, const std::string& text) {
    Add(options.EditInclude, &TOptionsbx::AddIncludeClick, options, text);
}

void AddExclude(TOptionsbx& options, const std::string& text) {
    Add(options.EditExclude, &TOptionsbx::AddExcludeClick, options, text);
}

// What the start-up read finds in the settings file at `path`.
SyncSettings Stored(const std::string& path) { return ReadSyncSettings(TIniFile(path), {}); }

// An Options dialog created from a default settings file with this content.
struct CreatedOptions {
    explicit CreatedOptions(const std::string& content) {
        options.FormCreate(Stored(dir.CreateFile("tfoldw.ini", content)));
    }
    test::TestDir dir;
    TOptionsbx options;
};

}  // namespace

TEST(PatternList, ParseStringTakesEveryTextBeforeASemicolon) {
    struct Case {
        const char* name;
        std::string packed;
        Patterns expected;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"two terminated", "*.txt;*.doc;", {"*.txt", "*.doc"}},
        {"tail without terminator dropped", "*.txt;*.doc", {"*.txt"}},
        {"no terminator at all", "*.txt", {}},
        {"empty pattern kept", "*.txt;;*.doc;", {"*.txt", "", "*.doc"}},
        {"only terminators", ";;", {"", ""}},
        {"blanks kept", " a b ;", {" a b "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseString(c.packed), c.expected);
    }
}

TEST(PatternList, PackFollowsEveryPatternWithASemicolon) {
    EXPECT_EQ(PackPatterns({}), "");
    EXPECT_EQ(PackPatterns({"*.txt", "*.doc"}), "*.txt;*.doc;");
    EXPECT_EQ(PackPatterns({""}), ";");
    EXPECT_EQ(parseString(PackPatterns({"a", "", "b"})), (Patterns{"a", "", "b"}));
}

TEST(PatternList, AnEntryHoldingASemicolonComesBackAsTwo) {
    std::string packed = PackPatterns({"*.txt;*.doc"});
    EXPECT_EQ(packed, "*.txt;*.doc;");
    EXPECT_EQ(parseString(packed), (Patterns{"*.txt", "*.doc"}));
}

TEST(OptionsCreate, StartsEmptyWithTheDefaultSizeAndReadsNothing) {
    TOptionsbx options;
    EXPECT_EQ(options.includeFilters(), "");
    EXPECT_EQ(options.excludeFilters(), "");
    EXPECT_EQ(options.CopyBufferSize(), 32768);
    EXPECT_EQ(options.CheckedButton(), CopyBufferButton::Mem32K);
    EXPECT_EQ(options.IncludeList.Count(), 0);
    EXPECT_FALSE(options.Visible());
}

TEST(OptionsCreate, ReadsPatternsIntoFiltersAndLists) {
    CreatedOptions created(
        "[Settings]\nInclude=wrong section;\n"
        "[options]\nexclude=*.bak;*.tmp;\nINCLUDE=*.txt;;*.doc;tail\nCopyBuffer=524288\n");
    const auto& options = created.options;
    EXPECT_EQ(options.excludeFilters(), "*.bak;*.tmp;");
    EXPECT_EQ(options.includeFilters(), "*.txt;;*.doc;tail");
    EXPECT_EQ(options.ExcludeList.Items(), (Patterns{"*.bak", "*.tmp"}));
    EXPECT_EQ(options.IncludeList.Items(), (Patterns{"*.txt", "", "*.doc"}));
    EXPECT_EQ(options.CopyBufferSize(), 524288);
    EXPECT_EQ(options.CheckedButton(), CopyBufferButton::Mem512k);
}

TEST(OptionsCreate, MissingFileOrKeysGiveTheDefaults) {
    test::TestDir dir;
    TOptionsbx options;
    options.FormCreate(Stored(dir.Path("absent.ini")));
    EXPECT_EQ(options.includeFilters(), "");
    EXPECT_EQ(options.excludeFilters(), "");
    EXPECT_EQ(options.CopyBufferSize(), 32768);
    EXPECT_EQ(options.CheckedButton(), CopyBufferButton::Mem32K);
    EXPECT_EQ(options.ExcludeList.Count(), 0);
}

TEST(OptionsCreate, CopyBufferValues) {
    struct Case {
        const char* value;
        std::int32_t size;
        CopyBufferButton checked;
    };
    const Case cases[] = {
        {"0x20000", 131072, CopyBufferButton::Mem128K},
        {"$8000", 32768, CopyBufferButton::Mem32K},
        {"1048576", 1048576, CopyBufferButton::Mem1mb},
        {"abc", 32768, CopyBufferButton::Mem32K},
        {"", 32768, CopyBufferButton::Mem32K},
        {"0", 32768, CopyBufferButton::Mem32K},
        {"-4096", 32768, CopyBufferButton::Mem32K},
        {"100000", 100000, CopyBufferButton::Mem32K},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        CreatedOptions created(std::string("[Options]\nCopyBuffer=") + c.value + "\n");
        EXPECT_EQ(created.options.CopyBufferSize(), c.size);
        EXPECT_EQ(created.options.CheckedButton(), c.checked);
    }
}

TEST(OptionsCreate, UnofferedSizeKeepsThePreviouslyCheckedButton) {
    TOptionsbx options;
    options.Mem256kClick();
    test::TestDir dir;
    options.FormCreate(Stored(dir.CreateFile("tfoldw.ini", "[Options]\nCopyBuffer=100000\n")));
    EXPECT_EQ(options.CopyBufferSize(), 100000);
    EXPECT_EQ(options.CheckedButton(), CopyBufferButton::Mem256k);
    EXPECT_EQ(options.CheckedSize(), 262144);
}

TEST(OptionsChunkSize, ChecksTheButtonOfAnOfferedSizeOnly) {
    TOptionsbx options;
    int notified = 0;
    const Connection optionsCheckedChange = options.OnCheckedChange.Connect([&] { ++notified; });
    for (const auto& choice : kCopyBufferChoices) {
        SCOPED_TRACE(choice.caption);
        options.setChunkSizeForm(choice.size);
        EXPECT_EQ(options.CheckedButton(), choice.button);
        EXPECT_EQ(options.CopyBufferSize(), 32768) << "the caller sets the size";
    }
    EXPECT_EQ(notified, 4);  // 32K was checked already
    for (std::int32_t other : {0, -1, 32767, 65536, 2097152}) {
        options.setChunkSizeForm(other);
        EXPECT_EQ(options.CheckedButton(), CopyBufferButton::Mem1mb) << other;
    }
    EXPECT_EQ(notified, 4);
}

TEST(OptionsSizeButtons, SetTheBufferSizeAtOnce) {
    struct Case {
        void (TOptionsbx::*click)();
        std::int32_t size;
        CopyBufferButton checked;
    };
    const Case cases[] = {
        {&TOptionsbx::Mem1mbClick, 1048576, CopyBufferButton::Mem1mb},
        {&TOptionsbx::Mem512kClick, 524288, CopyBufferButton::Mem512k},
        {&TOptionsbx::Mem256kClick, 262144, CopyBufferButton::Mem256k},
        {&TOptionsbx::Mem128KClick, 131072, CopyBufferButton::Mem128K},
        {&TOptionsbx::Mem32KClick, 32768, CopyBufferButton::Mem32K},
    };
    TOptionsbx options;
    options.ShowModal();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        (options.*c.click)();
        EXPECT_EQ(options.CopyBufferSize(), c.size);
        EXPECT_EQ(options.CheckedButton(), c.checked);
        EXPECT_TRUE(options.Visible());
    }
}

TEST(OptionsAdd, AppendsAsTypedOnceKeepsTheTextAndRequestsFocus) {
    TOptionsbx options;
    int includeFocus = 0;
    const Connection editIncludeFocusRequest =
        options.EditInclude.OnFocusRequest.Connect([&] { ++includeFocus; });
    AddInclude(options, "*.txt");
    AddInclude(options, "*.doc");
    AddInclude(options, "*.txt");
    EXPECT_EQ(options.IncludeList.ItemIndex(), 0) << "a pattern listed already is selected";
    AddInclude(options, " My Files*;x ");
    EXPECT_EQ(options.IncludeList.Items(), (Patterns{"*.txt", "*.doc", " My Files*;x "}));
    EXPECT_EQ(options.EditInclude.Text(), " My Files*;x ");
    EXPECT_EQ(includeFocus, 4);
    EXPECT_EQ(options.ExcludeList.Count(), 0);
    EXPECT_EQ(options.includeFilters(), "") << "nothing is committed before OK";
}

TEST(OptionsAdd, EmptyTextAddsNothingButStillFocusesTheEdit) {
    TOptionsbx options;
    int excludeFocus = 0;
    const Connection editExcludeFocusRequest =
        options.EditExclude.OnFocusRequest.Connect([&] { ++excludeFocus; });
    options.AddExcludeClick();
    options.AddIncludeClick();
    EXPECT_EQ(options.ExcludeList.Count(), 0);
    EXPECT_EQ(options.IncludeList.Count(), 0);
    EXPECT_EQ(excludeFocus, 1);
}

TEST(OptionsAdd, EnterInEitherEditAddsOtherKeysDoNot) {
    TOptionsbx options;
    options.EditInclude.SetText("*.txt");
    options.EditExclude.SetText("*.bak");
    for (Key key : {Key::Other, Key::Escape}) {
        options.EditIncludeKeyDown(key);
        options.EditExcludeKeyDown(key);
    }
    EXPECT_EQ(options.IncludeList.Count(), 0);
    EXPECT_EQ(options.ExcludeList.Count(), 0);
    options.EditIncludeKeyDown(Key::Enter);
    options.EditExcludeKeyDown(Key::Enter);
    EXPECT_EQ(options.IncludeList.Items(), Patterns{"*.txt"});
    EXPECT_EQ(options.ExcludeList.Items(), Patterns{"*.bak"});
}

TEST(OptionsRemove, DoubleClickRemovesExactlyTheEntryUnderIt) {
    CreatedOptions created("[Options]\nExclude=a;b;c;b;\n");
    auto& options = created.options;
    options.ExcludeList.SetItemIndex(0);
    options.ExcludeListDblClick(3);
    EXPECT_EQ(options.ExcludeList.Items(), (Patterns{"a", "b", "c"}));
    options.ExcludeListDblClick(1);
    EXPECT_EQ(options.ExcludeList.Items(), (Patterns{"a", "c"}));
    EXPECT_EQ(options.ExcludeList.ItemIndex(), -1);
    options.ExcludeListDblClick(1);
    options.ExcludeListDblClick(0);
    EXPECT_EQ(options.ExcludeList.Count(), 0);
}

TEST(OptionsRemove, DoubleClickBesideTheEntriesRemovesNothing) {
    TOptionsbx options;
    AddInclude(options, "*.txt");
    AddInclude(options, "*.doc");
    options.IncludeList.SetItemIndex(1);
    for (int index : {-1, 2, 99}) {
        SCOPED_TRACE(index);
        options.IncludeListDblClick(index);
        EXPECT_EQ(options.IncludeList.Count(), 2);
    }
    EXPECT_EQ(options.IncludeList.ItemIndex(), 1);
    TOptionsbx empty;
    empty.IncludeListDblClick(-1);
    empty.IncludeListDblClick(0);
    EXPECT_EQ(empty.IncludeList.Count(), 0);
}

TEST(OptionsClear, EmptiesTheListsOnly) {
    CreatedOptions created("[Options]\nInclude=*.txt;\nExclude=*.bak;\nCopyBuffer=131072\n");
    auto& options = created.options;
    options.ShowModal();
    options.EditInclude.SetText("typed");
    options.EditExclude.SetText("also");
    options.Mem1mbClick();
    options.ClearClick();
    EXPECT_EQ(options.IncludeList.Count(), 0);
    EXPECT_EQ(options.ExcludeList.Count(), 0);
    EXPECT_EQ(options.EditInclude.Text(), "typed");
    EXPECT_EQ(options.EditExclude.Text(), "also");
    EXPECT_EQ(options.includeFilters(), "*.txt;");
    EXPECT_EQ(options.excludeFilters(), "*.bak;");
    EXPECT_EQ(options.CopyBufferSize(), 1048576);
    EXPECT_EQ(options.CheckedButton(), CopyBufferButton::Mem1mb);
    EXPECT_TRUE(options.Visible());
    EXPECT_EQ(options.ModalResult, TOptionsbx::kModalNone);
}

TEST(OptionsOk, PacksBothListsInOrderAndCloses) {
    TOptionsbx options;
    options.ShowModal();
    AddInclude(options, "*.txt");
    AddInclude(options, "*.doc");
    AddExclude(options, "~*");
    options.OkClick();
    EXPECT_EQ(options.includeFilters(), "*.txt;*.doc;");
    EXPECT_EQ(options.excludeFilters(), "~*;");
    EXPECT_FALSE(options.Visible());
    EXPECT_EQ(options.ModalResult, TOptionsbx::kModalOk);
    EXPECT_EQ(options.IncludeList.Items(), (Patterns{"*.txt", "*.doc"})) << "lists stay";
}

TEST(OptionsOk, EntryWithSemicolonIsOneEntryButTwoPatterns) {
    TOptionsbx options;
    AddInclude(options, "*.txt;*.doc");
    EXPECT_EQ(options.IncludeList.Count(), 1);
    options.OkClick();
    EXPECT_EQ(options.includeFilters(), "*.txt;*.doc;");
    SyncSettings saved;
    options.Collect(saved);
    options.Apply(saved);
    EXPECT_EQ(options.IncludeList.Items(), (Patterns{"*.txt", "*.doc"}));
}

TEST(OptionsOk, DuplicatesAndEmptyListsAreCommittedAsTheyStand) {
    CreatedOptions created("[Options]\nInclude=*.txt;\nExclude=*.tmp;*.tmp;\n");
    auto& options = created.options;
    options.OkClick();
    EXPECT_EQ(options.excludeFilters(), "*.tmp;*.tmp;") << "as a file listed them";
    options.ClearClick();
    options.OkClick();
    EXPECT_EQ(options.includeFilters(), "");
    EXPECT_EQ(options.excludeFilters(), "");
}

TEST(OptionsOk, FiresOnCommittedOncePerOkWithTheNewFilters) {
    TOptionsbx options;
    std::vector<std::string> seen;
    const Connection optionsCommitted =
        options.OnCommitted.Connect([&] { seen.push_back(options.includeFilters()); });
    options.ShowModal();
    AddInclude(options, "*.c");
    options.OkClick();
    EXPECT_EQ(seen, Patterns{"*.c;"});
    options.ShowModal();
    options.Close();
    options.ClearClick();
    options.Mem128KClick();
    EXPECT_EQ(seen.size(), 1u) << "only OK commits";
    options.ShowModal();
    options.OkClick();
    EXPECT_EQ(seen, (Patterns{"*.c;", ""}));
}

TEST(OptionsClose, PutsTheListsBackButKeepsTheSize) {
    CreatedOptions created("[Options]\nInclude=*.txt;\nExclude=*.bak;\n");
    auto& options = created.options;
    options.ShowModal();
    AddInclude(options, "*.doc");
    options.ExcludeList.SetItemIndex(0);
    options.RemoveExcludeClick();
    EXPECT_EQ(options.ExcludeList.Count(), 0);
    options.Mem512kClick();
    options.Close();
    EXPECT_FALSE(options.Visible());
    EXPECT_EQ(options.ModalResult, TOptionsbx::kModalCancel);
    EXPECT_EQ(options.includeFilters(), "*.txt;");
    EXPECT_EQ(options.excludeFilters(), "*.bak;");
    EXPECT_EQ(options.CopyBufferSize(), 524288) << "a changed size stays in force";

    options.ShowModal();
    EXPECT_TRUE(options.Visible());
    EXPECT_EQ(options.ModalResult, TOptionsbx::kModalNone);
    EXPECT_EQ(options.IncludeList.Items(), Patterns{"*.txt"});
    EXPECT_EQ(options.ExcludeList.Items(), Patterns{"*.bak"});
}

TEST(OptionsShow, NotifiesOnlyRealChanges) {
    TOptionsbx options;
    std::vector<bool> shown;
    const Connection optionsShowChange =
        options.OnShowChange.Connect([&] { shown.push_back(options.Visible()); });
    options.Close();
    options.ShowModal();
    options.ShowModal();
    options.OkClick();
    options.Close();
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));
}

TEST(OptionsRefill, ReplacesBothListsFromTheCommittedFilters) {
    TOptionsbx options;
    AddInclude(options, "old");
    AddExclude(options, "old");
    SyncSettings settings;
    settings.Include = "*.a;*.b;";
    settings.Exclude = "*.z;";
    options.Apply(settings);
    EXPECT_EQ(options.IncludeList.Items(), (Patterns{"*.a", "*.b"}));
    EXPECT_EQ(options.ExcludeList.Items(), Patterns{"*.z"});
}

TEST(OptionsRoundTrip, SavedFiltersReadBackIntoAFreshDialog) {
    test::TestDir dir;
    std::string path = dir.Path("tfoldw.ini");
    TOptionsbx first;
    AddInclude(first, "*.txt;*.doc");
    AddExclude(first, "");
    AddExclude(first, "*.bak");
    first.Mem256kClick();
    first.OkClick();
    SyncSettings saved;
    first.Collect(saved);
    TIniFile ini(path);
    ASSERT_TRUE(WriteSyncSettings(ini, saved).ok());

    TOptionsbx second;
    second.FormCreate(Stored(path));
    EXPECT_EQ(second.IncludeList.Items(), (Patterns{"*.txt", "*.doc"}));
    EXPECT_EQ(second.ExcludeList.Items(), Patterns{"*.bak"});
    EXPECT_EQ(second.CopyBufferSize(), 262144);
    EXPECT_EQ(second.CheckedButton(), CopyBufferButton::Mem256k);
}
