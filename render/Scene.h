// A drawing's entities as strokes and areas in drawing units: the DXF
// document is read as it stands (tables, blocks, entities), nothing is
// changed.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "host/dxf/DxfDocument.h"
#include "render/Artwork.h"
#include "render/FontLibrary.h"

namespace kestrin::render {

enum class Space { Model, Paper };

struct Scene : Artwork {
    std::size_t drawn = 0;                       // entities drawn, nested ones included
    std::map<std::string, std::size_t> skipped;  // entity types not drawn, by count

    // "skipped: 3 WIPEOUT, 1 MLINE", or empty when nothing was skipped.
    std::string skippedSummary() const;
    // What `other` drew and skipped counted here as well.
    void addCounts(const Scene& other);
};

// The scene's texts refer to the glyphs of `fonts`' fonts: `fonts` is kept
// while the scene is used (or the scene flattened).
Scene buildScene(const dxf::Document& doc, Space space, FontLibrary& fonts);

}  // namespace kestrin::render
