#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "controls/Signal.h"

using namespace twinfold;

TEST(Signal, AListenerHearsWhileItsConnectionLives) {
    Signal<int> signal;
    std::vector<int> heard;
    {
        const Connection connection = signal.Connect([&](int n) { heard.push_back(n); });
        signal(1);
    }
    signal(2);
    EXPECT_EQ(heard, (std::vector<int>{1}));
}

TEST(Signal, AMovedConnectionStaysAndAReassignedOneEnds) {
    Signal<> signal;
    int first = 0;
    int second = 0;
    Connection kept = signal.Connect([&] { ++first; });
    Connection moved = std::move(kept);
    signal();
    moved = signal.Connect([&] { ++second; });
    signal();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

TEST(Signal, DisconnectingDuringACallSkipsThatListenerFromThenOn) {
    Signal<> signal;
    std::vector<const char*> order;
    std::optional<Connection> later;
    Connection self;
    const Connection first = signal.Connect([&] {
        order.push_back("first");
        later.reset();
        self.Disconnect();
    });
    self = signal.Connect([&] { order.push_back("self"); });
    later = signal.Connect([&] { order.push_back("later"); });
    signal();
    signal();
    EXPECT_EQ(order, (std::vector<const char*>{"first", "first"}));
}

TEST(Signal, AListenerMayEndItsOwnConnectionWhileItRuns) {
    Signal<> signal;
    auto state = std::make_shared<int>(0);
    Connection connection;
    connection = signal.Connect([&connection, state] {
        connection.Disconnect();
        ++*state;  // its captures are still alive here
    });
    signal();
    signal();
    EXPECT_EQ(*state, 1);
}

TEST(Signal, AConnectionMayOutliveItsSignal) {
    Connection connection;
    Connection watch;
    {
        Signal<> signal;
        connection = signal.Connect([] {});
        watch = signal.Watch();
        EXPECT_TRUE(watch.Connected());
    }
    EXPECT_FALSE(connection.Connected());
    EXPECT_FALSE(watch.Connected());
    connection.Disconnect();
}

TEST(Signal, AMovedSignalKeepsItsListeners) {
    Signal<> signal;
    int heard = 0;
    const Connection connection = signal.Connect([&] { ++heard; });
    Signal<> moved(std::move(signal));
    moved();
    signal();
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(connection.Connected());
}
