#include "main/TMain.h"

#include "controls/TForm.h"
#include "sync/WorkerPool.h"

#include <utility>

namespace twinfold {
namespace {

const TFileType kAllFileClasses{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem,
                                TFileAttr::ftNormal};

}  // namespace

TMain::TMain(Desktop& desktop, std::string programDirectory)
    : syncWorkers(sync::WorkerPool::DefaultSize()),
      programDir(std::move(programDirectory)),
      desktop_(desktop) {
    FileList.MultiSelect = true;
    FileList.ShowGlyphs = true;
    FileList.SetDesktop(&desktop_);
    // The start-up read moves the panes next and reports a directory it
    // cannot enter; these lists show the current directory until then.
    (void)FileList.SetFileType(kAllFileClasses);
    (void)ExcludeFiles.SetFileType(kAllFileClasses);
    SourceDirListBox.SetDirLabel(&SourceLabel);
    SourceDirListBox.SetFileList(&FileList);
    DestDirListBox.SetDirLabel(&DestLabel);
    DriveComboBox1.SetDirList(&SourceDirListBox);
    DriveComboBox2.SetDirList(&DestDirListBox);
    ExcludeDirListBox.SetFileList(&ExcludeFiles);
    EditFilter.SetItems(FileTypeEntries());
    selsize.SetCaption("Selected Size: 0 KBytes");
    FileCount.SetCaption("Total files Selected: ");
    SaveSettingsonExit.SetChecked(true);
    Caption.SetCaption(kAppTitle);
    currentBatchFile = programDir + "tfoldw.tfw";
    handlers_ += EditFilter.OnChange.Connect([this] { EditFilterChange(); });
    handlers_ += FileList.OnChange.Connect([this] { FileListChange(); });
    handlers_ += FileList.OnClick.Connect([this] { FileListClick(); });
    handlers_ += cbSelectAll.OnClick.Connect([this] { cbSelectAllClick(); });
    handlers_ += SyncAll.OnClick.Connect([this] { SyncAllClick(); });
}

void TMain::LogFile1Click() {
    if (!Running()) links_->logWindow.ShowModal();
}

void TMain::About1Click() {
    if (!Running()) links_->about.Show();
}

void TMain::Contents1Click() { desktop_.ShowHelp(0); }

// Views hear of a change of Running() only, not of each flag behind it.
void TMain::SetRunning(bool running) {
    const bool was = Running();
    running_ = running;
    if (Running() != was) OnRunningChange();
}

void TMain::SetBatchPhase(BatchPhase phase) {
    const bool was = Running();
    batchPhase_ = phase;
    if (Running() != was) OnRunningChange();
}

}  // namespace twinfold
