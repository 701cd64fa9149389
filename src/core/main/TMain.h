#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "batch/BatchReport.h"
#include "controls/Signal.h"
#include "controls/TCheckBox.h"
#include "controls/TComboBox.h"
#include "controls/TLabel.h"
#include "desktop/Desktop.h"
#include "listing/TDirectoryListBox.h"
#include "listing/TDriveComboBox.h"
#include "listing/TFileListBox.h"
#include "log/RunLog.h"
#include "platform/Result.h"
#include "settings/SyncOptions.h"
#include "settings/SyncSettings.h"

namespace twinfold {

// The entries of the file-type box, in the order the settings files count.
std::vector<std::string> FileTypeEntries();

namespace sync {
struct PreviewLine;
class DirectoryJob;
struct FileOutcome;
class TreeWalk;
struct WalkDirectory;
}  // namespace sync

class TSyncBox;
class LogList;
class TForm;
class TPreviewbx;
class TDelete;
class TBatchDlg;

// What the main window reaches of the other windows: what a run needs of
// the progress dialog, the preview, the run log and the options, and the
// windows its commands open. Given once, after every window exists and
// before the first command.
struct MainLinks {
    TSyncBox& progress;
    TPreviewbx& preview;
    RunLog log;
    TForm& logWindow;
    SyncOptions& options;
    TForm& optionsWindow;
    TForm& about;
    TBatchDlg& batchEditor;
    TDelete& deleteBox;
};

// The main window: the two panes, the source file list, the check boxes and
// the commands that work on them.
class TMain {
public:
    TMain(Desktop& desktop, std::string programDir);
    TMain(const TMain&) = delete;
    TMain& operator=(const TMain&) = delete;

    void Link(const MainLinks& links) { links_.emplace(links); }

    // The Sync command: the marked files, or with SyncAll the whole tree.
    void SyncBtnClick();
    // Walks the tree below the source pane's selected entry, depth first,
    // post-order, showing every directory in the panes as it comes.
    void Traverse(sync::TreeWalk& walk);
    // Synchronises every file the run's filter admits in one directory of
    // the walk into its counterpart under the run's destination.
    void SyncAllFiles(sync::DirectoryJob& job);
    // The per-file step for file list item `item`; returns the new processed
    // count (unchanged when a cancel stopped the copy).
    int SyncFile(sync::DirectoryJob& job, int item, int processed);
    // A preview: the Sync command decides everything as a run would and
    // changes nothing anywhere; each decision goes to `onPreview` as a line
    // ("copy", "skip" or "fail"), failures without their boxes. The run log
    // is filled as the run would fill it, unless `dryRunLogs` is false.
    bool dryRun = false;
    bool dryRunLogs = true;
    std::function<void(const sync::PreviewLine&)> onPreview;
    // "Preview Sync": the Sync command's preview for the present selection
    // and mode, shown in the preview dialog; the run log is left alone.
    void PreviewSync1Click();

    // Workers that copy whole directories of a walk side by side; 0 copies
    // on this thread, one file after the other. As the machine has cores.
    int syncWorkers;

    // The file-type box and the include/exclude filter. The exclusion pass
    // refreshes the selection summary whenever it removes entries.
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
    void Delete1Click();
    void Rename1Click();
    void MakeDirectorySDClick();
    void MakeDirectoryDDClick();
    void DeleteDirectorySDClick();
    void DeleteDirectoryDDClick();
    // F5: both panes and the file list read the file system again; the
    // files marked before stay marked (all of them with "Select All files").
    // A list that cannot be read is shown as a failure.
    void RefreshClick();

    // True when the last Sync command synchronised nothing: no file was
    // marked, or the person declined to sync a whole tree with files marked.
    bool SyncDeclined() const { return syncDeclined_; }
    // True when the last Sync command ran to its end and nothing in it
    // failed: what its "Successful!" says.
    bool LastSyncComplete() const { return lastSyncComplete_; }

    // True while a Sync command or a batch runs; every other command is
    // refused then.
    bool Running() const { return running_ || batchPhase_ != BatchPhase::Idle; }
    Signal<> OnRunningChange;

    // Settings files: the start-up read, loading and saving.
    std::string DefaultSettingsFile() const { return programDir + "tfoldw.ini"; }
    // Where Load and Save Settings As start: the folder last used by either,
    // at first the program's.
    std::string SettingsFolder() const;
    // The start-up read: moves the panes and sets the check boxes and the
    // file type's entry from the default settings file (creating the file on
    // a first start). Returns what it read, for the Options dialog.
    SyncSettings FormCreate();
    // The stored file type takes effect once the Options dialog has its
    // patterns; a stored "SelectAll" keeps every entry selected.
    void ApplyStartupFileType();
    void LoadSettingsFile(const std::string& path);
    void LoadSettingsClick();
    void SaveDefaultSettings1Click();
    void SaveSettingsAs1Click();
    void SaveSettingsonExitClick();
    void setChunkSizeForm(std::int32_t size);
    // The values the settings files carry, as the windows hold them now.
    SyncSettings CurrentSettings() const;

    // Exit saves when asked to, closes the help and then the window. When
    // the save fails the window stays open after the failure was shown.
    void Exit1Click();
    // What Exit does before the window goes, for the window's close box and
    // Alt+F4 as well; false when the window should stay open.
    bool FormCloseQuery();
    void Options1Click();
    Signal<> OnClose;

