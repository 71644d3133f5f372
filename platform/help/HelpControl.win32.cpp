// Windows: the help control is the library the registry names (the system's
// hhctrl.ocx by default), loaded with LoadLibrary; its export 14 is HtmlHelpA.
// It stays loaded once per process, as on Linux: a later load answers the
// same handle.
#include "platform/help/HelpControl.h"

#include "platform/help/win32/Kernel32Modules.h"

namespace kestrin::help {

namespace {

struct Control {
    void* library = nullptr;
    int attempts = 0;
};
Control& control() {
    static Control c;
    return c;
}

}  // namespace

HMODULE loadHelpControl(const char* location) {
    Control& c = control();
    ++c.attempts;
    if (c.library != nullptr) return static_cast<HMODULE>(c.library);
    if (location == nullptr || *location == '\0') return nullptr;
    c.library = win32::modules::load(location);
    return static_cast<HMODULE>(c.library);
}

HtmlHelpProc helpControlExport(HMODULE library, int ordinal) {
    if (library == nullptr || library != control().library || ordinal != kHtmlHelpOrdinal) return nullptr;
    return reinterpret_cast<HtmlHelpProc>(win32::modules::exportByOrdinal(library, ordinal));
}

bool freeHelpControl(HMODULE library) {
    Control& c = control();
    if (library == nullptr || library != c.library) return false;
    win32::modules::release(c.library);
    c.library = nullptr;
    return true;
}

int helpControlLoadAttempts() { return control().attempts; }

}  // namespace kestrin::help
