// Windows: the console edits the line itself (and keeps its history), so
// lines are read as they come, by a thread of their own, since a console read
// cannot wait with a deadline; Ctrl+C comes through the console's control
// handler.
#include "platform/process/Terminal.h"

#include <windows.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace kestrin::process {

namespace {

struct Input {
    std::mutex lock;
    std::condition_variable changed;
    std::string buffer;  // read, not yet handed out
    bool ended = false;
    bool failed = false;
    bool interrupted = false;
    bool handling = false;  // a TerminalInput lives
    bool reading = false;   // the reader thread runs
};

Input& input() {
    static Input* shared = new Input;  // the reader thread may outlive every other object
    return *shared;
}

BOOL WINAPI onControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    Input& in = input();
    std::lock_guard<std::mutex> hold(in.lock);
    if (!in.handling) return FALSE;
    in.interrupted = true;
    in.changed.notify_all();
    return TRUE;
}

void readForever() {
    Input& in = input();
    HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
    for (;;) {
        char chunk[4096];
        DWORD got = 0;
        const BOOL ok = ReadFile(handle, chunk, sizeof chunk, &got, nullptr);
        std::lock_guard<std::mutex> hold(in.lock);
        if (!ok && GetLastError() == ERROR_OPERATION_ABORTED) continue;  // Ctrl+C ended the console read
        if (!ok && GetLastError() != ERROR_BROKEN_PIPE) {
            in.failed = true;
        } else if (got == 0) {
            in.ended = true;
        } else {
            for (DWORD i = 0; i < got; ++i)
                if (chunk[i] != '\r') in.buffer.push_back(chunk[i]);
        }
        in.changed.notify_all();
        if (in.failed || in.ended) return;
    }
}

}  // namespace

TerminalInput::TerminalInput(bool edit) : edit_(edit) {
    Input& in = input();
    {
        std::lock_guard<std::mutex> hold(in.lock);
        in.handling = true;
        in.interrupted = false;
        if (!in.reading) {
            in.reading = true;
            std::thread(readForever).detach();
        }
    }
    SetConsoleCtrlHandler(onControl, TRUE);
}

TerminalInput::~TerminalInput() {
    SetConsoleCtrlHandler(onControl, FALSE);
    Input& in = input();
    std::lock_guard<std::mutex> hold(in.lock);
    in.handling = false;
}

void TerminalInput::makeRoomForOutput() {}

TerminalInput::Read TerminalInput::readLine(std::string& line, const std::string& prompt, Deadline deadline) {
    if (!waiting_) {
        std::fputs(prompt.c_str(), stdout);
        std::fflush(stdout);
    }
    waiting_ = true;
    Input& in = input();
    std::unique_lock<std::mutex> hold(in.lock);
    for (;;) {
        if (in.interrupted) {
            in.interrupted = false;
            in.buffer.clear();
            waiting_ = false;
            return Read::Interrupted;
        }
        if (const auto nl = in.buffer.find('\n'); nl != std::string::npos) {
            line = in.buffer.substr(0, nl);
            in.buffer.erase(0, nl + 1);
            waiting_ = false;
            return Read::Line;
        }
        if (in.failed) return Read::Failed;
        if (in.ended) {
            waiting_ = false;
            if (in.buffer.empty()) return Read::Ended;
            line = std::move(in.buffer);
            in.buffer.clear();
            return Read::Line;
        }
        if (!deadline) {
            in.changed.wait(hold);
        } else if (in.changed.wait_until(hold, *deadline) == std::cv_status::timeout) {
            return Read::TimedOut;
        }
    }
}

}  // namespace kestrin::process
