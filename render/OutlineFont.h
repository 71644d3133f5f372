// An outline (TrueType, OpenType) font as glyphs: each character's contours
// flattened into rings in font units the first time it is drawn, then kept.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/fonts/FontService.h"
#include "render/ShxFont.h"

namespace kestrin::render {

class OutlineFont {
public:
    OutlineFont(std::shared_ptr<const fonts::OutlineFace> face, std::string name);

    // What the notes call it: the family, else the file.
    const std::string& name() const { return name_; }
    // Height of a capital (of "H") above the baseline, and depth below it,
    // in font units: a text's height is its capitals' height.
    double above() const { return above_; }
    double below() const { return below_; }
    // Null for a character the font lacks.
    const Glyph* glyph(char32_t cp) const;
    bool has(char32_t cp) const { return glyph(cp) != nullptr; }

private:
    std::shared_ptr<const fonts::OutlineFace> face_;
    std::string name_;
    double above_ = 0;
    double below_ = 0;
    double tolerance_ = 1;  // font units a flattened curve may stray
    mutable std::mutex cacheLock_;
    mutable std::unordered_map<char32_t, std::unique_ptr<Glyph>> cache_;  // null: lacking
};

}  // namespace kestrin::render
