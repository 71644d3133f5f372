#include "platform/process/Parallel.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace kestrin::process {

std::size_t cores() { return std::max(1u, std::thread::hardware_concurrency()); }

void inParallel(std::size_t count, std::size_t smallest, const std::function<void(std::size_t, std::size_t)>& work) {
    if (count == 0) return;
    const std::size_t parts = std::clamp<std::size_t>(count / std::max<std::size_t>(smallest, 1), 1, cores());
    if (parts == 1) {
        work(0, count);
        return;
    }
    std::vector<std::exception_ptr> failures(parts);
    auto run = [&](std::size_t part) {
        try {
            work(count * part / parts, count * (part + 1) / parts);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(parts - 1);
    std::size_t part = 1;
    try {
        for (; part < parts; ++part) threads.emplace_back(run, part);
    } catch (const std::system_error&) {
        // No more threads to be had: the calling thread does the rest.
    }
    run(0);
    for (; part < parts; ++part) run(part);
    for (std::thread& t : threads) t.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace kestrin::process
