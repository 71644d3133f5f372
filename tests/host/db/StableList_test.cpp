// The list whose elements never move: what it holds stays where it was made
// while it grows, and each element is destroyed once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/StableList.h"

using kestrin::db::StableList;

namespace {

struct Counted {
    explicit Counted(int v, int& count) : value(v), alive(count) { ++alive; }
    ~Counted() { --alive; }
    int value;
    int& alive;
};

TEST(StableList, ElementsStayPutAcrossBlocksAndAreDestroyedOnce) {
    int alive = 0;
    {
        StableList<Counted, 8> list;
        std::vector<const Counted*> where;
        for (int k = 0; k < 20; ++k) where.push_back(&list.emplace_back(k, alive));
        // Made in place on any thread, then taken in.
        list.reserveMore(13);
        for (int k = 12; k >= 0; --k) list.emplaceAt(20 + k, 20 + k, alive);
        list.commit(13);
        for (int k = 0; k < 5; ++k) where.push_back(&list.emplace_back(33 + k, alive));
        EXPECT_EQ(alive, 38);
        ASSERT_EQ(list.size(), 38u);
        for (int k = 0; k < 20; ++k) EXPECT_EQ(where[k], &list[k]);
        for (int k = 0; k < 5; ++k) EXPECT_EQ(where[20 + k], &list[33 + k]);
        int expected = 0;
        for (const Counted& c : list) EXPECT_EQ(c.value, expected++);
        EXPECT_EQ(expected, 38);
        list.clear();
        EXPECT_EQ(alive, 0);
        EXPECT_EQ(list.size(), 0u);
        list.emplace_back(1, alive);
    }
    EXPECT_EQ(alive, 0);
}

}  // namespace
