#pragma once

#include <string>

#include "controls/Signal.h"
#include "controls/TForm.h"
#include "controls/TLabel.h"
#include "controls/TListBox.h"
#include "desktop/Desktop.h"
#include "listing/TDirectoryListBox.h"
#include "listing/TDriveComboBox.h"
#include "listing/TFileListBox.h"
#include "listing/TFilterComboBox.h"

namespace twinfold {

// The standard dialogs of batch files: Open (the file must exist) proposes
// the file-name part of `currentBatchFile` in its directory. The batch runner
// asks for its file the same way.
FileDialog BatchOpenDialog(const std::string& currentBatchFile);
FileDialog BatchSaveAsDialog(const std::string& currentBatchFile);

// The batch editor: browse to settings files on the left, collect them in
// BatchList on the right, and keep that list in a batch file through the
// dialog's own File menu. Created once; every opening from the main window
// starts an empty, untitled list. Closing never saves.
class TBatchDlg : public TForm {
public:
    static constexpr const char* kUntitled = "Untitled";
    static constexpr int kHelpContext = 4;
    static constexpr const char* kIniFilter = "Ini Files (*.ini)|*.ini|All files (*.*)|*.*";

    // `currentBatchFile` is the main window's: the editor proposes it in its
    // dialogs and records there every batch file it opens or saves.
    TBatchDlg(Desktop& desktop, std::string& currentBatchFile);
    TBatchDlg(const TBatchDlg&) = delete;
    TBatchDlg& operator=(const TBatchDlg&) = delete;

    // The left side: SDirList moves the drive list, the file list and the label.
    TLabel SourceLabel;
    TDriveComboBox DriveComboBox1;
    TDirectoryListBox SDirList;
    TFileListBox FileList;
    TFilterComboBox FilterComboBox1;
    // The batch entries, several selectable at once.
    TListBox BatchList;
    // How far the batch list scrolls sideways, in pixels.
    int BatchListScrollWidth = 0;

    // The batch file being edited, or exactly "Untitled".
    const std::string& batchFileName() const { return batchFileName_; }
    // The list changed since it was last started empty, opened or saved.
    bool modified() const { return modified_; }
    // "Batch Editor (Untitled)" or "Batch Editor (" + file-name part + ")".
    std::string Caption() const;
    Signal<> OnCaptionChange;

    // Once, at start-up: untitled, unchanged, and the batch list's width.
    void FormCreate();
    // Deletes every entry, last to first.
    void ClearBatchList();
    // An empty, untitled, unchanged list: what every opening starts from.
    void StartEmpty();

    // Editing. Each marks the list modified, even when it changes nothing.
    // A double click on the focused file adds it; one that is not selected
    // adds nothing, as an empty entry could never run.
    void FileListDblClick();
    // Adds every selected file, top to bottom; the selection stays.
    void SpeedButton4Click();
    // A double click on entry `index` removes exactly it; -1 removes nothing.
    void BatchListDblClick(int index);
    // Removes every selected entry; the others keep their order.
    void SpeedButton3Click();

    // The File menu. A write that fails has been reported by the writer and
    // leaves the name, the caption, currentBatchFile and modified as they were.
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAsMenuClick();
    // "E&xit": asks first when there are unsaved changes.
    void ExitClick();
    // Cancel and the close box: close at once.
    void CancelClick() { Close(); }
    // The help key.
    void F1KeyDown() { desktop_.ShowHelp(kHelpContext); }

private:
    void AddFile(const std::string& name);
    void SetBatchFileName(const std::string& path);
    void Edited() { modified_ = true; }
    // Writes the list to `path`; on success it becomes the current batch file.
    bool WriteTo(const std::string& path);

    Desktop& desktop_;
    std::string& currentBatchFile_;
    std::string batchFileName_ = kUntitled;
    bool modified_ = false;
};

}  // namespace twinfold
