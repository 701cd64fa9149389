#pragma once

#include <utility>

namespace twinfold {

// Runs `undo` when the scope ends, whichever way it ends: puts back a current
// directory, a flag or a phase that a command set for its own length.
template <typename Undo>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Undo undo) : undo_(std::move(undo)) {}
    ~ScopeExit() { undo_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Undo undo_;
};

}  // namespace twinfold
