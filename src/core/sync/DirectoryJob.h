#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sync/CancelToken.h"
#include "sync/FileStep.h"
#include "sync/TreeWalk.h"

namespace twinfold::sync {

// The files of one directory of a run, in the file list's order. Either the
// person's thread steps through them itself, or a worker runs them all while
// the person's thread follows in the same order, so that the log, the
// messages and the progress read the same both ways.
class DirectoryJob {
public:
    // Asked while the person's thread waits or a copy goes on, no more often
    // than every 50 ms; false means the run was cancelled.
    using KeepGoing = std::function<bool()>;

    // `cancel` is the run's: a request holds the job before its next file
    // and its copy before the next chunk; a confirmed one stops them there.
    DirectoryJob(WalkDirectory directory, std::vector<std::string> items, CopySettings settings,
                 CancelToken& cancel);

    // Its destination's fields are settled once Index() has come back.
    const WalkDirectory& directory() const { return directory_; }
    bool SourceUnreadable() const { return sourceUnreadable_; }
    const std::vector<std::string>& items() const { return items_; }

    // A worker: reaches (or makes) the destination and reads it, then decides
    // and copies every item in order, publishing each step, until the end or
    // the run's stop.
    void Run(std::span<char> buffer);
    // After a cancel, once no worker runs: takes back the destination
    // directories this job made that are still empty, as the person never
    // saw this directory's turn.
    void UndoEmptyDirectories() { RemoveIfEmpty(directory_, made_); }
    // Hands the job to a worker; from then on the calls below wait for it.
    void MarkQueued() { queued_ = true; }

    // The destination directory's entries, read once: by the worker, or now.
    Result<const DestinationIndex*> Index(const KeepGoing& keepGoing);
    // Whether item `k` is to be copied.
    bool Decide(std::size_t k, const KeepGoing& keepGoing);
    // The outcome of item `k`; a copy made now uses `buffer`.
    FileOutcome Finish(std::size_t k, std::span<char> buffer, const KeepGoing& keepGoing);
    // The size of item `k`'s source, once it is decided.
    std::uint64_t Size(std::size_t k);
    // The outcome of item `k` if the worker got that far, waiting for the
    // copy under way (for what is logged after a cancel).
    std::optional<FileOutcome> Completed(std::size_t k);

private:
    enum class Step { Waiting, Decided, Done, Dropped };
    struct Slot {
        Step step = Step::Waiting;
        bool copy = false;
        std::uint64_t size = 0;
        FileOutcome outcome;
    };

    void ReadIndex();
    void DecideNow(std::size_t k);
    void FinishNow(std::size_t k, std::span<char> buffer, const KeepGoing& keepGoing);
    // Waits until `ready` holds, asking `keepGoing` every 50 ms; a cancel
    // raises the stop for the worker and waits on for what it then does. The
    // worker wakes this thread once item `wakeAt` (or the last) is done.
    void Await(const std::function<bool()>& ready, const KeepGoing& keepGoing, std::size_t wakeAt);
    // Makes `change` under the lock; `wake` wakes a thread waiting in Await
    // (otherwise it sees the change within its next 50 ms).
    void Publish(const std::function<void()>& change, bool wake);
    // The same for item `k`; `done` when its outcome is in.
    void Publish(const std::function<void()>& change, std::size_t k, bool done);

    WalkDirectory directory_;
    Place place_;
    std::vector<std::string> items_;
    CopySettings settings_;
    CancelToken& cancel_;
    const bool sourceUnreadable_;
    // The destination directories its turn made, from the top down.
    std::vector<std::string> made_;
    bool queued_ = false;
    // Only the thread that runs the items touches these.
    std::vector<FileDecision> decisions_;
    std::string lastCopied_;  // the name of the last file copied

    std::mutex mutex_;
    std::condition_variable changed_;
    bool indexRead_ = false;
    Result<DestinationIndex> index_{Error{}};
    std::vector<Slot> slots_;
    static constexpr std::size_t kNobody = static_cast<std::size_t>(-1);
    std::size_t wakeAt_ = kNobody;
};

}  // namespace twinfold::sync
