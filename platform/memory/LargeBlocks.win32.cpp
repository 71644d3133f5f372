// Windows: aligned allocations of the C runtime.
#include "platform/memory/LargeBlocks.h"

#include <malloc.h>

#include <new>

namespace kestrin::memory {

void* allocateBlock(std::size_t bytes) {
    void* p = _aligned_malloc(bytes, bytes);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void freeBlock(void* block) { _aligned_free(block); }

// Committed memory comes as it is first written; there is nothing to ask for.
void makePresent(void*, std::size_t) {}

}  // namespace kestrin::memory
