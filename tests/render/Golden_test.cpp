// Small drawings rendered and compared with pictures checked by eye
// (tests/render/golden/*.png). KESTRIN_UPDATE_GOLDEN=1 writes them afresh:
// look at every one before committing it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "render/DrawingSketch.h"
#include "render/Output.h"
#include "render/Scene.h"
#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

using test::record;
using test::TagPairs;
using test::text;

constexpr double kMaxDifference = 0.02;  // share of inked pixels

std::string num(double v) { return std::to_string(v); }

dxf::Record line(double x0, double y0, double x1, double y1) {
    return record("LINE", {{8, "0"}, {10, num(x0)}, {20, num(y0)}, {11, num(x1)}, {21, num(y1)}});
}

// A small cross on an alignment point.
void mark(dxf::Document& doc, double x, double y) {
    doc.entities.push_back(line(x - 0.6, y, x + 0.6, y));
    doc.entities.push_back(line(x, y - 0.6, x, y + 0.6));
}

void aligned(dxf::Document& doc, const std::string& s, double x, double y, int h, int v) {
    mark(doc, x, y);
    doc.entities.push_back(text(s, x, y, 2.5, {{11, num(x)}, {21, num(y)}, {72, std::to_string(h)}, {73, std::to_string(v)}}));
}

void compareWithGolden(const std::string& name, const dxf::Document& doc, int width, int height) {
    test::DejaVuFonts system;
    test::Fonts fonts;
    const Scene scene = buildScene(doc, Space::Model, fonts.library);
    EXPECT_TRUE(scene.skipped.empty()) << scene.skippedSummary();
    const Image image = rasterise(scene, width, height);
    const std::string path = test::sourceDir() + "/tests/render/golden/" + name + ".png";
    fs::FileSystem& files = fs::FileSystem::current();
    const auto update = files.environment("KESTRIN_UPDATE_GOLDEN");
    if (update && *update == "1") {
        ASSERT_TRUE(files.writeFile(path, encodePng(image))) << path;
        GTEST_SKIP() << "wrote " << path;
    }
    // Drawn entity by entity, as kestrin-render draws a drawing of any size,
    // the picture and the SVG text are the same as from the whole scene.
    DrawingSketch sketch(doc, Space::Model, fonts.library);
    EXPECT_EQ(sketch.counts().drawn, scene.drawn);
    const Affine toPixels = fitToPicture(sketch.extents(), width, height);
    auto eachEntity = [&](auto&& take) {
        for (std::size_t k = 0; k < sketch.size(); ++k) take(sketch.draw(k));
    };
    Picture picture(toPixels, width, height, !scene.fills.empty());
    eachEntity([&](const Artwork& art) { picture.addAreas(art); });
    eachEntity([&](const Artwork& art) { picture.addStrokes(art); });
    EXPECT_TRUE(picture.image().rgb == image.rgb) << name << ": drawn piece by piece, the picture differs";
    std::string svg;
    SvgPicture pieces(toPixels, width, height, [&svg](std::string_view part) { svg += part; });
    eachEntity([&](const Artwork& art) { pieces.addAreas(art); });
    eachEntity([&](const Artwork& art) { pieces.addStrokes(art); });
    pieces.finish();
    EXPECT_EQ(svg, svgText(fitted(scene, width, height), width, height)) << name;

    const std::string bytes = test::readAll(path);
    ASSERT_FALSE(bytes.empty()) << path << " is missing (KESTRIN_UPDATE_GOLDEN=1 makes it)";
    const Image golden = decodePng(bytes);
    const double difference = differenceRatio(image, golden);
    EXPECT_LT(difference, kMaxDifference) << name << ": " << difference * 100 << "% of the inked pixels differ";
    if (difference >= kMaxDifference) {  // kept for a look beside the golden one
        const std::string actual = std::string(KESTRIN_BINARY_DIR) + "/" + name + ".actual.png";
        if (files.writeFile(actual, encodePng(image))) ADD_FAILURE() << "this run's picture: " << actual;
    }
}

