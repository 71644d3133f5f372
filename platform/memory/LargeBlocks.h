// Large blocks of memory that are filled from the start and kept long (the
// records of a drawing): aligned to their size, and given huge pages where
// the system has them, so that filling one costs a page fault or a few
// rather than one every 4 KiB.
#pragma once

#include <cstddef>

namespace kestrin::memory {

// `bytes` (a power of two) aligned to `bytes`; never null (std::bad_alloc).
void* allocateBlock(std::size_t bytes);
void freeBlock(void* block);

// Asks for huge pages in [p, p + bytes) (the whole 2 MiB pages within it); a hint.
void adviseHugePages(void* p, std::size_t bytes);

}  // namespace kestrin::memory
