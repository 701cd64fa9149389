#include "main/Windows.h"

#include <utility>

namespace twinfold {

Windows::Windows(Desktop& desktop, std::string programDir, bool dryRun)
    : main(desktop, std::move(programDir)),
      batchEditor(desktop, main.currentBatchFile),
      deleteBox(desktop),
      syncBox(desktop),
      logFile(desktop),
      preview(desktop) {
    main.dryRun = dryRun;
    logFile.saveDirectory = preview.saveDirectory = main.programDir;
    main.Link({syncBox, preview, RunLog{logFile.FileSuccess, logFile.FileOld, logFile.FileFailed},
               logFile, options, options, about, batchEditor, deleteBox});
    deleteBox.Link(main.SourceDirListBox, main.DestDirListBox);
    const SyncSettings stored = main.FormCreate();
    about.LinkSpecial(special);
    options.FormCreate(stored);
    optionsCommitted_ = options.OnCommitted.Connect([this] {
        // The type's own read follows; an unreadable directory lists nothing.
        (void)main.FileList.Reload();
        main.EditFilterChange();
    });
    main.ApplyStartupFileType();
}

}  // namespace twinfold
