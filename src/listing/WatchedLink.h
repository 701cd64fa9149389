#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "controls/Signal.h"

namespace twinfold {

// A plain link to a component that may be destroyed before the holder. The
// link listens on one of the component's signals; the listener dies with that
// signal, that is with the component, and clears the link as it goes. When the
// holder goes first (or links elsewhere) the old listener stays behind inert.
template <typename T>
class WatchedLink {
public:
    WatchedLink() = default;
    ~WatchedLink() { Reset(); }
    WatchedLink(const WatchedLink&) = delete;
    WatchedLink& operator=(const WatchedLink&) = delete;

    T* get() const { return target_; }

    // Links `target` (nullptr unlinks); `onSignal` runs whenever `signal`
    // of the target fires while the link stands.
    void Set(T* target, Signal<>* signal, std::function<void()> onSignal) {
        Reset();
        if (target == nullptr) return;
        auto watch = std::make_shared<Watch>(this, std::move(onSignal));
        signal->Connect([watch] {
            if (watch->link != nullptr) watch->onSignal();
        });
        watch_ = watch;
        target_ = target;
    }

    void Reset() {
        if (auto watch = watch_.lock()) watch->link = nullptr;
        watch_.reset();
        target_ = nullptr;
    }

private:
    struct Watch {
        Watch(WatchedLink* owner, std::function<void()> action)
            : link(owner), onSignal(std::move(action)) {}
        ~Watch() {
            if (link != nullptr) link->target_ = nullptr;
        }
        WatchedLink* link;
        std::function<void()> onSignal;
    };

    T* target_ = nullptr;
    std::weak_ptr<Watch> watch_;
};

}  // namespace twinfold
