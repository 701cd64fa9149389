#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace twinfold {

// A notification with any number of listeners (the program's handler and the
// view that draws the model), called in the order they connected.
template <typename... Args>
class Signal {
public:
    using Slot = std::function<void(Args...)>;

    void Connect(Slot slot) { slots_.push_back(std::move(slot)); }

    void operator()(Args... args) const {
        // A listener may connect another; iterate over a copy.
        auto listeners = slots_;
        for (const auto& slot : listeners) slot(args...);
    }

private:
    std::vector<Slot> slots_;
};

}  // namespace twinfold
