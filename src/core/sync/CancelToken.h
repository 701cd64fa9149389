#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace twinfold::sync {

// The cancel of one run, shared by the thread that asks the person and the
// workers. A request holds every worker before its next file or chunk while
// the question is open; the answer either lets them go on or stops them for
// good.
class CancelToken {
public:
    // Cancel pressed: nothing new starts until Resume or Confirm.
    void Request();
    // The person chose to go on.
    void Resume();
    // The run ends: every worker stops at its next check.
    void Confirm();
    // A new run starts.
    void Reset();
    // `alsoStop` is asked at every check; once true, the run ends as if
    // confirmed (a signal at a console, which asks nothing). Set it before
    // a run, not during one.
    void StopWhen(std::function<bool()> alsoStop) { alsoStop_ = std::move(alsoStop); }

    // For a worker, before each file and between chunks: waits while a
    // request is open; false once the run is to stop.
    bool Proceed();
    bool Confirmed() const { return state_.load() == State::Stopped; }

private:
    enum class State { Running, Asking, Stopped };
    void Set(State state);

    std::atomic<State> state_{State::Running};
    std::mutex mutex_;
    std::condition_variable answered_;
    std::function<bool()> alsoStop_;
};

}  // namespace twinfold::sync
