#include <iostream>
#include <string>
#include <vector>

#include "render/Program.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kestrin::render::runRenderProgram(args, std::cout, std::cerr);
}