    // Menu commands that show other windows.
    void LogFile1Click();
    void About1Click();
    void Contents1Click();

    // Batch editor. Opening it starts an empty, untitled list in the source
    // pane's directory; refused while a Sync command runs.
    void BatchFileEditor1Click();

    Desktop& desktop() { return desktop_; }

    TDriveComboBox DriveComboBox1;
    TDriveComboBox DriveComboBox2;
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
    // The check mark of "Save Settings on Exit".
    TCheckBox SaveSettingsonExit;
    // The window's title: the program's and the name of the settings file
    // read at start-up, loaded or saved as last ("... - tfoldw.ini").
    TLabel Caption;

    std::string programDir;
    std::string sourceRoot;
    std::string currentBatchFile;
    // The window's size as its view last reported it, saved with the
    // settings; the start-up read sets it for the view to open at (0: the
    // window's least size).
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;
    bool batchRunning = false;

private:
    enum : int { kRunOn = 1, kCancelled = 2 };

    struct SyncRun;

    void StartRun(SyncRun& run);
    void EndRun(const std::string& command);
    void SyncSelectedFiles();
    void SyncWholeTree();
    bool CancelRequested();
    bool Cancelled();
    bool KeepGoing();
    bool MovePanesTo(const SyncSettings& settings);
    std::string SelectedSubdirectory() const;
    std::shared_ptr<sync::DirectoryJob> PlanDirectory(sync::WalkDirectory directory);
    void ShowWalkDirectory(const sync::DirectoryJob& job);
    void ReportUnreadableDirectory(const sync::WalkDirectory& directory);
    void ShowRunFailure(const std::string& text, const std::string& detail);
    void ShowOverall(std::uint64_t bytesCopied);
    void LogDirectoryFailed(const sync::WalkDirectory& directory, bool report);
    void LogCompleted(sync::DirectoryJob& job, std::size_t first);
    void LogOutcome(sync::DirectoryJob& job, std::size_t k, const sync::FileOutcome& outcome);
    void Record(LogList& list, const std::string& source);
    static sync::PreviewLine PreviewOf(const sync::FileOutcome& outcome, const std::string& source,
                                       const std::string& target, std::uint64_t bytes);
    void Preview(const sync::PreviewLine& line);
    bool CustomFilterChosen() const;
    void SetRunning(bool running);
    // Selects the file type's entry and applies it to a freshly read list,
    // so that nothing an earlier type or exclusion pass left stays behind.
    void ApplyFileType(std::int32_t position);
    // The exclusion pass without the summary; true when it removed entries.
    bool RemoveExcludedFiles();
    // Writes every key to the default settings file; a failure has been
    // shown when it comes back.
    Status SaveDefaultSettings();
    void ShowSettingsFile(const std::string& path);

    TSyncBox& SyncBox() { return links_->progress; }
    SyncOptions& Options() { return links_->options; }
    const SyncOptions& Options() const { return links_->options; }

    Desktop& desktop_;
    std::optional<MainLinks> links_;
    // The destination directory of the walk in progress.
    std::string runDestination_;
    bool running_ = false;
    // The run in progress, for the steps that need its settings.
    SyncRun* run_ = nullptr;
    // While the walk shows a directory, its file list is already filtered.
    bool showingWalk_ = false;
    bool syncDeclined_ = false;
    bool lastSyncComplete_ = false;
    // The window's preview shows its lines instead of a closing message.
    bool quietSuccess_ = false;

    // Batch runner: runs the settings files of a batch file one after the
    // other through the Sync command.
public:
    // Asks for a batch file (the batch Open dialog) and runs it; a cancelled
    // dialog does nothing.
    void RunBatchFile1Click();
    // Runs every entry of `batchFile`, then shows "Batch Process Sync
    // Successful!" when every entry synchronised everything, else an error
    // box that says what went wrong (the file could not be read or lists
    // nothing, or how many entries did not sync completely). A run already
    // in progress makes it do nothing; a stop request of the desktop ends it
    // before the next entry, without a closing message.
    void ExecuteBatch(const std::string& batchFile);
    // Called once a batch's entries are done, before its closing message:
    // the console writes its run-log files here. False when that failed,
    // which the closing message then says.
    std::function<bool()> onBatchEnd;
    // The entries of the last batch run, how many were skipped or cancelled.
    const BatchReport& LastBatch() const { return lastBatch_; }

private:
    // Between entries every command is refused; while the runner's own Sync
    // command runs, the ordinary running state refuses them.
    enum class BatchPhase { Idle, BetweenEntries, Syncing };
    struct BatchEntryPaths {
        std::string source;
        std::string dest;
    };

    void RunBatchEntry(const std::string& entry);
    bool BatchEntryValid(const std::string& entry, const BatchEntryPaths& paths);
    bool ApplyBatchEntrySettings(const SyncSettings& settings);
    bool EnterBatchDirectories(const BatchEntryPaths& paths);
    void SyncBatchEntry(bool selectAll);
    void SetBatchPhase(BatchPhase phase);
    void EndBatch(const std::string& batchFile);

    BatchPhase batchPhase_ = BatchPhase::Idle;
    BatchReport lastBatch_;
    std::string settingsFolder_;
    // The window's own handlers on its controls.
    Connections handlers_;
};

}  // namespace twinfold
