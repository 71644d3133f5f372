// The kestrin-render program: a drawing to a PNG or SVG picture.
//
//   kestrin-render DRAWING.dxf OUT.png|OUT.svg [--size WxH] [--space model|paper] [--support DIR]...
//
// Exit status: 0 written; 1 the drawing was read but holds nothing to draw in
// that space, or the picture could not be written; 2 bad arguments or a
// drawing that cannot be read.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kestrin::render {

int runRenderProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestrin::render
