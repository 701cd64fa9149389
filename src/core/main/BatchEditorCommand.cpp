// Opening the batch editor from the main window's "&Batch" menu.
#include "batch/TBatchDlg.h"
#include "main/TMain.h"

namespace twinfold {

void TMain::BatchFileEditor1Click() {
    if (running_) return;
    TBatchDlg& editor = links_->batchEditor;
    const bool sameDirectory = editor.SDirList.Directory() == SourceDirListBox.Directory();
    Status moved = editor.SDirList.SetDirectory(SourceDirListBox.Directory());
    // The editor was hidden since its last use: settings files saved
    // meanwhile must show up even where its directory did not change.
    if (moved && sameDirectory) moved = editor.SDirList.Reload();
    if (moved && sameDirectory) moved = editor.FileList.Reload();
    if (!moved) {
        desktop_.Failure(moved.error().message);
        return;
    }
    editor.StartEmpty();
    editor.ShowModal();
}

}  // namespace twinfold
