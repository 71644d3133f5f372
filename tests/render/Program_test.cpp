#include "render/Program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "host/dxf/DxfFile.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "render/DrawingSketch.h"
#include "render/Output.h"
#include "tests/render/RenderTestSupport.h"

namespace kestrin::render {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runRenderProgram(args, out, err);
    return {status, out.str(), err.str()};
}

class RenderProgram : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::string(KESTRIN_BINARY_DIR) + "/render-program-test";
        ASSERT_TRUE(fs::FileSystem::current().createDirectories(dir));
    }
    std::string write(const std::string& name, const std::string& content) {
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(fs::FileSystem::current().writeFile(path, content));
        return path;
    }
    std::string dir;
};

// Progress is told as the passes go, never backwards, and ends at the whole.
TEST_F(RenderProgram, TellsItsProgressUpToTheWhole) {
    std::string drawing = "0\nSECTION\n2\nENTITIES\n";
    for (int k = 0; k < 5000; ++k)
        drawing += "0\nLINE\n8\n0\n10\n" + std::to_string(k) + "\n20\n0\n11\n" + std::to_string(k) + "\n21\n5\n";
    drawing += "0\nENDSEC\n0\nEOF\n";
    const std::string dxf = write("lines.dxf", drawing);
    std::vector<double> told;
    std::ostringstream out, err;
    ASSERT_EQ(runRenderProgram({dxf, dir + "/lines.png"}, out, err, [&](double done) { told.push_back(done); }), 0)
        << err.str();
    ASSERT_GE(told.size(), 4u);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_GT(told.front(), 0);
    EXPECT_LT(told.front(), 1.0 / 3 + 1e-9) << "the first pass is a third";
    EXPECT_EQ(told.back(), 1);
}

TEST_F(RenderProgram, DrawsTheEzdxfBlockDrawingWithNothingSkipped) {
    const std::string png = dir + "/block.png";
    const Outcome r = run({test::sourceDir() + "/examples/block-drawing.dxf", png, "--size", "400x300", "--support", test::distDir()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("skipped"), std::string::npos) << r.out;
    // The insert, the text in its block, its attribute, a text, a multiline text and a line.
    EXPECT_NE(r.out.find("drew 6 entities of model space"), std::string::npos) << r.out;
    const Image image = decodePng(test::readAll(png));
    EXPECT_EQ(image.width, 400);
    EXPECT_EQ(image.height, 300);
    std::size_t ink = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) ink += image.ink(x, y) < 128;
    EXPECT_GT(ink, 200u);
    // The same as SVG: one element per stroke.
    const std::string svg = dir + "/block.svg";
    ASSERT_EQ(run({test::sourceDir() + "/examples/block-drawing.dxf", svg}).status, 0);
    const std::string text = test::readAll(svg);
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find("<polyline points=\""), std::string::npos);
    EXPECT_NE(text.find("</svg>"), std::string::npos);
}

TEST_F(RenderProgram, BadArgumentsAreNamedAndNothingIsWritten) {
    const std::string dxfPath = test::sourceDir() + "/examples/block-drawing.dxf";
    const std::string png = dir + "/never.png";
    (void)fs::FileSystem::current().removeFile(png);
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{dxfPath, png, "--colour"}, "--colour: unknown option"},
        {{dxfPath, png, "--size"}, "--size: a value is missing"},
        {{dxfPath, png, "--size", "big"}, "--size big: expected WIDTHxHEIGHT"},
        {{dxfPath, png, "--size", "10x100000"}, "--size 10x100000: each side must lie between 16 and 16384"},
        {{dxfPath, png, "--space", "layout"}, "--space layout: expected model or paper"},
        {{dxfPath, png, "--support", dir + "/nowhere"}, "--support " + dir + "/nowhere: no such folder"},
        {{dxfPath, dir + "/out.jpg"}, "out.jpg: the output must end in .png or .svg"},
        {{dxfPath}, "a drawing and an output file are needed"},
        {{dxfPath, png, "third"}, "third: one drawing and one output file only"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("usage: kestrin-render"), std::string::npos);
    }
    EXPECT_FALSE(fs::FileSystem::current().status(png)->exists());
}

TEST_F(RenderProgram, UnreadableDrawingsAreNamedWithTheirLine) {
    const std::string png = dir + "/never.png";
    Outcome r = run({dir + "/missing.dxf", png});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing.dxf"), std::string::npos) << r.err;
    const std::string broken = write("broken.dxf", "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n  0\nSECTION\nxx\n");
    r = run({broken, png});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("broken.dxf: line 13"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::FileSystem::current().status(png)->exists());
}

