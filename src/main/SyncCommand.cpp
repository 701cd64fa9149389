// The Sync command, the directory walk and the per-file copy decision.
#include <string>

#include "listing/Paths.h"
#include "log/TLogFilebx.h"
#include "main/TMain.h"
#include "platform/FileSystem.h"
#include "settings/TOptionsbx.h"
#include "sync/FmxUtils.h"
#include "sync/TSyncBox.h"

namespace twinfold {
namespace {

// Lowers the running flag on every way out of a command.
class RunGuard {
public:
    explicit RunGuard(std::function<void(bool)> set) : set_(std::move(set)) { set_(true); }
    ~RunGuard() { set_(false); }

private:
    std::function<void(bool)> set_;
};

// Maximum first, as the minimum is always 0 and the maximum never negative.
void StartGauge(TSyncBox& box, int files) {
    (void)box.Gauge.SetMaxValue(files);
    (void)box.Gauge.SetMinValue(0);
    box.Gauge.SetProgress(0);
}

}  // namespace

void TMain::SyncBtnClick() {
    // During a batch only the runner itself may start a synchronisation.
    if (running_ || batchPhase_ == BatchPhase::BetweenEntries) return;
    RunGuard guard([this](bool running) { SetRunning(running); });
    SyncBox().SetModalResult(kRunOn);
    if (SyncAll.Checked()) {
        SyncWholeTree();
    } else {
        SyncSelectedFiles();
    }
}

bool TMain::CancelRequested() {
    desktop_.ProcessMessages();
    return SyncBox().ModalResult() == kCancelled;
}

void TMain::SyncSelectedFiles() {
    if (FileList.SelCount() == 0) {
        desktop_.Message("No items selected to sync!");
        return;
    }
    TSyncBox& box = SyncBox();
    StartGauge(box, FileList.SelCount());
    box.SyncDirFrom.SetCaption(SourceDirListBox.Directory());
    box.SyncDirTo.SetCaption(DestDirListBox.Directory());
    box.Show();
    box.Repaint();

    const std::string sourceDir = SourceDirListBox.Directory();
    const std::string destDir = DestDirListBox.Directory();
    const int count = FileList.Count();
    int processed = 0;
    for (int i = 0; i < count; ++i) {
        box.SetModalResult(kRunOn);
        if (CancelRequested()) {
            box.Close();
            desktop_.Message("Operation Canceled!");
            return;
        }
        if (FileList.Selected(i)) processed = SyncFile(sourceDir, i, destDir, processed);
    }
    if (!batchRunning) desktop_.Message("File Sync Successful!");
    box.Close();
}

void TMain::SyncWholeTree() {
    if (FileList.SelCount() > 0 &&
        !desktop_.Warning("You have files selected and Sync All is checked. All files will be "
                          "copied...Do you wish to continue?")) {
        return;
    }
    sourceRoot = SourceDirListBox.Directory();
    runDestination_ = DestDirListBox.Directory();
    StartWalkAtCurrentDirectory();
    Status walked = Traverse(SourceDirListBox);
    SyncBox().Close();
    Status restored = SourceDirListBox.SetDirectory(sourceRoot);
    // A directory that vanished under the walk ends it with its own words.
    Status failed = !walked.ok() ? walked : restored;
    if (!failed.ok()) {
        desktop_.Failure(failed.error().message);
    } else if (SyncBox().ModalResult() == kCancelled) {
        desktop_.Message("Operation Canceled!");
    } else if (!batchRunning) {
        desktop_.Message("Directory Sync Successful!");
    }
}

// An entry above the current directory would start the walk outside the
// source root, where relative paths mean nothing.
void TMain::StartWalkAtCurrentDirectory() {
    int current = SourceDirListBox.CurrentIndex();
    if (SourceDirListBox.ItemIndex() < current) SourceDirListBox.SetItemIndex(current);
}

Status TMain::Traverse(TDirectoryListBox& pane) {
    if (Status opened = pane.OpenSelected(); !opened.ok()) return opened;
    const int first = pane.ItemIndex() + 1;
    const int count = pane.Count();
    for (int i = first; i < count; ++i) {
        if (CancelRequested()) return Ok();
        if (i == pane.Count()) continue;
        // A destination inside the source tree is never copied into itself.
        if (platform::IsSameEntry(pane.EntryPath(i), runDestination_)) continue;
        pane.SetItemIndex(i);
        if (Status walked = Traverse(pane); !walked.ok()) return walked;
        if (SyncBox().ModalResult() == kCancelled) return Ok();
    }
    if (CancelRequested()) return Ok();
    TSyncBox& box = SyncBox();
    StartGauge(box, FileList.Count());
    box.Show();
    if (Status synced = SyncAllFiles(pane); !synced.ok()) return synced;
    if (pane.ItemIndex() > 0) pane.SetItemIndex(pane.ItemIndex() - 1);
    return pane.OpenSelected();
}

Status TMain::SyncAllFiles(TDirectoryListBox& pane) {
    const std::string root = runDestination_;
    std::string relative =
        pane.Directory().substr(std::min(sourceRoot.size(), pane.Directory().size()));
    if (!relative.empty() && relative.front() != platform::kSeparator) {
        relative.insert(relative.begin(), platform::kSeparator);
    }
    std::string target;
    if (!root.empty() && root.back() == platform::kSeparator) {
        target = root.substr(0, root.size() - 1) +
                 (relative.empty() ? std::string(1, platform::kSeparator) : relative);
    } else {
        target = root + relative;
    }
    MakeDirectoryPath(target);
    // A file in the way would make the pane list its parent instead.
    if (!IsDirectory(target) || !DestDirListBox.SetDirectory(target).ok()) {
        LogDirectoryFailed(target);
        return Ok();
    }
    TSyncBox& box = SyncBox();
    box.SyncDirFrom.SetCaption(pane.Directory());
    box.SyncDirTo.SetCaption(DestDirListBox.Directory());
    box.Repaint();

    const std::string sourceDir = pane.Directory();
    const std::string destDir = DestDirListBox.Directory();
    const int count = FileList.Count();
    int processed = 0;
    for (int k = 0; k < count; ++k) {
        box.SetModalResult(kRunOn);
        if (CancelRequested()) break;
        processed = SyncFile(sourceDir, k, destDir, processed);
        box.SetFocus();
        box.FocusCancel();
    }
    return DestDirListBox.SetDirectory(root);
}

// A destination directory that cannot be made costs only its own files.
void TMain::LogDirectoryFailed(const std::string& target) {
    desktop_.Failure("Could not create directory: " + target + ".  Files not copied!");
    for (const auto& item : FileList.Items()) {
        LogFile().FileFailed.Add(
            platform::DisplayPath(JoinPath(SourceDirListBox.Directory(), item.text)));
    }
}

int TMain::SyncFile(const std::string& sourceDir, int index, const std::string& destDir,
                    int processed) {
    FileList.SetItemIndex(index);
    const std::string& name = FileList.Items()[index].text;
    const std::string source = JoinPath(sourceDir, name);
    const std::int64_t sourceStamp = SourceStamp(source);
    const std::int64_t destStamp = DestinationStamp(JoinPath(destDir, ExtractFileName(name)));
    TSyncBox& box = SyncBox();
    box.FileName.SetCaption(ExtractFileName(source));
    const std::string entry = platform::DisplayPath(source);
    if (destStamp < sourceStamp) {
        box.Process.SetCaption("Copying");
        if (BufferedCopyFile(source, destDir, Options().CopyBufferSize(), desktop_)) {
            LogFile().FileSuccess.Add(entry);
        } else {
            LogFile().FileFailed.Add(entry);
        }
    } else {
        box.Process.SetCaption("Skipping");
        LogFile().FileOld.Add(entry);
    }
    box.Gauge.SetProgress(processed + 1);
    return processed + 1;
}

}  // namespace twinfold
