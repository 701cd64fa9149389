#include "batch/TBatchDlg.h"

#include "batch/BatchFile.h"
#include "listing/Paths.h"
#include "platform/FileSystem.h"

namespace twinfold {
namespace {

constexpr const char* kBatchFilter = "TFold Batch (*.tfw)|*.tfw|All Files (*.*)|*.*";
constexpr int kScrollWidth = 400;
const char* const kClearChanges = "Do you wish clear current changes?";
const char* const kExitChanged = "The batch list has changed. Save it before closing?";

FileDialog BatchDialog(const char* title, const std::string& currentBatchFile) {
    FileDialog dialog;
    dialog.title = title;
    dialog.filter = kBatchFilter;
    dialog.defaultExtension = "tfw";
    dialog.initialDirectory = ExtractFilePath(currentBatchFile);
    dialog.fileName = ExtractFileName(currentBatchFile);
    return dialog;
}

}  // namespace

FileDialog BatchOpenDialog(const std::string& currentBatchFile) {
    FileDialog dialog = BatchDialog("Open", currentBatchFile);
    dialog.mustExist = true;
    return dialog;
}

FileDialog BatchSaveAsDialog(const std::string& currentBatchFile) {
    FileDialog dialog = BatchDialog("Save As", currentBatchFile);
    dialog.confirmOverwrite = true;
    return dialog;
}

TBatchDlg::TBatchDlg(Desktop& desktop, std::string& currentBatchFile)
    : desktop_(desktop), currentBatchFile_(currentBatchFile) {
    SDirList.SetFileList(&FileList);
    SDirList.SetDirLabel(&SourceLabel);
    DriveComboBox1.SetDirList(&SDirList);
    FileList.MultiSelect = true;
    FileList.ShowGlyphs = true;
    FileList.SetDesktop(&desktop_);
    FilterComboBox1.SetFileList(&FileList);
    // Chooses the first entry and gives the file list its mask "*.ini".
    (void)FilterComboBox1.SetFilter(kIniFilter);
    BatchList.SetMultiSelect(true);
    FormCreate();
}

std::string TBatchDlg::Caption() const {
    if (batchFileName_ == kUntitled) return "Batch Editor (Untitled)";
    return "Batch Editor (" + ExtractFileName(batchFileName_) + ")";
}

void TBatchDlg::FormCreate() {
    modified_ = false;
    SetBatchFileName(kUntitled);
    BatchListScrollWidth = kScrollWidth;
}

void TBatchDlg::ClearBatchList() {
    for (int i = BatchList.Count() - 1; i >= 0; --i) BatchList.Delete(i);
}

void TBatchDlg::StartEmpty() {
    ClearBatchList();
    SetBatchFileName(kUntitled);
    modified_ = false;
}

// Recorded as the person sees paths; on Linux that keeps their case, which
// is what makes the entry name the file.
void TBatchDlg::AddFile(const std::string& name) {
    BatchList.Add(platform::DisplayPath(JoinPath(SDirList.Directory(), name)));
}

void TBatchDlg::FileListDblClick() {
    const int focused = FileList.ItemIndex();
    if (FileList.Selected(focused))
        AddFile(FileList.Items()[static_cast<std::size_t>(focused)].text);
    Edited();
}

void TBatchDlg::SpeedButton4Click() {
    for (int i = 0; i < FileList.Count(); ++i) {
        if (FileList.Selected(i)) AddFile(FileList.Items()[static_cast<std::size_t>(i)].text);
    }
    Edited();
}

void TBatchDlg::BatchListDblClick(int index) {
    if (index >= 0 && index < BatchList.Count()) BatchList.Delete(index);
    Edited();
}

void TBatchDlg::SpeedButton3Click() {
    BatchList.DeleteSelected();
    Edited();
}

void TBatchDlg::New1Click() {
    if (modified_ && !desktop_.Confirm(kClearChanges)) return;
    StartEmpty();
}

void TBatchDlg::Open1Click() {
    auto chosen = desktop_.OpenFile(BatchOpenDialog(currentBatchFile_));
    if (!chosen) return;
    ClearBatchList();
    BatchList.Append(ReadBatchFile(*chosen));
    SetBatchFileName(*chosen);
    currentBatchFile_ = *chosen;
    modified_ = false;
}

void TBatchDlg::Save1Click() {
    if (batchFileName_ == kUntitled) return SaveAsMenuClick();
    WriteTo(batchFileName_);
}

void TBatchDlg::SaveAsMenuClick() {
    auto chosen = desktop_.SaveFile(BatchSaveAsDialog(currentBatchFile_));
    if (chosen && WriteTo(*chosen)) SetBatchFileName(*chosen);
}

bool TBatchDlg::WriteTo(const std::string& path) {
    if (Status written = WriteBatchFile(path, BatchList.Items()); !written) {
        desktop_.Failure(written.error().message);
        return false;
    }
    currentBatchFile_ = path;
    modified_ = false;
    return true;
}

void TBatchDlg::ExitClick() {
    if (modified_) {
        switch (desktop_.AskToSave(kExitChanged)) {
            case SaveChoice::Cancel:
                return;
            case SaveChoice::Save:
                Save1Click();
                // A save that was cancelled or failed keeps the changes open.
                if (modified_) return;
                break;
            case SaveChoice::Discard:
                break;
        }
    }
    Close();
}

void TBatchDlg::SetBatchFileName(const std::string& path) {
    batchFileName_ = path;
    OnCaptionChange();
}

}  // namespace twinfold
