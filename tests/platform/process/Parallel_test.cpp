// Work split over the cores: every item done once, ranges in order, small
// jobs kept on the calling thread, a failure thrown once all parts ended.
#include "platform/process/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace kestrin::process {
namespace {

TEST(Parallel, EveryItemIsDoneOnceInConsecutiveRanges) {
    for (std::size_t count : {1u, 7u, 1000u, 100001u}) {
        std::vector<std::atomic<int>> done(count);
        std::mutex m;
        std::vector<std::pair<std::size_t, std::size_t>> ranges;
        inParallel(count, 1, [&](std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k) ++done[k];
            const std::lock_guard<std::mutex> lock(m);
            ranges.emplace_back(begin, end);
        });
        for (std::size_t k = 0; k < count; ++k) ASSERT_EQ(done[k].load(), 1) << count << " at " << k;
        EXPECT_LE(ranges.size(), cores());
        for (const auto& [begin, end] : ranges) EXPECT_LT(begin, end) << "no empty range";
    }
    bool called = false;
    inParallel(0, 1, [&](std::size_t, std::size_t) { called = true; });
    EXPECT_FALSE(called);
}

TEST(Parallel, ASmallJobStaysOnTheCallingThread) {
    const std::thread::id caller = std::this_thread::get_id();
    int calls = 0;
    inParallel(100, 512, [&](std::size_t begin, std::size_t end) {
        ++calls;
        EXPECT_EQ(std::this_thread::get_id(), caller);
        EXPECT_EQ(begin, 0u);
        EXPECT_EQ(end, 100u);
    });
    EXPECT_EQ(calls, 1);
}

TEST(Parallel, AFailingRangeIsThrownAfterEveryRangeEnded) {
    std::atomic<std::size_t> items{0};
    EXPECT_THROW(inParallel(10000, 1,
                            [&](std::size_t begin, std::size_t end) {
                                items += end - begin;
                                if (begin == 0) throw std::runtime_error("first range fails");
                            }),
                 std::runtime_error);
    EXPECT_EQ(items.load(), 10000u) << "the other ranges ran to their end";
}

}  // namespace
}  // namespace kestrin::process
