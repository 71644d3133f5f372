#include "host/api/CommandLine.h"

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "host/api/AdsTypes.h"
#include "host/api/HostState.h"
#include "host/db/RecordTags.h"
#include "platform/session/Transcript.h"

using kestrin::session::Transcript;

int acutPrintf(const char* format, ...) {
    if (format == nullptr) return 0;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) {
        va_end(args);
        return 0;
    }
    std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    kestrin::host::print(std::string(buffer.data(), static_cast<std::size_t>(n)));
    return n;
}

void acedUpdateDisplay() { ++kestrin::host::HostState::instance().display.displayUpdates; }

namespace kestrin::host {

CommandLineEvents& commandLineEvents() {
    static CommandLineEvents events;
    return events;
}

void showPrompt(const std::string& cp1251) {
    if (cp1251.empty()) return;
    Transcript::instance().prompt(cp1251);
    commandLineEvents().promptShown.emit(cp1251);
}

void print(const std::string& cp1251) {
    if (cp1251.empty()) return;
    Transcript::instance().output(cp1251);
    commandLineEvents().printed.emit(cp1251);
}

void echoInput(const std::string& cp1251) {
    Transcript::instance().input(cp1251);
    commandLineEvents().inputEchoed.emit(cp1251);
}

void regenerate() {
    ++HostState::instance().display.regenerations;
    print("\nRegenerating model.\n");
}

void printUnknownCommand(const std::string& name) {
    print("\nUnknown command \"" + db::upperName(name) + "\".  Press F1 for help.\n");
}

}  // namespace kestrin::host

int acedCommand(int type, ...) {
    va_list args;
    va_start(args, type);
    std::vector<std::string> words;
    bool wellFormed = true;
    for (int t = type; t != 0 && t != RTNONE; t = va_arg(args, int)) {
        switch (t) {
            case RTSTR: {
                const char* s = va_arg(args, const char*);
                words.emplace_back(s != nullptr ? s : "");
                break;
            }
            case RTREAL:
            case RTANG: words.push_back(kestrin::db::formatReal(va_arg(args, double))); break;
            case RTSHORT: words.push_back(std::to_string(va_arg(args, int))); break;  // promoted short
            case RTLONG: words.push_back(std::to_string(va_arg(args, long))); break;
            case RTPOINT:
            case RT3DPOINT: {
                const double* p = va_arg(args, const double*);
                words.push_back(p == nullptr ? "" : kestrin::db::formatReal(p[0]) + "," + kestrin::db::formatReal(p[1]));
                break;
            }
            default: wellFormed = false; break;
        }
        if (!wellFormed) break;  // an unknown type: its value cannot be skipped safely
    }
    va_end(args);
    if (!wellFormed || words.empty()) return RTERROR;
    std::string name = words.front();
    while (!name.empty() && (name.front() == '_' || name.front() == '.')) name.erase(0, 1);
    if (kestrin::db::sameName(name, "REGEN") && words.size() == 1) {
        kestrin::host::regenerate();
        return RTNORM;
    }
    kestrin::host::printUnknownCommand(name);
    return RTERROR;
}
