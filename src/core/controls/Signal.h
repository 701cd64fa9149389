#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace twinfold {

namespace detail {

// What a connection needs of its signal: a way to drop its listener.
class SlotList {
public:
    virtual ~SlotList() = default;
    virtual void Drop(std::uint64_t id) = 0;
};

}  // namespace detail

// One listener of a Signal, for as long as this object lives: it disconnects
// when destroyed or reassigned. It may outlive its signal; it then does
// nothing. Without a listener (Signal::Watch) it only tells whether the
// signal, and so the model that holds it, still exists.
class [[nodiscard]] Connection {
public:
    Connection() = default;
    Connection(std::weak_ptr<detail::SlotList> list, std::uint64_t id)
        : list_(std::move(list)), id_(id) {}
    Connection(Connection&& other) noexcept
        : list_(std::move(other.list_)), id_(std::exchange(other.id_, 0)) {}
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            Disconnect();
            list_ = std::move(other.list_);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { Disconnect(); }

    // True while the signal exists and this connection was not ended.
    bool Connected() const { return !list_.expired(); }

    void Disconnect() {
        if (auto list = list_.lock(); list && id_ != 0) list->Drop(id_);
        list_.reset();
        id_ = 0;
    }

private:
    std::weak_ptr<detail::SlotList> list_;
    std::uint64_t id_ = 0;
};

// A notification with any number of listeners (the program's handler and the
// view that draws the model), called in the order they connected. Each
// listener stays connected while the Connection that Connect returned lives.
template <typename... Args>
class Signal {
public:
    using Slot = std::function<void(Args...)>;

    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    // A moved model keeps its listeners; their connections follow it.
    Signal(Signal&& other) noexcept
        : slots_(std::exchange(other.slots_, std::make_shared<Slots>())) {}
    Signal& operator=(Signal&& other) noexcept {
        slots_.swap(other.slots_);
        return *this;
    }

    Connection Connect(Slot slot) {
        const std::uint64_t id = ++slots_->lastId;
        slots_->entries.push_back({std::move(slot), id, true});
        return Connection(slots_, id);
    }

    // A connection without a listener, to learn when this signal is gone.
    Connection Watch() const { return Connection(slots_, 0); }

    // Listeners connected during a call are called from the next one on; one
    // disconnected during a call is not called any more (also when it is the
    // one running). A deque keeps every listener in place while others are
    // added, so no copy is made on the way (some signals fire for every file
    // of a run); dropped listeners are removed once no call is running.
    void operator()(Args... args) const {
        Slots& state = *slots_;
        ++state.running;
        const std::size_t count = state.entries.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (state.entries[i].active) state.entries[i].slot(args...);
        }
        if (--state.running == 0 && state.dropped) state.RemoveDropped();
    }

private:
    struct Entry {
        Slot slot;
        std::uint64_t id;
        bool active;
    };

    struct Slots : detail::SlotList {
        std::deque<Entry> entries;
        std::uint64_t lastId = 0;
        int running = 0;
        bool dropped = false;

        void Drop(std::uint64_t id) override {
            for (auto& entry : entries) {
                if (entry.id == id) entry.active = false;
            }
            dropped = true;
            if (running == 0) RemoveDropped();
        }

        void RemoveDropped() {
            std::erase_if(entries, [](const Entry& entry) { return !entry.active; });
            dropped = false;
        }
    };

    std::shared_ptr<Slots> slots_ = std::make_shared<Slots>();
};

// Connections that end together, with the object that holds them.
class Connections {
public:
    Connections& operator+=(Connection connection) {
        list_.push_back(std::move(connection));
        return *this;
    }

private:
    std::vector<Connection> list_;
};

}  // namespace twinfold
