// The Sync command, the directory walk and the per-file copy decision. The
// engine (src/sync) reads and writes through open directories; this file
// drives the panes, the progress dialog and the log from what it reports.
#include <chrono>
#include <deque>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "listing/MaskFilter.h"
#include "listing/Paths.h"
#include "main/RunEnding.h"
#include "main/RunProgress.h"
#include "main/TMain.h"
#include "platform/FileSystem.h"
#include "platform/PendingFile.h"
#include "preview/TPreviewbx.h"
#include "sync/DirectoryJob.h"
#include "sync/FmxUtils.h"
#include "sync/TSyncBox.h"
#include "sync/TreeWalk.h"
#include "sync/WorkerPool.h"
#include "util/ScopeExit.h"

namespace twinfold {
namespace {

using Clock = std::chrono::steady_clock;

// During a long copy the dialog paints and answers no more often than this.
constexpr auto kCopyPumpInterval = std::chrono::milliseconds(50);

// Maximum first, as the minimum is always 0 and the maximum never negative:
// neither can be refused.
void StartGauge(TSyncBox& box, int files) {
    (void)box.Gauge.SetMaxValue(files);
    (void)box.Gauge.SetMinValue(0);
    box.Gauge.SetProgress(0);
}

// A pane's place: its directory and the entry selected in it.
struct PanePlace {
    std::string directory;
    int index = -1;
    int count = 0;
};

PanePlace PlaceOf(const TDirectoryListBox& pane) {
    return {pane.Directory(), pane.ItemIndex(), pane.Count()};
}

void PutBack(TDirectoryListBox& pane, const PanePlace& place) {
    if (pane.Directory() != place.directory && !pane.SetDirectory(place.directory)) return;
    // A subdirectory selected but not opened is what the next Sync walks.
    if (pane.Count() == place.count) pane.SetItemIndex(place.index);
}

// What a whole-tree walk moves or drops in the window: the panes' places and
// the marks of the file list, which a walk's last reading of the source
// directory drops. A preview puts them back, so that it leaves the window
// as it found it and the next Sync does what it listed.
struct Marks {
    PanePlace source;
    PanePlace destination;
    std::string directory;
    std::vector<bool> selected;
    int index = -1;
    bool all = false;
};

Marks MarksOf(const TMain& main) {
    Marks marks{PlaceOf(main.SourceDirListBox), PlaceOf(main.DestDirListBox),
                main.FileList.Directory(),      {},
                main.FileList.ItemIndex(),      main.cbSelectAll.Checked()};
    for (int i = 0; i < main.FileList.Count(); ++i)
        marks.selected.push_back(main.FileList.Selected(i));
    return marks;
}

void PutBack(TMain& main, const Marks& marks) {
    PutBack(main.SourceDirListBox, marks.source);
    PutBack(main.DestDirListBox, marks.destination);
    TFileListBox& list = main.FileList;
    if (list.Directory() != marks.directory ||
        static_cast<std::size_t>(list.Count()) != marks.selected.size()) {
        return;  // the list changed under the preview: its marks no longer apply
    }
    for (int i = 0; i < list.Count(); ++i)
        list.SetSelected(i, marks.selected[static_cast<std::size_t>(i)]);
    list.SetItemIndex(marks.index);
    main.FileListClick();
    main.cbSelectAll.SetChecked(marks.all);
}

}  // namespace

// What one run needs that does not change while it goes on: the copy's
// settings and buffer and the filter its file lists are made with. Its
// cancel is the progress dialog's token.
struct TMain::SyncRun {
    sync::CopySettings copy;
    std::unique_ptr<char[]> buffer;
    std::string mask;
    std::optional<std::string> exclude;
    int workers = 0;
    // The run-log lists' lengths when the run began.
    RunCounts logged;
    // The person asked to see no more failure boxes in this run; those not
    // shown are counted for the closing box.
    bool quietFailures = false;
    std::size_t unshownFailures = 0;
    // Hidden subdirectories a whole-tree run left out, for its closing words.
    std::size_t hiddenLeftOut = 0;
    Clock::time_point lastPump = Clock::now();
    // A whole-tree run's overall line.
    bool wholeTree = false;
    RunProgress progress;
    Clock::time_point started = Clock::now();

