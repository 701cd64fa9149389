// The batch runner: every settings file of a batch file, one Sync command each.
#include <string>

#include "batch/BatchFile.h"
#include "batch/TBatchDlg.h"
#include "listing/Paths.h"
#include "main/RunEnding.h"
#include "main/TMain.h"
#include "platform/FileSystem.h"
#include "sync/TSyncBox.h"
#include "util/ScopeExit.h"

namespace twinfold {
namespace {

// What a listed file without the key reads as; only a missing key gives it.
constexpr const char* kInvalid = "Invalid";

// A directory the panes could move to: it exists and can be entered.
bool CanEnter(const std::string& path) { return IsDirectory(path) && SplitPathInput(path).ok(); }

std::string DirectoryInvalidText(const std::string& source, const std::string& dest) {
    return "The source: " + platform::DisplayPath(source) +
           " or dest: " + platform::DisplayPath(dest) +
           " dir is invalid...process will be skipped!";
}

}  // namespace

void TMain::RunBatchFile1Click() {
    if (Running()) return;
    if (auto chosen = desktop_.OpenFile(BatchOpenDialog(currentBatchFile))) ExecuteBatch(*chosen);
}

void TMain::ExecuteBatch(const std::string& batchFile) {
    if (Running()) return;
    SetBatchPhase(BatchPhase::BetweenEntries);
    const ScopeExit idle([this] { SetBatchPhase(BatchPhase::Idle); });
    batchRunning = true;
    currentBatchFile = batchFile;
    lastBatch_ = {};
    auto list = ReadBatchList(batchFile);
    if (!list) lastBatch_.unreadable = list.error();
    const std::vector<std::string> entries =
        list ? std::move(list).value() : std::vector<std::string>();
    lastBatch_.entries = static_cast<int>(entries.size());
    for (const auto& entry : entries) {
        if (desktop_.StopRequested()) break;
        RunBatchEntry(entry);
    }
    lastBatch_.interrupted = desktop_.StopRequested();
    if (onBatchEnd && !onBatchEnd()) lastBatch_.logsUnwritten = true;
    EndBatch(batchFile);
    batchRunning = false;
}

// "Successful!" only when every listed entry synchronised everything; a stop
// request ends without a closing message, as the person asked.
void TMain::EndBatch(const std::string& batchFile) {
    if (lastBatch_.interrupted) return;
    if (lastBatch_.unreadable) {
        desktop_.Failure("Cannot read the batch file " + batchFile + ": " +
                         lastBatch_.unreadable->message);
    } else if (lastBatch_.entries == 0) {
        desktop_.Failure("The batch file " + batchFile + " lists no settings files.");
    } else if (lastBatch_.Clean()) {
        desktop_.Message("Batch Process Sync Successful!");
    } else {
        desktop_.Failure(UnfinishedBatchText(lastBatch_));
    }
}

void TMain::RunBatchEntry(const std::string& entry) {
    SyncSettings defaults;
    defaults.SourceDir = defaults.DestDir = kInvalid;
    const SyncSettings settings = ReadSyncSettings(TIniFile(entry), defaults);
    const BatchEntryPaths paths{settings.SourceDir, settings.DestDir};
    const bool runs = BatchEntryValid(entry, paths);
    // A skipped entry still leaves its settings in the windows.
    const bool selectAll = ApplyBatchEntrySettings(settings);
    if (!runs || !EnterBatchDirectories(paths)) {
        ++lastBatch_.skipped;
        ++lastBatch_.incomplete;
        return;
    }
    SyncBatchEntry(selectAll);
}

bool TMain::BatchEntryValid(const std::string& entry, const BatchEntryPaths& paths) {
    if (paths.source == kInvalid || paths.dest == kInvalid) {
        desktop_.Information("The ini file: " + entry + " is invalid...process will be skipped!");
        return false;
    }
    // A path ending in "/" earns no exemption: a root that cannot be entered
    // would leave the panes where the previous entry put them.
    if (CanEnter(paths.source) && CanEnter(paths.dest)) return true;
    desktop_.Information(DirectoryInvalidText(paths.source, paths.dest));
    return false;
}

// Returns the entry's select-all flag. The entry's own patterns are in place
// before its file type lists anything, so its include and exclude patterns
// decide its files whatever the entry before it left behind.
bool TMain::ApplyBatchEntrySettings(const SyncSettings& settings) {
    Options().Apply(settings);
    ApplyFileType(settings.Filetype);
    SyncAll.SetChecked(settings.SyncAll);
    return settings.SelectAll;
}

// Checked again when the panes move: the directory may have gone since.
bool TMain::EnterBatchDirectories(const BatchEntryPaths& paths) {
    if (SourceDirListBox.SetDirectory(paths.source).ok() &&
        DestDirListBox.SetDirectory(paths.dest).ok()) {
        return true;
    }
    desktop_.Information(DirectoryInvalidText(paths.source, paths.dest));
    return false;
}

void TMain::SyncBatchEntry(bool selectAll) {
    cbSelectAll.SetChecked(selectAll);
    SetBatchPhase(BatchPhase::Syncing);
    SyncBtnClick();
    SetBatchPhase(BatchPhase::BetweenEntries);
    if (SyncBox().ModalResult() == TSyncBox::kCancelled) ++lastBatch_.cancelled;
    // An entry that synchronised nothing did not do what it was meant to.
    if (SyncDeclined()) ++lastBatch_.skipped;
    if (!LastSyncComplete()) ++lastBatch_.incomplete;
}

}  // namespace twinfold
