#include "host/dxf/TagSlab.h"

#include <atomic>
#include <cstdint>
#include <new>

#include "platform/memory/LargeBlocks.h"

namespace kestrin::dxf::slab {

namespace {

// A power of two: a block is found from any address in it.
constexpr std::size_t kBlock = 2 * 1024 * 1024;
constexpr std::size_t kLargest = 4096;

// At the start of each block; the rest holds the lists.
struct Header {
    std::atomic<std::uint32_t> lists;  // lists in it, and one more while a thread fills it
};
constexpr std::size_t kFirst = (sizeof(Header) + 15) / 16 * 16;

Header* headerOf(char* room) {
    return reinterpret_cast<Header*>(reinterpret_cast<std::uintptr_t>(room) & ~(std::uintptr_t{kBlock} - 1));
}

void drop(Header* h) {
    if (h->lists.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    h->~Header();
    memory::freeBlock(h);
}

Header* newBlock() {
    return new (memory::allocateBlock(kBlock)) Header{{1}};
}

// The block a thread fills, given up when the thread ends.
struct Current {
    Header* block = nullptr;
    std::size_t used = 0;
    ~Current() {
        if (block) drop(block);
    }
};

thread_local Current current;

}  // namespace

char* allocate(std::size_t bytes) {
    if (bytes == 0 || bytes > kLargest) return nullptr;
    Current& c = current;
    if (c.block == nullptr || c.used + bytes > kBlock) {
        if (c.block) drop(c.block);
        c.block = newBlock();
        c.used = kFirst;
    }
    char* room = reinterpret_cast<char*>(c.block) + c.used;
    c.used += bytes;
    c.block->lists.fetch_add(1, std::memory_order_relaxed);
    return room;
}

void release(char* room) {
    if (room != nullptr) drop(headerOf(room));
}

}  // namespace kestrin::dxf::slab
