// Drawings, fonts and pictures for the renderer's tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "host/dxf/DxfDocument.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/Template.h"
#include "platform/fonts/FontService.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "render/Scene.h"
#include "render/ShxFont.h"

namespace kestrin::render::test {

inline std::string distDir() { return KESTRIN_DIST_DIR; }
inline std::string sourceDir() { return KESTRIN_SOURCE_DIR; }
// The drawings tests/render/make_drawings.py writes at build time.
inline std::string drawingsDir() { return KESTRIN_RENDER_DRAWINGS; }
inline dxf::Document readDrawing(const std::string& name) { return dxf::readDxfFile(drawingsDir() + "/" + name); }

inline std::string readAll(const std::string& path) {
    auto bytes = fs::FileSystem::current().readFile(path);
    return bytes ? *bytes : std::string();
}

inline std::shared_ptr<const ShxFont> zorFont() {
    static auto font = ShxFont::parse(readAll(distDir() + "/zor.shx"), "zor.shx");
    return font;
}

using TagPairs = std::initializer_list<std::pair<int, std::string>>;

// A handle as DXF writes it.
inline std::string hex(std::uint64_t h) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(h));
    return buf;
}

inline dxf::Record record(const std::string& type, TagPairs tags) {
    dxf::Record r;
    r.type = type;
    for (const auto& [code, value] : tags) r.tags.push(code, value);
    return r;
}

// The template drawing with the text style "ZOR" on zor.shx and no entities.
inline dxf::Document drawing() {
    dxf::Document doc = dxf::newDrawingTemplate();
    for (dxf::Table& t : doc.tables) {
        const std::size_t i = t.head.tags.find(2);
        if (i != dxf::TagList::npos && t.head.tags[i].value == "STYLE")
            t.entries.push_back(record("STYLE", {{2, "ZOR"}, {70, "0"}, {40, "0.0"}, {41, "1.0"}, {50, "0.0"}, {3, "Zor.shx"}}));
    }
    doc.entities.clear();
    return doc;
}

inline dxf::Record text(const std::string& s, double x, double y, double h, TagPairs more = {},
                        const std::string& style = "ZOR") {
    dxf::Record r = record("TEXT", {{8, "0"}, {7, style}, {10, std::to_string(x)}, {20, std::to_string(y)},
                                    {40, std::to_string(h)}, {1, s}});
    for (const auto& [code, value] : more) r.tags.push(code, value);
    return r;
}

inline dxf::Block block(const std::string& name, double bx, double by, std::vector<dxf::Record> entities) {
    dxf::Block b;
    b.begin = record("BLOCK", {{8, "0"}, {2, name}, {70, "0"}, {10, std::to_string(bx)}, {20, std::to_string(by)}});
    b.entities = std::move(entities);
    b.end = record("ENDBLK", {{8, "0"}});
    return b;
}

// A drawing of `count` short lines, of which those at `bombs` are inserts
// that each count about 1.2 million entities against the drawer's limit:
// 121 copies of a block of 10,000 copies of a hidden line, and of one line
// shown. The k-th entity has handle 0x100 + k.
inline dxf::Document crowdWithBombs(std::size_t count, const std::vector<std::size_t>& bombs) {
    dxf::Document doc = drawing();
    doc.blocks.push_back(block("HIDDEN", 0, 0, {record("LINE", {{8, "0"}, {60, "1"}, {11, "1"}})}));
    doc.blocks.push_back(block("ARRAY", 0, 0,
                               {record("INSERT", {{8, "0"}, {2, "HIDDEN"}, {70, "100"}, {71, "100"}, {44, "1"}, {45, "1"}}),
                                record("LINE", {{8, "0"}, {11, "1"}, {21, "1"}})}));
    for (std::size_t k = 0; k < count; ++k) {
        const std::string x = std::to_string(k * 10.0);
        const bool bomb = std::find(bombs.begin(), bombs.end(), k) != bombs.end();
        doc.entities.push_back(bomb ? record("INSERT", {{5, hex(0x100 + k)}, {8, "0"}, {2, "ARRAY"}, {10, x},
                                                       {70, "11"}, {71, "11"}, {44, "2"}, {45, "2"}})
                                    : record("LINE", {{5, hex(0x100 + k)}, {8, "0"}, {10, x}, {11, x}, {21, "1"}}));
    }
    return doc;
}

// A font library that finds zor.shx in dist/ and collects its notes.
struct Fonts {
    std::vector<std::string> notes;
    FontLibrary library{"", {distDir()}, [this](const std::string& n) { notes.push_back(n); }};
};

// The system's fonts as far as fonts-dejavu-core goes (which the tests
// install): whatever else a machine has, the pictures come out the same.
// DejaVu Sans stands in for any other family.
class DejaVuFonts : public fonts::FontService {
public:
    DejaVuFonts() { fonts::FontService::install(this); }
    ~DejaVuFonts() override { fonts::FontService::install(nullptr); }
    DejaVuFonts(const DejaVuFonts&) = delete;
    DejaVuFonts& operator=(const DejaVuFonts&) = delete;

    std::optional<fonts::FontFile> findFile(const std::string& fileName) override {
        return dejaVu(fonts::FontService::system().findFile(fileName));
    }
    std::optional<fonts::FontFile> findFamily(const std::string& family, fonts::FontStyle style) override {
        return dejaVu(fonts::FontService::system().findFamily(family, style));
    }
    std::optional<fonts::FontFile> substitute(const std::string&, fonts::FontStyle style) override {
        return fonts::FontService::system().findFamily("DejaVu Sans", style);
    }
    fs::Result<std::shared_ptr<const fonts::OutlineFace>> load(const std::string& path, int face) override {
        return fonts::FontService::system().load(path, face);
    }

private:
    static std::optional<fonts::FontFile> dejaVu(std::optional<fonts::FontFile> f) {
        if (f && fs::fileName(f->path).rfind("DejaVu", 0) != 0) return std::nullopt;
        return f;
    }
};

// A shape font built from shapes given as bytes (the closing 0 included);
// shape 0 holds above and below.
inline std::string shx(std::vector<std::pair<int, std::vector<int>>> shapes, int above = 10, int below = 2) {
    shapes.insert(shapes.begin(), {0, {above, below, 0, 0}});
    std::string out = "AutoCAD-86 shapes 1.0\r\n\x1a";
    auto put16 = [&](int v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    put16(shapes.front().first);
    put16(shapes.back().first);
    put16(static_cast<int>(shapes.size()));
    for (const auto& [n, bytes] : shapes) {
        put16(n);
        put16(static_cast<int>(bytes.size() + 2));  // name "s" and its 0
    }
    for (const auto& [n, bytes] : shapes) {
        out += "s";
        out += '\0';
        for (int b : bytes) out += static_cast<char>(b & 0xFF);
    }
    out += "EOF";
    return out;
}

}  // namespace kestrin::render::test
