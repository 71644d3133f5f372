// A drawing's entities as strokes in drawing units: the DXF document is read
// as it stands (tables, blocks, entities), nothing is changed.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/dxf/DxfDocument.h"
#include "render/Geometry.h"
#include "render/ShxFont.h"

namespace kestrin::render {

// Finds and loads the fonts of text styles. A file name is looked for as the
// host looks: in the drawing's folder, the current folder, then each support
// folder, in any letter case. A font not found or not readable is replaced
// by the built-in font, and `note` hears so once per font name.
class FontLibrary {
public:
    FontLibrary(std::string drawingFolder, std::vector<std::string> supportFolders,
                std::function<void(const std::string&)> note);

    // The font of a style's font file name ("zor.shx", "C:\Fonts\Zor.shx", "txt").
    const ShxFont& font(const std::string& fileName);
    // Whether that font is the built-in one in place of the named file.
    bool replaced(const std::string& fileName);
    const ShxFont& builtin();
    // Where the named file is found; empty when nowhere.
    std::string find(const std::string& fileName) const;

private:
    std::string drawingFolder_;
    std::vector<std::string> supportFolders_;
    std::function<void(const std::string&)> note_;
    std::map<std::string, std::shared_ptr<const ShxFont>> loaded_;  // by lower-case file name
    std::shared_ptr<const ShxFont> builtin_;
};

enum class Space { Model, Paper };

struct Scene {
    std::vector<Polyline> strokes;
    std::size_t drawn = 0;                  // entities drawn, nested ones included
    std::map<std::string, std::size_t> skipped;  // entity types not drawn, by count

    // "skipped: 3 HATCH, 1 SPLINE", or empty when nothing was skipped.
    std::string skippedSummary() const;
};

Scene buildScene(const dxf::Document& doc, Space space, FontLibrary& fonts);

}  // namespace kestrin::render
