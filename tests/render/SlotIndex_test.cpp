#include "render/SlotIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

namespace kestrin::render {
namespace {

struct KeyOfSlot {
    const std::vector<std::uint64_t>* keys;
    std::uint64_t operator()(std::uint32_t slot) const { return (*keys)[slot]; }
};

// Random insertions and erasures (keys crowded into few homes and spread
// far apart) answer as a map does, through growth and shifting back.
TEST(SlotIndex, FindsWhatAMapFindsThroughInsertsErasuresAndGrowth) {
    for (const std::uint64_t spread : {std::uint64_t{7}, std::uint64_t{1} << 40}) {
        std::vector<std::uint64_t> keys;
        SlotIndex<KeyOfSlot> index{KeyOfSlot{&keys}};
        std::unordered_map<std::uint64_t, std::uint32_t> expected;
        std::mt19937_64 random(42);
        for (int step = 0; step < 20000; ++step) {
            const std::uint64_t key = (random() % 3000) * spread;
            if (random() % 3 != 0) {
                if (expected.count(key) != 0) continue;
                keys.push_back(key);
                const auto slot = static_cast<std::uint32_t>(keys.size() - 1);
                index.insert(key, slot);
                expected[key] = slot;
            } else {
                index.erase(key);
                expected.erase(key);
            }
            if (step % 997 == 0 || step > 19900) {
                ASSERT_EQ(index.size(), expected.size());
                for (std::uint64_t k = 0; k < 3000; ++k) {
                    const auto it = expected.find(k * spread);
                    ASSERT_EQ(index.find(k * spread), it == expected.end() ? index.npos : it->second)
                        << "key " << k * spread << " at step " << step;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kestrin::render
