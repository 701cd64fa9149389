#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

namespace twinfold {

// A notification with any number of listeners (the program's handler and the
// view that draws the model), called in the order they connected.
template <typename... Args>
class Signal {
public:
    using Slot = std::function<void(Args...)>;

    void Connect(Slot slot) { slots_.push_back(std::move(slot)); }

    // Listeners connected during a call are called from the next one on. A
    // deque keeps every listener in place while others are added, so no
    // copy is made on the way (some signals fire for every file of a run).
    void operator()(Args... args) const {
        const std::size_t count = slots_.size();
        for (std::size_t i = 0; i < count; ++i) slots_[i](args...);
    }

private:
    std::deque<Slot> slots_;
};

}  // namespace twinfold
