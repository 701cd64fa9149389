#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "batch/BatchFile.h"
#include "main/Windows.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDir.h"

using namespace twinfold;

namespace {

using Names = std::vector<std::string>;

const std::string kClearChanges = "Do you wish clear current changes?";
const std::string kExitChanged = "The batch list has changed. Save it before closing?";

Names FileNames(const TFileListBox& list) {
    Names names;
    for (const auto& item : list.Items()) names.push_back(item.text);
    return names;
}

class BatchDlgTest : public ::testing::Test {
protected:
    BatchDlgTest() {
        for (const char* name : {"a.ini", "b.ini", "c.ini", "d.ini", "e.ini", "notes.txt"})
            dir.CreateFile(std::string("data/") + name);
        dir.CreateFile("data/Mixed Case/Night.INI");
        dir.CreateDirectory("jobs");
    }

    // Opens the editor from the main window with the source pane at `source`.
    void OpenEditor(const std::string& source = "data") {
        ASSERT_TRUE(windows.main.SourceDirListBox.SetDirectory(dir.Path(source)).ok());
        windows.main.BatchFileEditor1Click();
        ASSERT_TRUE(editor().Visible());
    }

    // Selects exactly `names` in the editor's file list, focus on the last.
    void Select(const Names& names) {
        TFileListBox& list = editor().FileList;
        for (int i = 0; i < list.Count(); ++i) {
            const bool wanted =
                std::find(names.begin(), names.end(), list.Items()[i].text) != names.end();
            list.SetSelected(i, wanted);
            if (wanted) list.SetItemIndex(i);
        }
    }

    void Add(const Names& names) {
        Select(names);
        editor().SpeedButton4Click();
    }

    // A titled, unchanged list of the five ini files of data/.
    void SavedListOfFive() {
        OpenEditor();
        Add({"a.ini", "b.ini", "c.ini", "d.ini", "e.ini"});
        desktop.fileAnswers = {dir.Path("jobs/five.tfw")};
        editor().SaveAsMenuClick();
        ASSERT_FALSE(editor().modified());
    }

    void SelectEntries(const std::vector<int>& indexes) {
        for (int i : indexes) editor().BatchList.SetSelected(i, true);
    }

    std::string Data(const std::string& name) { return dir.Path("data/" + name); }
    TBatchDlg& editor() { return windows.batchEditor; }
    const Names& Entries() { return editor().BatchList.Items(); }

