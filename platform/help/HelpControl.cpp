#include "platform/help/HelpControl.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <strings.h>

#include "platform/shell/HostPath.h"
#include "platform/shell/ProcessStart.h"
#include "platform/shell/Shell.h"

namespace kestrin::help {

namespace {

struct Control {
    std::string viewer;  // the program's path; empty while not loaded
    int attempts = 0;
};
Control& control() {
    static Control c;
    return c;
}

HMODULE theHandle() { return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x6800)); }

bool namesTheControl(const std::string& location) {
    const std::size_t slash = location.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? location : location.substr(slash + 1);
    return ::strcasecmp(name.c_str(), kHelpControlFileName) == 0;
}

std::optional<std::string> viewerByName() {
    if (const char* configured = std::getenv("KESTRIN_CHM_VIEWER"); configured && *configured)
        if (const shell::FoundProgram found = shell::findProgram(configured); found.error == 0) return found.path;
    for (const char* name : {"xchm", "kchmviewer"})
        if (const shell::FoundProgram found = shell::findProgram(name); found.error == 0) return found.path;
    if (const shell::FoundProgram found = shell::findProgram(shell::openerProgram()); found.error == 0)
        return found.path;
    return std::nullopt;
}

HWND htmlHelp(HWND, const char* file, UINT command, DWORD_PTR) {
    const std::string& viewer = control().viewer;
    if (viewer.empty() || file == nullptr || *file == '\0' || command != HH_DISPLAY_TOPIC) return nullptr;
    const auto path = shell::hostPathOf(file);
    if (!path) return nullptr;
    if (shell::startDetached({viewer, *path}) != 0) return nullptr;
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x6810));
}

}  // namespace

HMODULE loadHelpControl(const char* location) {
    Control& c = control();
    ++c.attempts;
    if (!c.viewer.empty()) return theHandle();
    if (location == nullptr || *location == '\0') return nullptr;
    std::optional<std::string> viewer;
    if (namesTheControl(location)) {
        viewer = viewerByName();
    } else if (const auto path = shell::hostPathOf(location)) {
        if (const shell::FoundProgram found = shell::findProgram(*path); found.error == 0 && path->find('/') != std::string::npos)
            viewer = found.path;
    }
    if (!viewer) return nullptr;
    c.viewer = *viewer;
    return theHandle();
}

HtmlHelpProc helpControlExport(HMODULE library, int ordinal) {
    if (library != theHandle() || control().viewer.empty() || ordinal != kHtmlHelpOrdinal) return nullptr;
    return &htmlHelp;
}

bool freeHelpControl(HMODULE library) {
    if (library != theHandle() || control().viewer.empty()) return false;
    control().viewer.clear();
    return true;
}

int helpControlLoadAttempts() { return control().attempts; }

}  // namespace kestrin::help
