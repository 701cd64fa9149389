#pragma once

#include <functional>
#include <utility>

#include "controls/Signal.h"

namespace twinfold {

// A plain link to a component that may be destroyed before the holder: it
// reads as unlinked once the component's signal (and so the component) is
// gone. When the holder goes first, or links elsewhere, its listener goes too.
template <typename T>
class WatchedLink {
public:
    T* get() const { return connection_.Connected() ? target_ : nullptr; }

    // Links `target` (nullptr unlinks); `onSignal`, when given, runs whenever
    // `signal` of the target fires while the link stands.
    void Set(T* target, Signal<>* signal, std::function<void()> onSignal = {}) {
        Reset();
        if (target == nullptr) return;
        connection_ = onSignal ? signal->Connect(std::move(onSignal)) : signal->Watch();
        target_ = target;
    }

    void Reset() {
        connection_.Disconnect();
        target_ = nullptr;
    }

private:
    T* target_ = nullptr;
    Connection connection_;
};

}  // namespace twinfold
