// The Sync command, the directory walk and the per-file copy decision. The
// engine (src/sync) reads and writes through open directories; this file
// drives the panes, the progress dialog and the log from what it reports.
#include <chrono>
#include <memory>
#include <new>
#include <string>

#include "listing/MaskFilter.h"
#include "listing/Paths.h"
#include "log/TLogFilebx.h"
#include "main/TMain.h"
#include "platform/FileSystem.h"
#include "platform/PendingFile.h"
#include "settings/TOptionsbx.h"
#include "sync/FmxUtils.h"
#include "sync/TSyncBox.h"
#include "sync/TreeWalk.h"

namespace twinfold {
namespace {

using Clock = std::chrono::steady_clock;

// During a long copy the dialog paints and answers no more often than this.
constexpr auto kCopyPumpInterval = std::chrono::milliseconds(50);

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

// What one run needs that does not change while it goes on: the copy's
// settings and buffer, and the filter its file lists are made with.
struct TMain::SyncRun {
    sync::CopySettings copy;
    std::unique_ptr<char[]> buffer;
    std::string mask;
    std::optional<std::string> exclude;

    std::span<char> Buffer() { return {buffer.get(), copy.bufferSize}; }
};

void TMain::SyncBtnClick() {
    // During a batch only the runner itself may start a synchronisation.
    if (running_ || batchPhase_ == BatchPhase::BetweenEntries) return;
    RunGuard guard([this](bool running) { SetRunning(running); });
    SyncBox().SetModalResult(kRunOn);
    SyncRun run = StartRun();
    run_ = &run;
    if (SyncAll.Checked()) {
        SyncWholeTree();
    } else {
        SyncSelectedFiles();
    }
    run_ = nullptr;
}

TMain::SyncRun TMain::StartRun() {
    SyncRun run;
    const std::int32_t size = Options().CopyBufferSize;
    run.copy.bufferSize = static_cast<std::size_t>(size > 0 ? size : kDefaultCopyBufferSize);
    run.buffer.reset(new (std::nothrow) char[run.copy.bufferSize]);
    if (!run.buffer) {
        run.copy.bufferSize = kDefaultCopyBufferSize;
        run.buffer = std::make_unique<char[]>(run.copy.bufferSize);
    }
    run.copy.creationMask = platform::CreationMask();
    run.mask = FileList.Mask();
    if (CustomFilterChosen()) run.exclude = Options().excludeFilters;
    return run;
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
    auto source = platform::DirectoryHandle::Open(sourceDir);
    auto dest = platform::DirectoryHandle::Open(destDir);
    const sync::Place place{source ? &source.value() : nullptr, sourceDir,
                            dest ? &dest.value() : nullptr,     destDir,
                            source ? &source.value() : nullptr, ""};
    const int count = FileList.Count();
    int processed = 0;
    for (int i = 0; i < count; ++i) {
        box.SetModalResult(kRunOn);
        if (CancelRequested()) {
            box.Close();
            desktop_.Message("Operation Canceled!");
            return;
        }
        if (!FileList.Selected(i)) continue;
        processed = SyncFile(place, nullptr, i, processed);
        // A cancel confirmed during the copy stopped it; nothing more runs.
        if (box.ModalResult() == kCancelled) {
            desktop_.Message("Operation Canceled!");
            return;
        }
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
    auto walk = sync::TreeWalk::Start(sourceRoot, runDestination_, SelectedSubdirectory());
    if (walk) Traverse(walk.value());
    SyncBox().Close();
    Status restored = SourceDirListBox.SetDirectory(sourceRoot);
    Status back = DestDirListBox.SetDirectory(runDestination_);
    // A source root that cannot be read ends the run with its own words.
    Status failed = !walk ? Status(walk.error()) : !restored.ok() ? restored : back;
    if (!failed.ok()) {
        desktop_.Message(failed.error().message);
    } else if (SyncBox().ModalResult() == kCancelled) {
        desktop_.Message("Operation Canceled!");
    } else if (!batchRunning) {
        desktop_.Message("Directory Sync Successful!");
    }
}

// The subdirectory selected but not opened in the source pane, which the walk
// then covers alone. An entry above the current directory would start the
// walk outside the source root, where relative paths mean nothing: the walk
// starts at the current directory instead.
std::string TMain::SelectedSubdirectory() const {
    const int selected = SourceDirListBox.ItemIndex();
    if (selected <= SourceDirListBox.CurrentIndex()) return {};
    return SourceDirListBox.Items()[static_cast<std::size_t>(selected)].text;
}

void TMain::Traverse(sync::TreeWalk& walk) {
    for (;;) {
        // Messages run before every subdirectory position and before each
        // directory's own files.
        auto directory = walk.Next([this] { return !CancelRequested(); });
        if (!directory || SyncBox().ModalResult() == kCancelled) return;
        if (CancelRequested()) return;
        SyncAllFiles(*directory);
        if (SyncBox().ModalResult() == kCancelled) return;
    }
}

void TMain::SyncAllFiles(sync::WalkDirectory& directory) {
    using State = sync::WalkDirectory::State;
    if (directory.state == State::SourceUnreadable) {
        ReportUnreadableDirectory(directory);
        return;
    }
    ShowWalkDirectory(directory);
    TSyncBox& box = SyncBox();
    StartGauge(box, FileList.Count());
    box.Show();
    Result<sync::DestinationIndex> index =
        directory.destination ? sync::DestinationIndex::Read(*directory.destination)
                              : Result<sync::DestinationIndex>(directory.error);
    if (directory.state != State::Ready || !index) {
        LogDirectoryFailed(directory, directory.state != State::DestinationMissing);
        return;
    }
    DestDirListBox.ShowListing(directory.destinationPath, index.value().Subdirectories());
    box.SyncDirFrom.SetCaption(directory.sourcePath);
    box.SyncDirTo.SetCaption(directory.destinationPath);
    box.Repaint();

    const sync::Place place = directory.place();
    const int count = FileList.Count();
    int processed = 0;
    for (int k = 0; k < count; ++k) {
        box.SetModalResult(kRunOn);
        if (CancelRequested()) return;
        processed = SyncFile(place, &index.value(), k, processed);
        if (box.ModalResult() == kCancelled) return;
        box.SetFocus();
        box.FocusCancel();
    }
}

// The panes show the directory as the walk read it, with the run's filter
// applied: the file list holds exactly the files the run synchronises.
void TMain::ShowWalkDirectory(const sync::WalkDirectory& directory) {
    std::vector<std::string> items = NamesMatching(directory.files, run_->mask);
    if (run_->exclude) RemoveExcluded(items, NamesMatching(directory.files, *run_->exclude));
    showingWalk_ = true;
    FileList.ShowItems(directory.sourcePath, items);
    SourceDirListBox.ShowListing(directory.sourcePath, directory.subdirectories);
    showingWalk_ = false;
}

// A source directory that cannot be read is reported once, as a failed copy
// is, and recorded; the walk goes on with the rest.
void TMain::ReportUnreadableDirectory(const sync::WalkDirectory& directory) {
    desktop_.Message(CannotOpenDirectory(directory.sourcePath, directory.error).message);
    LogFile().FileFailed.Add(platform::DisplayPath(directory.sourcePath));
}

// A destination directory that cannot be made costs only the files that
// would have gone into it; below a refused one the files fail silently, as
// the refusal was reported once already.
void TMain::LogDirectoryFailed(const sync::WalkDirectory& directory, bool report) {
    if (report) {
        desktop_.Message("Could not create directory: " + directory.destinationPath +
                         ".  Files not copied!");
    }
    for (const auto& item : FileList.Items()) {
        LogFile().FileFailed.Add(platform::DisplayPath(JoinPath(directory.sourcePath, item.text)));
    }
}

int TMain::SyncFile(const sync::Place& place, const sync::DestinationIndex* index, int item,
                    int processed) {
    FileList.SetItemIndex(item);
    const std::string& name = FileList.Items()[static_cast<std::size_t>(item)].text;
    const std::string source = JoinPath(place.sourcePath, name);
    TSyncBox& box = SyncBox();
    box.FileName.SetCaption(ExtractFileName(source));
    const std::string entry = platform::DisplayPath(source);
    sync::FileDecision decision = sync::DecideFile(place, name, index);
    if (!decision.copy) {
        box.Process.SetCaption("Skipping");
        LogFile().FileOld.Add(entry);
    } else {
        box.Process.SetCaption("Copying");
        const sync::FileOutcome outcome = CopyWithPumps(place, name, decision);
        if (outcome.kind == sync::FileOutcome::Kind::Stopped) return processed;
        if (outcome.kind == sync::FileOutcome::Kind::Copied) {
            LogFile().FileSuccess.Add(entry);
        } else {
            desktop_.Message(
                sync::FailureText(outcome.problem, source, JoinPath(place.destinationPath, name)));
            LogFile().FileFailed.Add(entry);
        }
    }
    box.Gauge.SetProgress(processed + 1);
    return processed + 1;
}

// The dialog paints and answers between chunks of a long copy; a cancel
// confirmed there stops the copy, which then leaves nothing behind.
sync::FileOutcome TMain::CopyWithPumps(const sync::Place& place, const std::string& name,
                                       sync::FileDecision& decision) {
    auto lastPump = Clock::now();
    auto goOn = [this, &lastPump] {
        if (Clock::now() - lastPump < kCopyPumpInterval) return true;
        desktop_.ProcessMessages();
        lastPump = Clock::now();
        return SyncBox().ModalResult() != kCancelled;
    };
    return sync::CopyFile(place, name, decision, run_->copy, run_->Buffer(), goOn);
}

}  // namespace twinfold
