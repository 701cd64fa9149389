#include "sync/CancelToken.h"

namespace twinfold::sync {

void CancelToken::Request() {
    State running = State::Running;
    // A confirmed cancel stays confirmed.
    state_.compare_exchange_strong(running, State::Asking);
}

void CancelToken::Resume() {
    if (state_.load() == State::Asking) Set(State::Running);
}

void CancelToken::Confirm() { Set(State::Stopped); }

void CancelToken::Reset() {
    if (state_.load() != State::Running) Set(State::Running);
}

void CancelToken::Set(State state) {
    {
        // Under the lock, so that a worker about to wait cannot miss it.
        std::lock_guard lock(mutex_);
        state_.store(state);
    }
    answered_.notify_all();
}

bool CancelToken::Proceed() {
    if (alsoStop_ && alsoStop_()) Confirm();
    State state = state_.load();
    if (state == State::Asking) {
        std::unique_lock lock(mutex_);
        answered_.wait(lock, [this] { return state_.load() != State::Asking; });
        state = state_.load();
    }
    return state == State::Running;
}

}  // namespace twinfold::sync
