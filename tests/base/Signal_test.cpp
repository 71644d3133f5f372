#include "base/Signal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kestrin {
namespace {

TEST(Signal, CallsInConnectionOrderUntilDisconnected) {
    Signal<int, const std::string&> s;
    std::vector<std::string> heard;
    // Appended, not "a" + std::to_string(n): g++ 12 -Wrestrict.
    const ConnectionId a = s.connect([&](int n, const std::string& t) { heard.push_back(std::string("a").append(std::to_string(n)).append(t)); });
    s.connect([&](int n, const std::string& t) { heard.push_back(std::string("b").append(std::to_string(n)).append(t)); });
    s.emit(1, "x");
    EXPECT_TRUE(s.disconnect(a));
    EXPECT_FALSE(s.disconnect(a)) << "only once";
    s.emit(2, "y");
    EXPECT_EQ(heard, (std::vector<std::string>{"a1x", "b1x", "b2y"}));
    EXPECT_EQ(s.connections(), 1u);
}

TEST(Signal, CallbacksMayDisconnectAndConnectDuringAnEmission) {
    Signal<> s;
    std::vector<std::string> heard;
    ConnectionId self = 0, later = 0;
    self = s.connect([&] {
        heard.push_back("self");
        s.disconnect(self);   // itself: still runs to its end
        s.disconnect(later);  // one not yet called: skipped now
        s.connect([&] { heard.push_back("new"); });  // from the next emission on
    });
    later = s.connect([&] { heard.push_back("later"); });
    s.emit();
    s.emit();
    EXPECT_EQ(heard, (std::vector<std::string>{"self", "new"}));
    EXPECT_EQ(s.connections(), 1u);
}

TEST(Signal, ScopedConnectionsDisconnectOnceAndOutliveTheirSignal) {
    int calls = 0;
    ScopedConnection kept;
    {
        Signal<> s;
        {
            ScopedConnection c = s.connectScoped([&] { ++calls; });
            kept = s.connectScoped([&] { calls += 10; });
            s.emit();
        }
        s.emit();
        EXPECT_TRUE(kept.connected());
    }
    EXPECT_EQ(calls, 21);
    EXPECT_FALSE(kept.connected());
    kept.disconnect();  // the signal is gone: nothing to do
}

TEST(Signal, ACallbackMayDestroyTheSignalsOwner) {
    auto owner = std::make_unique<Signal<>>();
    int calls = 0;
    owner->connect([&] {
        ++calls;
        owner.reset();
    });
    owner->connect([&] { ++calls; });
    owner->emit();
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(calls, 2) << "the emission ends over the slots it started with";
}

}  // namespace
}  // namespace kestrin
