// acrx_abort: the host's way to stop at once after a broken invariant (a
// failing close, a change to an object not open for write). The message goes
// to the transcript, then the abort handler runs: by default it flushes the
// output and ends the process with status 3; tests install one that throws.
#pragma once

#include <functional>
#include <string>

[[noreturn]] void acrx_abort(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace kestrin::host {

// Receives the formatted message (CP1251). Must not return; if it does, the
// process exits with status 3 anyway.
using AbortHandler = std::function<void(const std::string& message)>;

// Installs `handler` (an empty one restores the default) and answers the
// previous one.
AbortHandler setAbortHandler(AbortHandler handler);

}  // namespace kestrin::host
