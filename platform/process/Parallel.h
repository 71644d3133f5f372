// Work split over the machine's cores: independent parts of one job done at
// once, each on a thread of its own.
#pragma once

#include <cstddef>
#include <functional>

namespace kestrin::process {

// How many parts inParallel makes at the most: the cores the machine has
// (at least one).
std::size_t cores();

// Calls `work(begin, end)` for consecutive ranges that together make
// [0, count), at once, one range a core, and returns when all are done (the
// calling thread does the first). Under `smallest` items a range, fewer
// ranges are made; one range is done on the calling thread alone. An
// exception from a range is thrown again here once every range has ended.
void inParallel(std::size_t count, std::size_t smallest, const std::function<void(std::size_t, std::size_t)>& work);

}  // namespace kestrin::process
