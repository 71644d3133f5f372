// cadhost: runs a session of the stand-in CAD host, at the command line or,
// with --gui, in the desktop window.
#include <cstdio>
#include <exception>

#include "gui/GuiDesktop.h"
#include "host/cadhost/HostProgram.h"

// Under the leak checker (the asan preset): fontconfig, which Qt uses to find
// fonts, keeps allocations that nothing frees at exit; they are not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
    try {
        return kestrin::cadhost::HostProgram(kestrin::gui::makeDesktop).run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cadhost: internal error: %s\n", e.what());
        return 1;
    }
}