    test::CurrentDirectoryGuard cwd;
    test::TestDir dir;
    test::ScriptedDesktop desktop;
    Windows windows{desktop, dir.ProgramDir()};
};

// --- Start and opening ----------------------------------------------------

TEST_F(BatchDlgTest, CreatedUntitledWithTheIniFilterChosen) {
    EXPECT_EQ(editor().batchFileName(), "Untitled");
    EXPECT_EQ(editor().Caption(), "Batch Editor (Untitled)");
    EXPECT_FALSE(editor().modified());
    EXPECT_FALSE(editor().Visible());
    EXPECT_EQ(editor().BatchListScrollWidth, 400);
    EXPECT_TRUE(editor().BatchList.MultiSelect());
    EXPECT_TRUE(editor().FileList.MultiSelect);
    EXPECT_TRUE(editor().FileList.ShowGlyphs);
    EXPECT_EQ(editor().FileList.FileType(), TFileType{TFileAttr::ftNormal});
    EXPECT_EQ(editor().FileList.Mask(), "*.ini");
    EXPECT_EQ(editor().FilterComboBox1.Items(), (Names{"Ini Files (*.ini)", "All files (*.*)"}));
    EXPECT_EQ(editor().FilterComboBox1.ItemIndex(), 0);
    EXPECT_EQ(editor().DriveComboBox1.DirList(), &editor().SDirList);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BatchDlgTest, OpensAtTheSourceDirectoryListingItsSettingsFiles) {
    OpenEditor();
    EXPECT_EQ(editor().SDirList.Directory(), dir.Path("data"));
    EXPECT_EQ(editor().SourceLabel.Caption(), dir.Path("data"));
    EXPECT_EQ(FileNames(editor().FileList), (Names{"a.ini", "b.ini", "c.ini", "d.ini", "e.ini"}));

    ASSERT_TRUE(editor().FilterComboBox1.Choose(1).ok());
    EXPECT_EQ(editor().FileList.Mask(), "*.*");
    EXPECT_EQ(editor().FileList.Count(), 6);
}

TEST_F(BatchDlgTest, ReopeningStartsEmptyUntitledAndRereadsTheDirectory) {
    SavedListOfFive();
    Add({"a.ini"});
    editor().CancelClick();
    EXPECT_FALSE(editor().Visible());
    dir.CreateFile("data/later.ini");

    OpenEditor();

    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(editor().batchFileName(), "Untitled");
    EXPECT_EQ(editor().Caption(), "Batch Editor (Untitled)");
    EXPECT_FALSE(editor().modified());
    EXPECT_EQ(FileNames(editor().FileList),
              (Names{"a.ini", "b.ini", "c.ini", "d.ini", "e.ini", "later.ini"}));
    editor().ExitClick();
    EXPECT_FALSE(editor().Visible());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BatchDlgTest, OpeningIsRefusedWhileASyncRuns) {
    dir.CreateDirectory("dst");
    ASSERT_TRUE(windows.main.SourceDirListBox.SetDirectory(dir.Path("data")).ok());
    ASSERT_TRUE(windows.main.DestDirListBox.SetDirectory(dir.Path("dst")).ok());
    windows.main.FileList.SetSelected(0, true);
    bool shownDuringRun = false;
    desktop.onPump = [&](int) {
        windows.main.BatchFileEditor1Click();
        shownDuringRun = shownDuringRun || editor().Visible();
    };

    windows.main.SyncBtnClick();

    EXPECT_GT(desktop.pumps, 0);
    EXPECT_FALSE(shownDuringRun);
}

TEST_F(BatchDlgTest, HelpKeyAsksForContextFour) {
    OpenEditor();
    editor().F1KeyDown();
    EXPECT_EQ(desktop.helpContexts, std::vector<int>{4});
}

// --- Editing --------------------------------------------------------------

TEST_F(BatchDlgTest, AddsFullPathsInDisplayFormFromTwoDirectories) {
    OpenEditor();
    Add({"e.ini", "b.ini"});
    EXPECT_EQ(Entries(), (Names{Data("b.ini"), Data("e.ini")}));
    EXPECT_TRUE(editor().modified());
    EXPECT_TRUE(editor().FileList.Selected(1));
    EXPECT_TRUE(editor().FileList.Selected(4));

    ASSERT_TRUE(editor().SDirList.SetDirectory(dir.Path("data/Mixed Case")).ok());
    Select({"Night.INI"});
    editor().FileListDblClick();
    // Added twice: no test for duplicates.
    Add({"Night.INI"});

    // Linux paths keep their case: an upper-cased one would name no file.
    const std::string night = dir.Path("data/Mixed Case/Night.INI");
    EXPECT_EQ(Entries(), (Names{Data("b.ini"), Data("e.ini"), night, night}));
    EXPECT_EQ(editor().SourceLabel.Caption(), dir.Path("data/Mixed Case"));
}

TEST_F(BatchDlgTest, DoubleClickOnAFileThatIsNotSelectedAddsNothing) {
    OpenEditor();
    Select({"a.ini"});
    editor().FileList.SetSelected(0, false);
    ASSERT_EQ(editor().FileList.ItemIndex(), 0);

    editor().FileListDblClick();

    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(editor().modified());
}

TEST_F(BatchDlgTest, EveryEditMarksTheListModified) {
    struct Case {
        const char* name;
        std::function<void()> edit;
        Names remaining;  // of a..e
    } cases[] = {
        {"remove two of five",
         [&] {
             SelectEntries({1, 3});
             editor().SpeedButton3Click();
         },
         {"a.ini", "c.ini", "e.ini"}},
        {"remove with nothing selected",
         [&] { editor().SpeedButton3Click(); },
         {"a.ini", "b.ini", "c.ini", "d.ini", "e.ini"}},
        {"double click on an entry",
         [&] { editor().BatchListDblClick(2); },
         {"a.ini", "b.ini", "d.ini", "e.ini"}},
        {"double click beside the entries",
         [&] { editor().BatchListDblClick(-1); },
         {"a.ini", "b.ini", "c.ini", "d.ini", "e.ini"}},
        {"add with nothing selected",
         [&] { Add({}); },
         {"a.ini", "b.ini", "c.ini", "d.ini", "e.ini"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SavedListOfFive();
        c.edit();
        Names expected;
        for (const auto& name : c.remaining) expected.push_back(Data(name));
        EXPECT_EQ(Entries(), expected);
        EXPECT_TRUE(editor().modified());
        editor().CancelClick();
    }
}

TEST_F(BatchDlgTest, DoubleClickRemovesExactlyThatEntryAmongEqualOnes) {
    OpenEditor();
    Add({"a.ini"});
    Add({"b.ini"});
    Add({"a.ini"});
    editor().BatchList.SetItemIndex(0);

    editor().BatchListDblClick(2);

    EXPECT_EQ(Entries(), (Names{Data("a.ini"), Data("b.ini")}));
    EXPECT_EQ(editor().BatchList.ItemIndex(), 0);
}

// --- File commands --------------------------------------------------------

TEST_F(BatchDlgTest, SaveAsSaveNewAndOpenFollowTheFileName) {
    OpenEditor();
    Add({"a.ini", "c.ini"});
    const std::string night = dir.Path("jobs/night.tfw");
    desktop.fileAnswers = {night};

    editor().SaveAsMenuClick();

    ASSERT_EQ(desktop.fileDialogs.size(), 1u);
    const FileDialog& saveAs = desktop.fileDialogs[0];
    EXPECT_EQ(saveAs.filter, "TFold Batch (*.tfw)|*.tfw|All Files (*.*)|*.*");
    EXPECT_EQ(saveAs.defaultExtension, "tfw");
    EXPECT_EQ(saveAs.fileName, "tfoldw.tfw");
    EXPECT_EQ(saveAs.initialDirectory, windows.main.programDir);
    EXPECT_TRUE(saveAs.confirmOverwrite);
    EXPECT_EQ(ReadBatchFile(night), (Names{Data("a.ini"), Data("c.ini")}));
    EXPECT_EQ(editor().batchFileName(), night);
    EXPECT_EQ(editor().Caption(), "Batch Editor (night.tfw)");
    EXPECT_EQ(windows.main.currentBatchFile, night);
    EXPECT_FALSE(editor().modified());
    // The runner's dialog now proposes the same file.
    FileDialog run = BatchOpenDialog(windows.main.currentBatchFile);
    EXPECT_EQ(run.fileName, "night.tfw");
    EXPECT_EQ(run.initialDirectory, dir.Path("jobs") + "/");

    editor().SpeedButton3Click();  // nothing selected, still a change
    Add({"e.ini"});
    windows.main.currentBatchFile = dir.Path("elsewhere.tfw");
    editor().Save1Click();
    EXPECT_EQ(desktop.fileDialogs.size(), 1u);
    EXPECT_EQ(ReadBatchFile(night), (Names{Data("a.ini"), Data("c.ini"), Data("e.ini")}));
    EXPECT_EQ(windows.main.currentBatchFile, night);
    EXPECT_EQ(editor().Caption(), "Batch Editor (night.tfw)");
    EXPECT_FALSE(editor().modified());

    editor().New1Click();  // unchanged: no question
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(editor().Caption(), "Batch Editor (Untitled)");
    EXPECT_EQ(windows.main.currentBatchFile, night);

    desktop.fileAnswers = {night};
    editor().Open1Click();
    ASSERT_EQ(desktop.fileDialogs.size(), 2u);
    const FileDialog& open = desktop.fileDialogs[1];
    EXPECT_EQ(open.filter, "TFold Batch (*.tfw)|*.tfw|All Files (*.*)|*.*");
    EXPECT_EQ(open.defaultExtension, "tfw");
    EXPECT_EQ(open.fileName, "night.tfw");
    EXPECT_EQ(open.initialDirectory, dir.Path("jobs") + "/");
    EXPECT_TRUE(open.mustExist);
    EXPECT_EQ(Entries(), (Names{Data("a.ini"), Data("c.ini"), Data("e.ini")}));
    EXPECT_EQ(editor().batchFileName(), night);
    EXPECT_EQ(editor().Caption(), "Batch Editor (night.tfw)");
    EXPECT_FALSE(editor().modified());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BatchDlgTest, SaveOnAnUntitledListIsSaveAsAndCancellingChangesNothing) {
    OpenEditor();
    Add({"a.ini"});
    editor().Save1Click();  // cancelled
    ASSERT_EQ(desktop.fileDialogs.size(), 1u);
    EXPECT_TRUE(desktop.fileDialogs[0].confirmOverwrite);
    EXPECT_EQ(editor().batchFileName(), "Untitled");
    EXPECT_EQ(editor().Caption(), "Batch Editor (Untitled)");
    EXPECT_TRUE(editor().modified());
    EXPECT_EQ(windows.main.currentBatchFile, windows.main.programDir + "tfoldw.tfw");
    EXPECT_FALSE(dir.Exists("prog/tfoldw.tfw"));

    desktop.fileAnswers = {dir.Path("jobs/day.tfw")};
    editor().Save1Click();
    EXPECT_EQ(ReadBatchFile(dir.Path("jobs/day.tfw")), Names{Data("a.ini")});
    EXPECT_EQ(editor().Caption(), "Batch Editor (day.tfw)");
    EXPECT_FALSE(editor().modified());
}

TEST_F(BatchDlgTest, OpenReplacesAChangedListWithoutAsking) {
    dir.CreateFile("jobs/old.tfw",
                   "[Files]\nFile0=/x/one.ini\nFile1=/x/two.ini\nFile3=/x/no.ini\n");
    OpenEditor();
    Add({"a.ini", "b.ini"});
    desktop.fileAnswers = {std::nullopt, dir.Path("jobs/old.tfw")};

    editor().Open1Click();  // cancelled: the list stays
    EXPECT_EQ(Entries().size(), 2u);
    EXPECT_TRUE(editor().modified());

    editor().Open1Click();
    EXPECT_EQ(Entries(), (Names{"/x/one.ini", "/x/two.ini"}));
    EXPECT_EQ(editor().Caption(), "Batch Editor (old.tfw)");
    EXPECT_EQ(windows.main.currentBatchFile, dir.Path("jobs/old.tfw"));
    EXPECT_FALSE(editor().modified());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BatchDlgTest, SavingAnEmptyListRemovesTheFileWithoutWarning) {
    SavedListOfFive();
    SelectEntries({0, 1, 2, 3, 4});
    editor().SpeedButton3Click();
    editor().Save1Click();
    EXPECT_FALSE(dir.Exists("jobs/five.tfw"));
    EXPECT_FALSE(editor().modified());
    EXPECT_EQ(editor().Caption(), "Batch Editor (five.tfw)");
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BatchDlgTest, AFailedWriteKeepsNameCaptionCurrentFileAndModified) {
    SavedListOfFive();
    const std::string five = dir.Path("jobs/five.tfw");
    dir.MakeReadOnly("jobs/five.tfw");
    Add({"a.ini"});
    windows.main.currentBatchFile = dir.Path("jobs/proposed.tfw");

    editor().Save1Click();
    EXPECT_EQ(desktop.Texts(), Names{"Unable to write to " + five});
    EXPECT_TRUE(editor().modified());
    EXPECT_EQ(windows.main.currentBatchFile, dir.Path("jobs/proposed.tfw"));
    EXPECT_EQ(ReadBatchFile(five).size(), 5u);

    desktop.fileAnswers = {five};
    editor().SaveAsMenuClick();
    EXPECT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(editor().batchFileName(), five);
    EXPECT_TRUE(editor().modified());
    EXPECT_EQ(windows.main.currentBatchFile, dir.Path("jobs/proposed.tfw"));

    // Save As into a directory that is gone keeps the old name too.
    desktop.fileAnswers = {dir.Path("gone/new.tfw")};
    editor().SaveAsMenuClick();
    EXPECT_EQ(desktop.boxes.size(), 3u);
    EXPECT_EQ(editor().batchFileName(), five);
    EXPECT_EQ(editor().Caption(), "Batch Editor (five.tfw)");
    EXPECT_TRUE(editor().modified());
    EXPECT_EQ(windows.main.currentBatchFile, dir.Path("jobs/proposed.tfw"));
}

TEST_F(BatchDlgTest, NewAndExitAskOnlyWhenTheListChanged) {
    struct Case {
        const char* name;
        bool change;
        bool answer;
        bool closed;
        std::size_t questions;
        bool save = false;  // Save rather than Discard or Cancel
    } cases[] = {
        {"unchanged", false, false, true, 0},
        {"changed, Discard", true, true, true, 1},
        {"changed, Cancel", true, false, false, 1},
        {"changed, Save", true, false, true, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SavedListOfFive();
        if (c.change) editor().BatchListDblClick(0);
        desktop.boxes.clear();
        desktop.answers = {c.answer};
        if (c.save) desktop.saveChoices = {SaveChoice::Save};

        editor().ExitClick();

        EXPECT_EQ(editor().Visible(), !c.closed);
        ASSERT_EQ(desktop.boxes.size(), c.questions);
        if (c.questions > 0) {
            EXPECT_EQ(desktop.boxes[0].kind, BoxKind::Confirmation);
            EXPECT_EQ(desktop.boxes[0].text, kExitChanged);
        }
        if (c.save) {
            EXPECT_FALSE(editor().modified());
            EXPECT_EQ(ReadBatchFile(editor().batchFileName()), Entries());
            break;  // saved: nothing is left for New to ask about
        }
        // New asks the same way and empties only when allowed to.
        desktop.boxes.clear();
        desktop.answers = {c.answer};
        editor().New1Click();
        EXPECT_EQ(desktop.Texts(), c.change ? Names{kClearChanges} : Names{});
        EXPECT_EQ(Entries().empty(), c.closed);
        EXPECT_EQ(editor().batchFileName() == "Untitled", c.closed);
        EXPECT_EQ(editor().modified(), !c.closed);
        editor().CancelClick();
        desktop.answers.clear();
    }
}

}  // namespace