    std::span<char> Buffer() { return {buffer.get(), copy.bufferSize}; }
};

void TMain::SyncBtnClick() {
    // During a batch only the runner itself may start a synchronisation.
    if (running_ || batchPhase_ == BatchPhase::BetweenEntries) return;
    SetRunning(true);
    const ScopeExit lower([this] { SetRunning(false); });
    SyncBox().SetModalResult(kRunOn);
    syncDeclined_ = false;
    lastSyncComplete_ = false;
    SyncRun run;
    StartRun(run);
    run_ = &run;
    if (SyncAll.Checked()) {
        SyncWholeTree();
    } else {
        SyncSelectedFiles();
    }
    run_ = nullptr;
}

void TMain::StartRun(SyncRun& run) {
    run.copy.bufferSize =
        static_cast<std::size_t>(UsableCopyBufferSize(Options().CopyBufferSize()));
    run.buffer.reset(new (std::nothrow) char[run.copy.bufferSize]);
    if (!run.buffer) {
        run.copy.bufferSize = kDefaultCopyBufferSize;
        run.buffer = std::make_unique<char[]>(run.copy.bufferSize);
    }
    run.copy.creationMask = platform::CreationMask();
    run.copy.dryRun = dryRun;
    run.mask = FileList.Mask();
    if (CustomFilterChosen()) run.exclude = Options().excludeFilters();
    run.workers = syncWorkers;
    run.logged = {links_->log.copied.Count(), links_->log.skipped.Count(),
                  links_->log.failed.Count()};
    SyncBox().Overall.SetCaption("");
}

// The closing message of a run that was not cancelled: "Successful!" only
// when nothing failed. A batch omits that message, never the other; a
// preview tells its failures in its own lines.
void TMain::EndRun(const std::string& command) {
    const RunLog& log = links_->log;
    const RunCounts counts{log.copied.Count() - run_->logged.copied,
                           log.skipped.Count() - run_->logged.skipped,
                           log.failed.Count() - run_->logged.failed};
    lastSyncComplete_ = counts.failed == 0;
    if (quietSuccess_) return;
    const std::string hidden = LeftOutText(run_->hiddenLeftOut, run_->unshownFailures);
    if (!lastSyncComplete_) {
        if (!dryRun) desktop_.Failure(UnfinishedSyncText(command, counts), hidden);
    } else if (!batchRunning) {
        desktop_.Message(command + " Successful!", hidden);
    }
}

bool TMain::CancelRequested() {
    desktop_.ProcessMessages();
    return Cancelled();
}

// The dialog's token stops the workers too, from the moment Cancel is pressed.
bool TMain::Cancelled() { return SyncBox().ModalResult() == kCancelled; }

// While a copy goes on or a worker is waited for, the dialog paints and
// answers no more often than every 50 ms.
bool TMain::KeepGoing() {
    if (Clock::now() - run_->lastPump >= kCopyPumpInterval) {
        desktop_.ProcessMessages();
        run_->lastPump = Clock::now();
    }
    return !Cancelled();
}

void TMain::SyncSelectedFiles() {
    if (FileList.SelCount() == 0) {
        desktop_.Message("No items selected to sync!");
        syncDeclined_ = true;
        return;
    }
    TSyncBox& box = SyncBox();
    StartGauge(box, FileList.SelCount());
    box.SyncDirFrom.SetCaption(SourceDirListBox.Directory());
    box.SyncDirTo.SetCaption(DestDirListBox.Directory());
    box.Show();
    box.Repaint();

    std::vector<std::string> names;
    for (const auto& item : FileList.Items()) names.push_back(item.text);
    sync::DirectoryJob job(
        sync::OpenDirectoryPair(SourceDirListBox.Directory(), DestDirListBox.Directory()),
        std::move(names), run_->copy, SyncBox().Token());
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
        processed = SyncFile(job, i, processed);
        // A cancel confirmed during the copy stopped it; nothing more runs.
        if (Cancelled()) {
            desktop_.Message("Operation Canceled!");
            return;
        }
    }
    EndRun("File Sync");
    box.Close();
}

