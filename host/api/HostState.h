// The host's state behind its interface functions: the working drawing, the
// support path, input sent to the document, and what the display did.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

class AcDbDatabase;

namespace kestrin::host {

struct DisplayCounters {
    int queuedFlushes = 0;   // queueForGraphicsFlush
    int graphicsFlushes = 0; // flushGraphics
    int displayUpdates = 0;  // acedUpdateDisplay
    int regenerations = 0;   // REGEN
};

struct HostState {
    static HostState& instance();

    std::unique_ptr<AcDbDatabase> database;
    AcDbDatabase* working = nullptr;  // the working database (null: there is none)
    std::string drawingPath;          // UTF-8; empty for a new drawing
    std::vector<std::string> supportPath;
    struct Sent {
        std::string text;
        bool echo;
    };
    std::deque<Sent> sentInput;
    DisplayCounters display;
};

// Readable by tests and a later GUI.
const DisplayCounters& displayCounters();

}  // namespace kestrin::host