TEST(Golden, EveryJustification) {
    dxf::Document doc = test::drawing();
    // Rows: baseline, bottom, middle, top; columns: left, center, right.
    const char* rows[] = {"Base", "Bottom", "Middle", "Top"};
    for (int v = 0; v < 4; ++v)
        for (int h = 0; h < 3; ++h) aligned(doc, std::string(rows[v]) + "gy", 10 + 32.0 * h, 40 - 10.0 * v, h, v);
    // Middle (72 = 4), aligned and fit between two marked points.
    aligned(doc, "Middle", 42, -5, 4, 0);
    for (int k = 0; k < 2; ++k) {
        const double y = -15 - 8.0 * k;
        mark(doc, 0, y);
        mark(doc, 30 + 20.0 * k, y + 5.0 * k);
        doc.entities.push_back(text(k == 0 ? "Aligned" : "Fit text", 0, y, 2.5,
                                    {{11, num(30 + 20.0 * k)}, {21, num(y + 5.0 * k)}, {72, k == 0 ? "3" : "5"}}));
    }
    compareWithGolden("justify", doc, 480, 360);
}

TEST(Golden, SlantWidthAndRotation) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(text("Slant 15", 0, 30, 3, {{51, "15"}}));
    doc.entities.push_back(text("Slant -15", 30, 30, 3, {{51, "-15"}}));
    doc.entities.push_back(text("Wide 2.0", 0, 22, 3, {{41, "2"}}));
    doc.entities.push_back(text("Narrow 0.5", 0, 14, 3, {{41, "0.5"}}));
    doc.entities.push_back(text("Turned 30", 40, 0, 3, {{50, "30"}}));
    doc.entities.push_back(text("Up 90", 70, 0, 3, {{50, "90"}}));
    doc.entities.push_back(text("Backward", 0, 6, 3, {{71, "2"}}));
    doc.entities.push_back(text("Upside", 20, 0, 3, {{71, "4"}}));
    compareWithGolden("slant-width-rotation", doc, 480, 320);
}

TEST(Golden, CodesAndSymbolsOfTheOwnFont) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(text("%%OOver%%o %%UUnder%%u %%O%%Uboth%%u%%o %%uopen", 0, 40, 3));
    doc.entities.push_back(text("%%c50 %%d45 %%p0,1 %%36 %%127 %%95 100%%%", 0, 34, 3));
    doc.entities.push_back(text("x%%1722%%173 + y%%174i%%175 = #1", 0, 28, 3));
    doc.entities.push_back(text("%%142 %%130 %%143 %%133 %%134 %%139 %%138 %%136 %%137 %%189 %%148 %%149 %%144 %%178 %%181 %%135", 0, 22, 3));
    doc.entities.push_back(text("%%147%%165%%129%%176%%177%%164%%180%%182%%187%%128 %%188%%150%%162%%131%%145", 0, 16, 3));
    doc.entities.push_back(text("%%167%%170%%168%%140%%163%%141%%184%%166%%186%%183%%185%%146%%179%%169", 0, 10, 3));
    doc.entities.push_back(text("\xd7\xe5\xf0\xf2\xe5\xe6 %%c20", 0, 4, 3, {}, "Standard"));  // CP1251, built-in font
    compareWithGolden("codes", doc, 640, 320);
}

TEST(Golden, BlockWithAttributesAndCurves) {
    dxf::Document doc = test::drawing();
    doc.blocks.push_back(test::block("FRAME", 0, 0,
        {line(0, 0, 40, 0), line(40, 0, 40, 15), line(40, 15, 0, 15), line(0, 15, 0, 0),
         record("CIRCLE", {{8, "0"}, {10, "34"}, {20, "7.5"}, {40, "4"}}),
         record("ARC", {{8, "0"}, {10, "34"}, {20, "7.5"}, {40, "2"}, {50, "0"}, {51, "180"}}),
         record("LWPOLYLINE", {{8, "0"}, {90, "3"}, {70, "0"}, {10, "2"}, {20, "2"}, {42, "0.5"}, {10, "10"}, {20, "2"}, {10, "10"}, {20, "6"}}),
         record("ATTDEF", {{8, "0"}, {7, "ZOR"}, {10, "2"}, {20, "10"}, {40, "2.5"}, {1, ""}, {2, "NAME"}, {70, "0"}}),
         record("ATTDEF", {{8, "0"}, {7, "ZOR"}, {10, "2"}, {20, "12.5"}, {40, "1.5"}, {1, "const"}, {2, "C"}, {70, "2"}})}));
    doc.entities.push_back(record("INSERT", {{8, "0"}, {66, "1"}, {2, "FRAME"}, {10, "0"}, {20, "0"}}));
    doc.entities.push_back(record("ATTRIB", {{8, "0"}, {7, "ZOR"}, {10, "2"}, {20, "10"}, {40, "2.5"}, {1, "\xd1\xf2\xf0\xee\xea\xe0"}, {2, "NAME"}, {70, "0"}}));
    doc.entities.push_back(record("SEQEND", {{8, "0"}}));
    doc.entities.push_back(record("INSERT", {{8, "0"}, {66, "1"}, {2, "FRAME"}, {10, "50"}, {20, "0"}, {41, "0.8"}, {42, "0.8"}, {50, "20"}}));
    doc.entities.push_back(record("ATTRIB", {{8, "0"}, {7, "ZOR"}, {10, "51"}, {20, "8"}, {40, "2"}, {50, "20"}, {1, "Turned"}, {2, "NAME"}, {70, "0"}}));
    doc.entities.push_back(record("SEQEND", {{8, "0"}}));
    doc.entities.push_back(record("POINT", {{8, "0"}, {10, "45"}, {20, "-5"}}));
    doc.entities.push_back(record("MTEXT", {{8, "0"}, {7, "ZOR"}, {10, "0"}, {20, "-4"}, {40, "2"}, {71, "1"}, {1, "{\\C1;Two} lines\\Pof \\LMTEXT\\l"}}));
    compareWithGolden("block", doc, 480, 240);
}

