// What a drawing's tables and header say about drawing its entities: the
// layers (off, frozen, colour), the text styles (font, family, width,
// obliquing, fixed height), the blocks by name and the alternate font.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "host/dxf/DxfDocument.h"
#include "render/Colors.h"
#include "render/FontLibrary.h"

namespace kestrin::render {

struct TextStyle {
    FontRequest font;  // the font file (group 3) and the family of its extended data
    double widthFactor = 1;
    double obliqueDeg = 0;
    double fixedHeight = 0;
};

class DrawingTables {
public:
    // The document must outlive the tables (blocks are kept by address).
    explicit DrawingTables(const dxf::Document& doc);

    // A layer is hidden when off (negative colour) or frozen (flag 1).
    bool hidden(std::string_view layer) const;
    Color layerColor(std::string_view layer) const;
    // The style by name (any letter case); "Standard" for an empty name; a
    // style the drawing lacks draws in the shape font "txt".
    const TextStyle& style(std::string_view name) const;
    const dxf::Block* block(std::string_view name) const;
    // $FONTALT, or empty.
    const std::string& alternateFont() const { return alternateFont_; }

    static std::string upper(std::string_view s);

private:
    struct Layer {
        bool hidden = false;
        Color color = kDark;
    };
    std::unordered_map<std::string, Layer> layers_;
    std::unordered_map<std::string, TextStyle> styles_;
    TextStyle missingStyle_;
    std::unordered_map<std::string, const dxf::Block*> blocks_;
    std::string alternateFont_;
};

}  // namespace kestrin::render
