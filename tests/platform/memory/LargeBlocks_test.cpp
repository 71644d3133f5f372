// Large blocks: aligned to their size, and asking for memory to be made
// present changes nothing in it, wherever the range begins and ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/memory/LargeBlocks.h"

namespace {

TEST(LargeBlocks, ABlockIsAlignedToItsSizeAndWhatIsMadePresentKeepsItsBytes) {
    constexpr std::size_t kBytes = std::size_t{1} << 22;
    auto* block = static_cast<unsigned char*>(kestrin::memory::allocateBlock(kBytes));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kBytes, 0u);
    for (std::size_t k = 0; k < kBytes; k += 4096 / 4) block[k] = static_cast<unsigned char>(k / 1024 + 1);
    kestrin::memory::makePresent(block + 123, kBytes - 5000);  // pages not whole at either end
    kestrin::memory::makePresent(block, 0);
    for (std::size_t k = 0; k < kBytes; k += 4096 / 4) ASSERT_EQ(block[k], static_cast<unsigned char>(k / 1024 + 1)) << k;
    std::memset(block, 7, kBytes);  // still writable everywhere
    EXPECT_EQ(block[kBytes - 1], 7);
    kestrin::memory::freeBlock(block);

    // Memory from the heap, as a vector's room beyond its end.
    std::vector<int> v(1000, 5);
    v.reserve(1 << 20);
    kestrin::memory::makePresent(v.data() + v.size(), (v.capacity() - v.size()) * sizeof(int));
    EXPECT_EQ(v.back(), 5);
    v.resize(1 << 20, 9);
    EXPECT_EQ(v[999], 5);
    EXPECT_EQ(v.back(), 9);
}

}  // namespace
