// Linux: aligned allocations of the C library.
#include "platform/memory/LargeBlocks.h"

#include <cstdlib>
#include <new>

namespace kestrin::memory {

void* allocateBlock(std::size_t bytes) {
    void* p = std::aligned_alloc(bytes, bytes);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void freeBlock(void* block) { std::free(block); }

}  // namespace kestrin::memory