dxf::Record mtext(const std::string& content, double x, double y, double height, TagPairs more = {}) {
    dxf::Record r = record("MTEXT", {{8, "0"}, {7, "ZOR"}, {10, num(x)}, {20, num(y)}, {40, num(height)}});
    for (const auto& [code, value] : more) r.tags.push(code, value);
    // Long contents come in pieces of 250 characters, the last in group 1.
    for (std::size_t at = 0; at < content.size(); at += 250)
        r.tags.push(at + 250 < content.size() ? 3 : 1, content.substr(at, 250));
    return r;
}

TEST(Golden, TrueTypeTexts) {
    // DejaVu Sans by file name (Cyrillic, %% codes, a character code page 1251
    // lacks), DejaVu Serif bold by family alone, a missing font's stand-in.
    compareWithGolden("truetype", test::readDrawing("truetype.dxf"), 640, 200);
}

TEST(Golden, MultilineTextWithInlineCodes) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(mtext(
        "{\\fDejaVu Sans;Sans} and {\\fDejaVu Serif|b1;bold serif}, \\H1.5x;big\\H0.6667x; "
        "\\W2;wide\\W1; \\Q20;slanted\\Q0; \\T2;spaced\\T1;\\P"
        "\\LUnder\\l, \\Oover\\o, \\Kthrough\\k; {\\C1;red}, {\\C5;blue}\\~and\\~{\\c65280;green}; "
        "45%%d %%p0,1 %%c8 \\{braces\\}\\P"
        "A long paragraph wraps to the width of the text, word by word, as far as it goes.",
        0, 0, 3, {{41, "100"}}));
    // Turned 30 degrees about its middle; a bottom-right one, spaced wider: each on a marked point.
    mark(doc, 30, -45);
    doc.entities.push_back(mtext("Middle\\Pcentre", 30, -45, 3, {{71, "5"}, {11, num(std::cos(kPi / 6))}, {21, "0.5"}}));
    mark(doc, 100, -55);
    doc.entities.push_back(mtext("Bottom\\Pright", 100, -55, 3, {{71, "9"}, {44, "1.5"}}));
    compareWithGolden("mtext", doc, 640, 400);
}

TEST(Golden, StackedFractions) {
    dxf::Document doc = test::drawing();
    doc.entities.push_back(mtext("1\\S1/2; + \\S3/4; = 2\\S1/4;, \\S5#8; inch, 20\\S+0.1^-0.2;", 0, 0, 5));
    doc.entities.push_back(
        mtext("{\\fDejaVu Sans;%%c20\\S+0,021^0; and \\A1;\\S12,5/100; centred}", 0, -12, 5));
    compareWithGolden("stacked", doc, 640, 240);
}

TEST(Golden, Hatches) {
    // Solid with an island and a bulged edge; a pattern over lines, a
    // clockwise arc, an elliptical arc and a spline, with a round island; a dashed one.
    compareWithGolden("hatch", test::readDrawing("hatch.dxf"), 640, 240);
}

TEST(Golden, DimensionsThroughTheirBlocks) {
    compareWithGolden("dimension", test::readDrawing("dimension.dxf"), 640, 400);
}

}  // namespace
}  // namespace kestrin::render
