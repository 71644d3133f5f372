// An outline face read by FreeType from a font file's bytes (TrueType,
// OpenType, the faces of a collection).
#pragma once

#include <memory>
#include <string>

#include "platform/fonts/FontService.h"

namespace kestrin::fonts {

// Face `face` of the font in `bytes`; the error names `path`.
fs::Result<std::shared_ptr<const OutlineFace>> freeTypeFace(std::string bytes, const std::string& path, int face);

}  // namespace kestrin::fonts
