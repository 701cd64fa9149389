#pragma once

#include <cstdint>
#include <string>

#include "controls/Signal.h"
#include "controls/TCheckBox.h"
#include "controls/TComboBox.h"
#include "controls/TLabel.h"
#include "desktop/Desktop.h"
#include "listing/TDirectoryListBox.h"
#include "listing/TFileListBox.h"
#include "platform/Result.h"

namespace twinfold {

// The entries of the file-type box, in the order the settings files count.
std::vector<std::string> FileTypeEntries();

class TSyncBox;
class TLogFilebx;
class TOptionsbx;
class TDelete;

// The main window: the two panes, the source file list, the check boxes and
// the commands that work on them. Other windows are reached through links
// set once at start-up.
class TMain {
public:
    TMain(Desktop& desktop, std::string programDir);
    TMain(const TMain&) = delete;
    TMain& operator=(const TMain&) = delete;

    void Link(TSyncBox& syncBox, TLogFilebx& logFile, TOptionsbx& options);

    // The Sync command: the marked files, or with SyncAll the whole tree.
    void SyncBtnClick();
    // Walks the tree below `pane`'s selected entry, depth first, post-order.
    Status Traverse(TDirectoryListBox& pane);
    // Synchronises every listed file of `pane`'s directory into its
    // counterpart under the run's destination.
    Status SyncAllFiles(TDirectoryListBox& pane);
    // The per-file step for item `index`; returns the new processed count.
    int SyncFile(const std::string& sourceDir, int index, const std::string& destDir,
                 int processed);

    // The file-type box and the include/exclude filter.
    void EditFilterChange();
    void FilterFileList();
    void FileListChange();

    // The selection summary and the commands that mark files.
    void FileListClick();
    void SelectAll();
    void SelectAll1Click();
    void Cancel1Click();
    void cbSelectAllClick();
    void SyncAllClick();

    // File and directory commands. Each asks first, acts on the file system
    // and reloads the list it changed; none runs while a Sync command runs.
    // Read-only files are skipped without a word.
    void Link(TDelete& deleteBox);
    void Delete1Click();
    void Rename1Click();
    void MakeDirectorySDClick();
    void MakeDirectoryDDClick();
    void DeleteDirectorySDClick();
    void DeleteDirectoryDDClick();

    // True while a Sync command runs; every other command is refused then.
    bool Running() const { return running_; }
    Signal<> OnRunningChange;

    Desktop& desktop() { return desktop_; }
    TSyncBox& SyncBox() { return *syncBox_; }
    TLogFilebx& LogFile() { return *logFile_; }
    TOptionsbx& Options() { return *options_; }

    TLabel SourceLabel;
    TLabel DestLabel;
    TDirectoryListBox SourceDirListBox;
    TDirectoryListBox DestDirListBox;
    TFileListBox FileList;
    TDirectoryListBox ExcludeDirListBox;
    TFileListBox ExcludeFiles;
    TCheckBox SyncAll;
    TCheckBox cbSelectAll;
    TComboBox EditFilter;
    TLabel selsize;
    TLabel FileCount;

    std::string programDir;
    std::string sourceRoot;
    std::string currentBatchFile;
    bool batchRunning = false;

private:
    enum : int { kRunOn = 1, kCancelled = 2 };

    void SyncSelectedFiles();
    void SyncWholeTree();
    bool CancelRequested();
    void StartWalkAtCurrentDirectory();
    void LogDirectoryFailed(const std::string& target);
    void SetRunning(bool running);

    Desktop& desktop_;
    TSyncBox* syncBox_ = nullptr;
    TLogFilebx* logFile_ = nullptr;
    TOptionsbx* options_ = nullptr;
    TDelete* deleteBox_ = nullptr;
    // The destination directory of the walk in progress.
    std::string runDestination_;
    bool running_ = false;
};

}  // namespace twinfold
