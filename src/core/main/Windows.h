#pragma once

#include <string>

#include "about/TAboutBox.h"
#include "about/TSpecialBox.h"
#include "batch/TBatchDlg.h"
#include "desktop/Desktop.h"
#include "fileops/TDelete.h"
#include "log/TLogFilebx.h"
#include "main/TMain.h"
#include "preview/TPreviewbx.h"
#include "settings/TOptionsbx.h"
#include "sync/TSyncBox.h"

namespace twinfold {

// Every window of the program, created once each in start-up order (the
// main window first) and linked to each other; all live until the end.
class Windows {
public:
    // `dryRun`: every Sync is a preview, and the start-up writes no settings
    // file either.
    Windows(Desktop& desktop, std::string programDir, bool dryRun = false);
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    TMain main;
    TAboutBox about;
    TBatchDlg batchEditor;
    TDelete deleteBox;
    TSpecialBox special;
    TSyncBox syncBox;
    TLogFilebx logFile;
    TOptionsbx options;
    TPreviewbx preview;

private:
    Connection optionsCommitted_;
};

}  // namespace twinfold