TEST_F(RenderProgram, AnEmptySpaceOrAnUnwritablePictureFails) {
    const Outcome empty = run({test::sourceDir() + "/examples/block-drawing.dxf", dir + "/paper.png", "--space", "paper"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("nothing to draw in paper space"), std::string::npos) << empty.err;
    const Outcome unwritable = run({test::sourceDir() + "/examples/block-drawing.dxf", dir + "/no/such/folder/x.png"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("no/such/folder/x.png"), std::string::npos) << unwritable.err;
}

TEST_F(RenderProgram, AnOldVersionShapedDrawingInEitherSpaceWithItsAlternateFont) {
    // The drawing's $FONTALT (alt.shx) beside it stands in for its missing romans.shx.
    const std::string drawing = write("r12.dxf", test::readAll(test::sourceDir() + "/tests/render/drawings/r12-shaped.dxf"));
    write("alt.shx", test::shx({{'R', {0x80, 0}}, {'1', {0x80, 0}}, {'2', {0x80, 0}}}, 10, 2));
    const Outcome model = run({drawing, dir + "/r12.svg"});
    ASSERT_EQ(model.status, 0) << model.err;
    EXPECT_NE(model.out.find("drew 2 entities of model space"), std::string::npos) << model.out;
    EXPECT_NE(model.err.find("font 'romans.shx' not found; its texts are drawn with the drawing's alternate font 'alt.shx'"),
              std::string::npos)
        << model.err;
    EXPECT_NE(test::readAll(dir + "/r12.svg").find("stroke=\"#ff0000\""), std::string::npos) << "the red layer's line";
    const Outcome paper = run({drawing, dir + "/r12-paper.png", "--space", "paper"});
    ASSERT_EQ(paper.status, 0) << paper.err;
    EXPECT_NE(paper.out.find("drew 2 entities of paper space"), std::string::npos) << paper.out;
}

TEST_F(RenderProgram, AreasAndColoursInBothKindsOfPicture) {
    const std::string drawing = test::drawingsDir() + "/hatch.dxf";
    const Outcome svg = run({drawing, dir + "/hatch.svg", "--size", "300x200"});
    ASSERT_EQ(svg.status, 0) << svg.err;
    const std::string text = test::readAll(dir + "/hatch.svg");
    EXPECT_NE(text.find("<path fill=\"#0000ff\" fill-rule=\"evenodd\" d=\"M"), std::string::npos) << "the solid hatch";
    EXPECT_NE(text.find("stroke=\"#ff0000\""), std::string::npos) << "the red pattern";
    const Outcome png = run({drawing, dir + "/hatch.png", "--size", "300x200"});
    ASSERT_EQ(png.status, 0) << png.err;
    const Image image = decodePng(test::readAll(dir + "/hatch.png"));
    std::size_t blue = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) blue += image.at(x, y) == Color{0, 0, 255};
    EXPECT_GT(blue, 1000u);
}

// The drawing drawn entity by entity into a picture, every stroke of every
// entity whole (as the golden pictures are drawn).
Image everyStroke(const std::string& path, int width, int height) {
    const dxf::Document doc = dxf::readDxfFile(path);
    FontLibrary fonts(fs::parentPath(path), {test::distDir()}, nullptr);
    DrawingSketch sketch(doc, Space::Model, fonts);
    Picture picture(fitToPicture(sketch.extents(), width, height), width, height, false);
    for (std::size_t k = 0; k < sketch.size(); ++k) picture.addStrokes(sketch.draw(k));
    return picture.image();
}

// Entities too small in the picture for their strokes to be told apart are
// drawn from their sketches: a crowd of texts a pixel high looks as it
// does with every stroke drawn, and a drawing of nothing so small comes out
// the same to the pixel.
TEST_F(RenderProgram, EntitiesTooSmallToShowTheirStrokesAreDrawnFromTheirSketches) {
    dxf::Document doc = test::drawing();
    for (int k = 0; k < 6000; ++k)
        doc.entities.push_back(test::text("Line " + std::to_string(k), k % 100 * 10.0, k / 100 * 5.0, 2.5));
    const std::string crowd = dir + "/crowd.dxf";
    dxf::saveDxfFile(doc, crowd);
    ASSERT_EQ(run({crowd, dir + "/crowd.png", "--size", "400x300", "--support", test::distDir()}).status, 0);
    const Image sketched = decodePng(test::readAll(dir + "/crowd.png"));
    const Image exact = everyStroke(crowd, 400, 300);
    std::size_t inked = 0;
    for (int y = 0; y < exact.height; ++y)
        for (int x = 0; x < exact.width; ++x) inked += exact.ink(x, y) < 128;
    EXPECT_GT(inked, 20000u);
    EXPECT_LT(differenceRatio(sketched, exact), 0.03);

    const std::string block = test::sourceDir() + "/examples/block-drawing.dxf";
    ASSERT_EQ(run({block, dir + "/block.png", "--size", "400x300", "--support", test::distDir()}).status, 0);
    EXPECT_TRUE(decodePng(test::readAll(dir + "/block.png")).rgb == everyStroke(block, 400, 300).rgb);
}

// A band of a small entity's box is inked where strokes across it would reach.
TEST(PictureBands, ABandInksWhatStrokesAcrossItWouldReach) {
    const Affine same{};  // pixels for drawing units
    auto ink = [](const Image& im, int x, int y) { return 255 - im.ink(x, y); };
    Picture line(same, 16, 12, false), thin(same, 16, 12, false);
    Artwork stroke;
    stroke.strokes = {{{2, 5.3}, {9, 5.3}}};
    line.addStrokes(stroke);
    thin.addBand({2, 5.3, 9, 5.3}, false, kDark);
    EXPECT_TRUE(thin.image().rgb == line.image().rgb) << "without breadth, the one line";

    Picture wide(same, 16, 12, false);
    wide.addBand({2, 5.6, 9, 6.7}, false, kDark);
    Picture upright(same, 16, 12, false);
    upright.addBand({5.6, 2, 6.7, 9}, true, kDark);
    for (int a = 0; a < 12; ++a)
        for (int c = 0; c < 12; ++c) {
            const int expected = a >= 2 && a <= 9 && (c == 6 || c == 7) ? 255 : 0;
            EXPECT_EQ(ink(wide.image(), a, c), expected) << a << ", " << c;
            EXPECT_EQ(ink(upright.image(), c, a), expected) << c << ", " << a;
        }

    Picture dot(same, 16, 12, false);
    dot.addBand({3.2, 4.25, 3.2, 4.25}, false, kDark);
    int all = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) all += ink(dot.image(), x, y);
    EXPECT_NEAR(all, 255, 1) << "a pixel's worth";
    EXPECT_EQ(ink(dot.image(), 3, 4), 191);
    EXPECT_EQ(ink(dot.image(), 3, 5), 64);
}

