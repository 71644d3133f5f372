// Shared blocks for the packed tags of small records: the reader makes a
// million of them, and a block each from the heap would cost an allocation
// and its overhead apiece. A block is freed when its last list goes; each
// thread fills a block of its own.
#pragma once

#include <cstddef>

namespace kestrin::dxf::slab {

// Room for `bytes` in the current block of this thread, or null when the
// list is too large for a block (it then takes its own from the heap).
char* allocate(std::size_t bytes);
// Gives back room that allocate() answered.
void release(char* room);

}  // namespace kestrin::dxf::slab
