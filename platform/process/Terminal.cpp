// Linux: lines are edited with libedit (its readline interface, driven a
// character at a time so that a wait can end at a deadline or at Ctrl+C).
#include "platform/process/Terminal.h"

#include <editline/readline.h>
#include <langinfo.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kestrin::process {

namespace {

volatile sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

struct Saved {
    struct sigaction action {};
    sigset_t mask{};
};
Saved saved;

constexpr int kHistoryLines = 500;

// What the editor's line handler was given: a line, or the end of input.
struct Typed {
    bool done = false;
    bool ended = false;
    std::string line;
};
Typed typed;

void onLine(char* line) {
    typed.done = true;
    typed.ended = line == nullptr;
    if (line) {
        typed.line = line;
        std::free(line);
    }
    rl_callback_handler_remove();  // the next request brings its own prompt
}

void prepareEditor() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    // The terminal speaks UTF-8 (the program writes it); the editor needs a
    // character type that says so to move over Cyrillic letters whole.
    if (!std::setlocale(LC_CTYPE, "") || std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
    rl_catch_signals = 0;  // Ctrl+C is this program's own (see readLine)
    rl_readline_name = "cadhost";
    rl_instream = stdin;
    rl_outstream = stdout;
    rl_initialize();
    stifle_history(kHistoryLines);
}

// Waits until standard input can be read, the deadline passes or SIGINT
// comes: 1, 0, or -1 with errno (EINTR for the signal).
int waitForInput(const TerminalInput::Deadline& deadline, const sigset_t& waiting) {
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
    return ::ppoll(&in, 1, until, &waiting);
}

}  // namespace

TerminalInput::TerminalInput(bool edit) : edit_(edit) {
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
    if (edit_) prepareEditor();
}

TerminalInput::~TerminalInput() {
    if (edit_ && waiting_) rl_callback_handler_remove();  // the terminal as it was
    ::sigprocmask(SIG_SETMASK, &saved.mask, nullptr);
    ::sigaction(SIGINT, &saved.action, nullptr);
}

void TerminalInput::makeRoomForOutput() {
    if (!waiting_ || moved_) return;
    std::fputs("\n", stdout);
    std::fflush(stdout);
    moved_ = true;
}

TerminalInput::Read TerminalInput::readLine(std::string& line, const std::string& prompt, Deadline deadline) {
    sigset_t waiting;
    ::sigprocmask(SIG_SETMASK, nullptr, &waiting);
    ::sigdelset(&waiting, SIGINT);
    auto interruptedNow = [this] {
        interrupted = 0;
        buffer_.clear();
        if (edit_ && waiting_) {
            rl_replace_line("", 0);
            rl_callback_handler_remove();
        }
        waiting_ = moved_ = false;
        return Read::Interrupted;
    };
    if (edit_) {
        if (!waiting_) {
            typed = Typed{};
            rl_callback_handler_install(prompt.c_str(), onLine);
        } else if (moved_) {
            rl_forced_update_display();
        }
    } else if (!waiting_) {
        std::fputs(prompt.c_str(), stdout);
        std::fflush(stdout);
    }
    waiting_ = true;
    moved_ = false;
    for (;;) {
        if (!edit_) {
            if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
                line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                waiting_ = false;
                return Read::Line;
            }
        }
        const int ready = waitForInput(deadline, waiting);
        if (ready < 0 && errno == EINTR) {
            if (!interrupted) continue;
            return interruptedNow();
        }
        if (ready < 0) return Read::Failed;
        if (ready == 0) return Read::TimedOut;
        if (edit_) {
            rl_callback_read_char();
            if (!typed.done) continue;
            waiting_ = false;
            if (typed.ended) return Read::Ended;
            line = std::move(typed.line);
            if (!line.empty()) add_history(line.c_str());
            return Read::Line;
        }
        char chunk[4096];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return Read::Failed;
        }
        if (got == 0) {
            waiting_ = false;
            if (buffer_.empty()) return Read::Ended;
            line = std::move(buffer_);
            buffer_.clear();
            return Read::Line;
        }
        buffer_.append(chunk, static_cast<std::size_t>(got));
    }
}

}  // namespace kestrin::process
