// Finds and loads the fonts of text styles. A file name is looked for as the
// host looks: in the drawing's folder, the current folder, then each support
// folder, in any letter case. An outline font (.ttf, .otf, .ttc, or a style
// that names only a family) not there is looked for among the system's
// fonts, by file name, then by family; the system's nearest font stands in
// for one it lacks. A shape font not found or not readable is replaced by
// the drawing's alternate font ($FONTALT), else by the built-in font (the
// own font, compiled in, which has Latin and Cyrillic letters). `note`
// hears of each font replaced, once.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/fonts/FontService.h"
#include "render/OutlineFont.h"
#include "render/ShxFont.h"
#include "render/TextLayout.h"

namespace kestrin::render {

// What a text style (or an MTEXT font code) asks for.
struct FontRequest {
    std::string file;    // "romans.shx", "C:\Fonts\arial.ttf", "txt", or empty
    std::string family;  // of an outline font: "Arial"; may be empty
    fonts::FontStyle style;
};

class FontLibrary {
public:
    FontLibrary(std::string drawingFolder, std::vector<std::string> supportFolders,
                std::function<void(const std::string&)> note);

    // The font that stands in for shape fonts not found ($FONTALT); none when empty.
    void setAlternate(const std::string& fileName);
    // The fonts a text in that style is drawn with.
    TextFonts fonts(const FontRequest& request);

    // The shape font of a style's font file name ("zor.shx", "C:\Fonts\Zor.shx",
    // "txt"): the built-in one when it is not found (no alternate is tried).
    const ShxFont& font(const std::string& fileName);
    // Whether that font is the built-in one in place of the named file.
    bool replaced(const std::string& fileName);
    const ShxFont& builtin();
    // Where the named file is found; empty when nowhere.
    std::string find(const std::string& fileName) const;

    // Whether a font file name is an outline font's.
    static bool outlineName(const std::string& fileName);

private:
    std::shared_ptr<const ShxFont> loadShape(const std::string& fileName, std::string& why);
    const OutlineFont* outline(const FontRequest& request, const std::string& key);
    std::shared_ptr<const OutlineFont> loadOutline(const fonts::FontFile& file, std::string& why);

    std::string drawingFolder_;
    std::vector<std::string> supportFolders_;
    std::function<void(const std::string&)> note_;
    std::string alternate_;
    std::map<std::string, std::shared_ptr<const ShxFont>> shapes_;       // by lower-case file name; null: none
    std::map<std::string, std::shared_ptr<const OutlineFont>> outlines_;  // by request; null: none at all
    std::map<std::string, std::shared_ptr<const OutlineFont>> faces_;     // by file and face
    std::map<std::string, TextFonts> resolved_;                           // by request
    std::shared_ptr<const ShxFont> builtin_;
    // Texts are drawn on several threads at once: one at a time looks up,
    // loads and notes here (the fonts themselves make their glyphs safely).
    std::recursive_mutex lock_;
};

}  // namespace kestrin::render
