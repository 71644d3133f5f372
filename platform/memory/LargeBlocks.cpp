// Linux: aligned allocations of the C library.
#include "platform/memory/LargeBlocks.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace kestrin::memory {

void* allocateBlock(std::size_t bytes) {
    void* p = std::aligned_alloc(bytes, bytes);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void freeBlock(void* block) { std::free(block); }

void makePresent(void* from, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    static const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(from) + page - 1) / page * page;
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(from) + bytes) / page * page;
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)from;
    (void)bytes;
#endif
}

}  // namespace kestrin::memory
