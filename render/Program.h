// The kestrin-render program: a drawing to a PNG or SVG picture.
//
//   kestrin-render DRAWING.dxf OUT.png|OUT.svg [--size WxH] [--space model|paper] [--support DIR]...
//
// Exit status: 0 written; 1 the drawing was read but holds nothing to draw in
// that space, or the picture could not be written; 2 bad arguments or a
// drawing that cannot be read.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kestrin::render {

// `progress`, when given, hears how much of the drawing is drawn (0 to 1)
// as the work goes on.
int runRenderProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const std::function<void(double)>& progress = {});

}  // namespace kestrin::render
