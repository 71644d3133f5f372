#include "platform/process/Terminal.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kestrin::process {

namespace {

volatile sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

struct Saved {
    struct sigaction action {};
    sigset_t mask{};
};
Saved saved;

}  // namespace

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) != 0; }

TerminalInput::TerminalInput() {
    // SIGINT is blocked but while a read waits (ppoll unblocks it there), so
    // an interrupt that comes while the program works is not lost, and none
    // falls between looking for one and starting to wait.
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: the wait ends with EINTR
    interrupted = 0;
    ::sigaction(SIGINT, &action, &saved.action);
    sigset_t block;
    ::sigemptyset(&block);
    ::sigaddset(&block, SIGINT);
    ::sigprocmask(SIG_BLOCK, &block, &saved.mask);
}

TerminalInput::~TerminalInput() {
    ::sigprocmask(SIG_SETMASK, &saved.mask, nullptr);
    ::sigaction(SIGINT, &saved.action, nullptr);
}

TerminalInput::Read TerminalInput::readLine(std::string& line, Deadline deadline) {
    sigset_t waiting;
    ::sigprocmask(SIG_SETMASK, nullptr, &waiting);
    ::sigdelset(&waiting, SIGINT);
    for (;;) {
        if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
            line = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            return Read::Line;
        }
        timespec wait{};
        timespec* until = nullptr;
        if (deadline) {
            const auto left = *deadline - std::chrono::steady_clock::now();
            const auto ns = std::max<long long>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(left).count());
            wait.tv_sec = static_cast<time_t>(ns / 1000000000);
            wait.tv_nsec = static_cast<long>(ns % 1000000000);
            until = &wait;
        }
        pollfd in{STDIN_FILENO, POLLIN, 0};
        const int ready = ::ppoll(&in, 1, until, &waiting);
        if (ready < 0 && errno == EINTR) {
            if (!interrupted) continue;
            interrupted = 0;
            buffer_.clear();
            return Read::Interrupted;
        }
        if (ready < 0) return Read::Failed;
        if (ready == 0) return Read::TimedOut;
        char chunk[4096];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return Read::Failed;
        }
        if (got == 0) {
            if (buffer_.empty()) return Read::Ended;
            line = std::move(buffer_);
            buffer_.clear();
            return Read::Line;
        }
        buffer_.append(chunk, static_cast<std::size_t>(got));
    }
}

}  // namespace kestrin::process
