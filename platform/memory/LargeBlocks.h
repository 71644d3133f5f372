// Large blocks of memory that are filled from the start and kept long (the
// records of a drawing): aligned to their size, so that the block a record
// lies in is found from its address. Huge pages are not asked for: on a
// virtual machine their first touch can cost several times what 4 KiB pages
// do (a drawing's read took 1.5 s instead of 0.42 s in four runs of five).
#pragma once

#include <cstddef>

namespace kestrin::memory {

// `bytes` (a power of two) aligned to `bytes`; never null (std::bad_alloc).
void* allocateBlock(std::size_t bytes);
void freeBlock(void* block);

// Asks the system to make the whole pages of [from, from + bytes) present
// now, on the calling thread, so that the first writes there do not stop
// for them: memory about to be filled on one thread, made present on
// every core first. A hint: nothing is written, and a system that cannot
// does nothing.
void makePresent(void* from, std::size_t bytes);

}  // namespace kestrin::memory
