#include "host/db/Abort.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/session/Transcript.h"

namespace kestrin::host {
namespace {

AbortHandler& currentHandler() {
    static AbortHandler handler;
    return handler;
}

}  // namespace

AbortHandler setAbortHandler(AbortHandler handler) {
    AbortHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

}  // namespace kestrin::host

void acrx_abort(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> buffer(n > 0 ? static_cast<std::size_t>(n) + 1 : 1, '\0');
    if (n > 0) std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    const std::string message(buffer.data());

    kestrin::session::Transcript::instance().output("\n" + message + "\n");
    if (auto& handler = kestrin::host::currentHandler()) handler(message);
    std::fflush(nullptr);
    std::exit(3);
}
