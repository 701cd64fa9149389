#include "sync/DirectoryJob.h"

#include <algorithm>
#include <chrono>

namespace twinfold::sync {
namespace {

constexpr auto kWaitSlice = std::chrono::milliseconds(50);
// A follower that caught up with the worker is woken once this many more
// files are done, not for each one: waking costs more than a small copy.
constexpr std::size_t kWakeBatch = 16;

}  // namespace

DirectoryJob::DirectoryJob(WalkDirectory directory, std::vector<std::string> items,
                           CopySettings settings, CancelToken& cancel)
    : directory_(std::move(directory)),
      items_(std::move(items)),
      settings_(std::move(settings)),
      cancel_(cancel),
      sourceUnreadable_(directory_.state == WalkDirectory::State::SourceUnreadable),
      decisions_(items_.size()),
      slots_(items_.size()) {}

void DirectoryJob::Run(std::span<char> buffer) {
    const KeepGoing goOn = [this] { return cancel_.Proceed(); };
    if (goOn()) {
        ReadIndex();
    } else {
        // A turn that a cancel took away makes nothing; the index stays an error.
        Publish([this] { indexRead_ = true; }, true);
    }
    for (std::size_t k = 0; k < items_.size(); ++k) {
        if (!goOn()) {
            Publish(
                [&] {
                    for (std::size_t rest = k; rest < slots_.size(); ++rest) {
                        slots_[rest].step = Step::Dropped;
                    }
                },
                true);
            return;
        }
        DecideNow(k);
        FinishNow(k, buffer, goOn);
    }
    // The thread that follows wakes once per directory, not once per file:
    // waking it for every file would cost more than most copies.
    Publish([] {}, true);
}

Result<const DestinationIndex*> DirectoryJob::Index(const KeepGoing& keepGoing) {
    if (!queued_ && !indexRead_) ReadIndex();
    Await([this] { return indexRead_; }, keepGoing, 0);
    if (!index_) return index_.error();
    return &index_.value();
}

bool DirectoryJob::Decide(std::size_t k, const KeepGoing& keepGoing) {
    if (!queued_) {
        if (!indexRead_) ReadIndex();
        DecideNow(k);
    }
    Await([this, k] { return slots_[k].step != Step::Waiting; }, keepGoing, k + kWakeBatch);
    std::lock_guard lock(mutex_);
    return slots_[k].copy;
}

FileOutcome DirectoryJob::Finish(std::size_t k, std::span<char> buffer,
                                 const KeepGoing& keepGoing) {
    if (!queued_) FinishNow(k, buffer, keepGoing);
    Await([this, k] { return slots_[k].step == Step::Done || slots_[k].step == Step::Dropped; },
          keepGoing, k + kWakeBatch);
    std::lock_guard lock(mutex_);
    if (slots_[k].step == Step::Dropped) return {FileOutcome::Kind::Stopped};
    return slots_[k].outcome;
}

std::uint64_t DirectoryJob::Size(std::size_t k) {
    std::lock_guard lock(mutex_);
    return slots_[k].size;
}

std::optional<FileOutcome> DirectoryJob::Completed(std::size_t k) {
    if (!queued_) return std::nullopt;  // nothing runs unless asked
    Await([this, k] { return slots_[k].step == Step::Done || slots_[k].step == Step::Dropped; },
          [] { return false; }, k);
    std::lock_guard lock(mutex_);
    if (slots_[k].step != Step::Done || slots_[k].outcome.kind == FileOutcome::Kind::Stopped) {
        return std::nullopt;
    }
    return slots_[k].outcome;
}

// The directory's turn: its destination is made now, not when the walk
// looked ahead.
void DirectoryJob::ReadIndex() {
    ReachDestination(directory_, settings_.dryRun, made_);
    place_ = directory_.place();
    auto index = directory_.destination          ? DestinationIndex::Read(*directory_.destination)
                 : directory_.destinationPlanned ? Result<DestinationIndex>(DestinationIndex())
                                                 : Result<DestinationIndex>(directory_.error);
    if (index && !settings_.dryRun) index.value().RemoveLeftovers(*directory_.destination);
    Publish(
        [&] {
            index_ = std::move(index);
            indexRead_ = true;
        },
        true);
}

void DirectoryJob::DecideNow(std::size_t k) {
    // Two patterns that match one name list it twice, side by side in the
    // sorted list: the second occurrence meets the destination as the first
    // left it, so it looks the target up afresh, and a preview counts the
    // copy it foretold as made.
    const bool repeat = k > 0 && items_[k] == items_[k - 1];
    decisions_[k] = DecideFile(place_, items_[k], index_ && !repeat ? &index_.value() : nullptr);
    if (repeat && settings_.dryRun && items_[k] == lastCopied_) decisions_[k].copy = false;
    const auto& source = decisions_[k].source;
    Publish(
        [&] {
            slots_[k].copy = decisions_[k].copy;
            slots_[k].size = source ? source->size : 0;
            slots_[k].step = Step::Decided;
        },
        k, false);
}

void DirectoryJob::FinishNow(std::size_t k, std::span<char> buffer, const KeepGoing& keepGoing) {
    FileOutcome outcome;
    if (decisions_[k].copy) {
        outcome = settings_.dryRun
                      ? PreviewCopy(place_, items_[k], decisions_[k])
                      : CopyFile(place_, items_[k], decisions_[k], settings_, buffer, keepGoing);
    }
    decisions_[k] = {};  // a link's open file goes now, not with the job
    if (outcome.kind == FileOutcome::Kind::Copied) lastCopied_ = items_[k];
    Publish(
        [&] {
            slots_[k].outcome = outcome;
            slots_[k].step = Step::Done;
        },
        k, true);
}

void DirectoryJob::Await(const std::function<bool()>& ready, const KeepGoing& keepGoing,
                         std::size_t wakeAt) {
    std::unique_lock lock(mutex_);
    wakeAt_ = std::min(wakeAt, slots_.empty() ? 0 : slots_.size() - 1);
    while (!changed_.wait_for(lock, kWaitSlice, ready)) {
        lock.unlock();
        if (!keepGoing()) cancel_.Confirm();
        lock.lock();
    }
    wakeAt_ = kNobody;
}

void DirectoryJob::Publish(const std::function<void()>& change, bool wake) {
    {
        std::lock_guard lock(mutex_);
        change();
    }
    if (wake) changed_.notify_all();
}

void DirectoryJob::Publish(const std::function<void()>& change, std::size_t k, bool done) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        change();
        // A long copy is noticed by the follower's own 50 ms turns.
        wake = done && wakeAt_ != kNobody && k >= wakeAt_;
    }
    if (wake) changed_.notify_all();
}

}  // namespace twinfold::sync
