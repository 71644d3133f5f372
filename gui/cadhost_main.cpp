// cadhost: runs a session of the stand-in CAD host.
#include <cstdio>
#include <exception>
#include <iostream>

#include "host/cadhost/HostProgram.h"

int main(int argc, char** argv) {
    try {
        return kestrin::cadhost::HostProgram().run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cadhost: internal error: %s\n", e.what());
        return 1;
    }
}
