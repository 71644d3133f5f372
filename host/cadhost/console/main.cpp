// cadhost without the desktop windows: the command line alone, where the
// build has no Qt (Windows). --gui is refused as a bad argument.
#include <cstdio>
#include <exception>

#include "host/cadhost/HostProgram.h"

int main(int argc, char** argv) {
    try {
        return kestrin::cadhost::HostProgram().run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cadhost: internal error: %s\n", e.what());
        return 1;
    }
}
