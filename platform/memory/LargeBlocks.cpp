// Linux: aligned allocations with transparent huge pages asked for.
#include "platform/memory/LargeBlocks.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace kestrin::memory {

void* allocateBlock(std::size_t bytes) {
    void* p = std::aligned_alloc(bytes, bytes);
    if (p == nullptr) throw std::bad_alloc();
    adviseHugePages(p, bytes);
    return p;
}

void freeBlock(void* block) { std::free(block); }

void adviseHugePages(void* p, std::size_t bytes) {
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(p) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace kestrin::memory