TEST(PngFiles, RoundTripAndRefuseOtherImages) {
    Image image(20, 17);
    drawStrokes(image, {{{1, 1}, {18, 15}}, {{5, 10}}});
    const Image back = decodePng(encodePng(image));
    EXPECT_EQ(back.rgb, image.rgb);
    // Colour comes back as colour; grey pictures are written grey (the smaller file).
    Image coloured(20, 17);
    Artwork art;
    art.setColor({200, 10, 30});
    art.strokes = {{{1, 1}, {18, 15}}};
    drawArtwork(coloured, art);
    EXPECT_EQ(decodePng(encodePng(coloured)).rgb, coloured.rgb);
    EXPECT_GT(encodePng(coloured).size(), encodePng(image).size());
    // Noise does not compress: wide rows, fed to deflate one at a time, come
    // back the same from a stream of many blocks larger than the picture.
    Image noise(16000, 4);
    std::uint32_t seed = 1;
    for (auto& byte : noise.rgb) byte = static_cast<std::uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    const std::string noisy = encodePng(noise);
    EXPECT_GT(noisy.size(), noise.rgb.size());
    EXPECT_EQ(decodePng(noisy).rgb, noise.rgb);
    EXPECT_EQ(differenceRatio(image, back), 0);
    Image other(20, 17);
    EXPECT_EQ(differenceRatio(image, other), 1) << "every inked pixel differs from a blank picture";
    EXPECT_EQ(differenceRatio(image, Image(20, 18)), 1);
    EXPECT_THROW(decodePng("GIF89a"), ImageError);
    std::string truncated = encodePng(image);
    truncated.resize(truncated.size() - 20);
    EXPECT_THROW(decodePng(truncated), ImageError);
}

}  // namespace
}  // namespace kestrin::render