void TMain::SyncWholeTree() {
    if (FileList.SelCount() > 0 &&
        !desktop_.Warning("You have files selected and Sync All is checked. All files will be "
                          "copied...Do you wish to continue?")) {
        syncDeclined_ = true;
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
        desktop_.Failure(failed.error().message);
    } else if (Cancelled()) {
        desktop_.Message("Operation Canceled!");
    } else {
        EndRun("Directory Sync");
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

// The walk plans directories ahead of what the panes show: with workers,
// each may copy one directory beyond the one shown, while this thread shows
// them, logs them and asks its questions strictly in the walk's order.
void TMain::Traverse(sync::TreeWalk& walk) {
    run_->wholeTree = true;
    std::optional<sync::WorkerPool> pool;
    if (run_->workers > 0) pool.emplace(run_->workers, run_->copy.bufferSize);
    // Few enough that a cancel leaves little done beyond what was shown.
    const std::size_t ahead = 1 + static_cast<std::size_t>(run_->workers);
    std::deque<std::shared_ptr<sync::DirectoryJob>> planned;
    bool walking = true;
    while (!Cancelled()) {
        // Messages run before every subdirectory position and before each
        // directory's own files.
        while (walking && planned.size() < ahead) {
            auto directory = walk.Next([this] { return !CancelRequested(); });
            walking = directory.has_value() && !Cancelled();
            run_->progress.counted = !directory.has_value();
            if (!walking) break;
            run_->hiddenLeftOut += directory->hiddenLeftOut;
            planned.push_back(PlanDirectory(std::move(*directory)));
            run_->progress.planned += planned.back()->items().size();
            if (pool && planned.back()->directory().state == sync::WalkDirectory::State::Ready) {
                pool->Submit(planned.back());
            }
        }
        if (planned.empty() || Cancelled() || CancelRequested()) break;
        auto job = std::move(planned.front());
        planned.pop_front();
        SyncAllFiles(*job);
    }
    // The last word on the overall line, now that every file is known.
    if (run_->progress.counted) SyncBox().Overall.SetCaption(OverallText(run_->progress));
    pool.reset();  // every worker has stopped: what they did is final
    for (const auto& job : planned) {
        LogCompleted(*job, 0);
        job->UndoEmptyDirectories();
    }
}

std::shared_ptr<sync::DirectoryJob> TMain::PlanDirectory(sync::WalkDirectory directory) {
    std::vector<std::string> items = NamesMatching(directory.files, run_->mask);
    if (run_->exclude) RemoveExcluded(items, NamesMatching(directory.files, *run_->exclude));
    return std::make_shared<sync::DirectoryJob>(std::move(directory), std::move(items), run_->copy,
                                                SyncBox().Token());
}

void TMain::SyncAllFiles(sync::DirectoryJob& job) {
    using State = sync::WalkDirectory::State;
    const sync::WalkDirectory& directory = job.directory();
    if (job.SourceUnreadable()) {
        ReportUnreadableDirectory(directory);
        return;
    }
    ShowWalkDirectory(job);
    SyncBox().Overall.SetCaption(OverallText(run_->progress));
    TSyncBox& box = SyncBox();
    StartGauge(box, FileList.Count());
    box.Show();
    auto index = job.Index([this] { return KeepGoing(); });
    // Confirmed while waiting, before the worker could begin this directory.
    if (Cancelled()) return LogCompleted(job, 0);
    if (directory.state != State::Ready || !index) {
        LogDirectoryFailed(directory, directory.state != State::DestinationMissing);
        return;
    }
    DestDirListBox.ShowListing(directory.destinationPath, index.value()->Subdirectories());
    box.SyncDirFrom.SetCaption(directory.sourcePath);
    box.SyncDirTo.SetCaption(directory.destinationPath);
    box.Repaint();

    const int count = FileList.Count();
    int processed = 0;
    for (int k = 0; k < count; ++k) {
        box.SetModalResult(kRunOn);
        // What a worker finished before a cancel was done: it is logged too.
        if (CancelRequested()) return LogCompleted(job, static_cast<std::size_t>(k));
        processed = SyncFile(job, k, processed);
        if (Cancelled()) return LogCompleted(job, static_cast<std::size_t>(k) + 1);
        box.SetFocus();
        box.FocusCancel();
    }
}

// The panes show the directory as the walk read it, with the run's filter
// applied: the file list holds exactly the files the run synchronises.
void TMain::ShowWalkDirectory(const sync::DirectoryJob& job) {
    showingWalk_ = true;
    FileList.ShowItems(job.directory().sourcePath, job.items());
    SourceDirListBox.ShowListing(job.directory().sourcePath, job.directory().subdirectories);
    showingWalk_ = false;
}

// The overall line after one more file of a whole-tree run.
void TMain::ShowOverall(std::uint64_t bytesCopied) {
    RunProgress& progress = run_->progress;
    ++progress.done;
    progress.bytesCopied += bytesCopied;
    progress.elapsedSeconds = std::chrono::duration<double>(Clock::now() - run_->started).count();
    SyncBox().Overall.SetCaption(OverallText(progress));
}

// A failure of the run, shown unless the person asked for no more.
void TMain::ShowRunFailure(const std::string& text, const std::string& detail) {
    if (run_->quietFailures) {
        ++run_->unshownFailures;
        return;
    }
    run_->quietFailures = desktop_.RunFailure(text, detail);
}

// A source directory that cannot be read is reported once, as a failed copy
// is, and recorded; the walk goes on with the rest.
void TMain::ReportUnreadableDirectory(const sync::WalkDirectory& directory) {
    const std::string text = CannotOpenDirectory(directory.sourcePath, directory.error).message;
    if (dryRun) {
        Preview({sync::PreviewLine::Kind::Fail, directory.sourcePath, {}, text, 0});
    } else {
        ShowRunFailure(text, {});
    }
    Record(links_->log.failed, directory.sourcePath);
}

// A destination directory that cannot be made costs only the files that
// would have gone into it; below a refused one the files fail silently, as
// the refusal was reported once already.
void TMain::LogDirectoryFailed(const sync::WalkDirectory& directory, bool report) {
    if (report && !dryRun) {
        ShowRunFailure(
            "Could not create directory: " + directory.destinationPath + ".  Files not copied!",
            directory.error.message);
    }
    // A directory with no file to record is recorded itself: nothing that
    // was not synchronised may go unmentioned.
    std::vector<std::string> sources;
    for (const auto& item : FileList.Items()) {
        sources.push_back(JoinPath(directory.sourcePath, item.text));
    }
    if (sources.empty()) sources.push_back(directory.sourcePath);
    for (const std::string& source : sources) {
        if (dryRun) {
            Preview({sync::PreviewLine::Kind::Fail,
                     source,
                     {},
                     "could not create the directory " + directory.destinationPath,
                     0});
        }
        Record(links_->log.failed, source);
    }
}

// After a cancel: whatever a worker had finished from item `first` on is
// logged in order, without questions; the rest never happened.
void TMain::LogCompleted(sync::DirectoryJob& job, std::size_t first) {
    for (std::size_t k = first; k < job.items().size(); ++k) {
        auto outcome = job.Completed(k);
        if (!outcome) return;
        LogOutcome(job, k, *outcome);
    }
}

// Logs one file's outcome; in a preview, also says what the run would do.
void TMain::LogOutcome(sync::DirectoryJob& job, std::size_t k, const sync::FileOutcome& outcome) {
    using Kind = sync::FileOutcome::Kind;
    const std::string& name = job.items()[k];
    const std::string source = JoinPath(job.directory().sourcePath, name);
    const std::string target = JoinPath(job.directory().destinationPath, name);
    if (dryRun && outcome.kind != Kind::Stopped)
        Preview(PreviewOf(outcome, source, target, job.Size(k)));
    switch (outcome.kind) {
        case Kind::Copied:
            Record(links_->log.copied, source);
            break;
        case Kind::Skipped:
            Record(links_->log.skipped, source);
            break;
        case Kind::Failed:
            Record(links_->log.failed, source);
            break;
        case Kind::Stopped:
            break;
    }
}

// A preview fills the run log as the run would have, unless the window's
// preview asked it to leave the log of real runs alone.
void TMain::Record(LogList& list, const std::string& source) {
    if (!dryRun || dryRunLogs) list.Add(platform::DisplayPath(source));
}

sync::PreviewLine TMain::PreviewOf(const sync::FileOutcome& outcome, const std::string& source,
                                   const std::string& target, std::uint64_t bytes) {
    using Kind = sync::FileOutcome::Kind;
    using Line = sync::PreviewLine::Kind;
    switch (outcome.kind) {
        case Kind::Copied:
            return {Line::Copy, source, target, {}, bytes};
        case Kind::Failed:
            return {Line::Fail,
                    source,
                    {},
                    outcome.problem == sync::FileOutcome::Problem::OpenSource
                        ? "could not open the file"
                        : "could not create " + target,
                    0};
        default:
            return {Line::Skip, source, {}, {}, 0};
    }
}

int TMain::SyncFile(sync::DirectoryJob& job, int item, int processed) {
    FileList.SetItemIndex(item);
    const auto k = static_cast<std::size_t>(item);
    const std::string& name = job.items()[k];
    const std::string source = JoinPath(job.directory().sourcePath, name);
    TSyncBox& box = SyncBox();
    box.FileName.SetCaption(ExtractFileName(source));
    auto keepGoing = [this] { return KeepGoing(); };
    box.Process.SetCaption(job.Decide(k, keepGoing) ? "Copying" : "Skipping");
    const sync::FileOutcome outcome = job.Finish(k, run_->Buffer(), keepGoing);
    if (outcome.kind == sync::FileOutcome::Kind::Stopped) return processed;
    // A preview's failure is one of its lines, not a box.
    if (outcome.kind == sync::FileOutcome::Kind::Failed && !dryRun) {
        ShowRunFailure(sync::FailureText(outcome.problem, source,
                                         JoinPath(job.directory().destinationPath, name)),
                       outcome.reason);
    }
    LogOutcome(job, k, outcome);
    if (run_->wholeTree)
        ShowOverall(outcome.kind == sync::FileOutcome::Kind::Copied ? job.Size(k) : 0);
    box.Gauge.SetProgress(processed + 1);
    return processed + 1;
}

void TMain::Preview(const sync::PreviewLine& line) {
    if (onPreview) onPreview(line);
}

void TMain::PreviewSync1Click() {
    if (Running()) return;
    TPreviewbx& preview = links_->preview;
    preview.Clear();
    const Marks marks = MarksOf(*this);
    {
        const auto saved = std::tuple(dryRun, dryRunLogs, quietSuccess_);
        auto before =
            std::exchange(onPreview, [&preview](const sync::PreviewLine& l) { preview.Add(l); });
        const ScopeExit restore([&] {
            std::tie(dryRun, dryRunLogs, quietSuccess_) = saved;
            onPreview = std::move(before);
        });
        // Nothing is written and the run log keeps only real runs.
        dryRun = true;
        dryRunLogs = false;
        quietSuccess_ = true;
        SyncBtnClick();
    }
    PutBack(*this, marks);
    // Declined or cancelled, there is nothing whole to show.
    if (!syncDeclined_ && !Cancelled()) preview.ShowModal();
}

}  // namespace twinfold
