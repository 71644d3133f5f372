// What a drawing draws fitted to a picture: a colour raster (PNG) or SVG
// text, areas first, then strokes, on white.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "render/Artwork.h"

namespace kestrin::render {

class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Drawing units -> pixels (y down): the box of the strokes centred in the
// picture, `margin` pixels kept free on each side.
Affine fitToPicture(const Box& extents, int width, int height, int margin = 8);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // row by row, three bytes a pixel

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3, 255) {}
    Color at(int x, int y) const {
        const std::size_t k = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[k], rgb[k + 1], rgb[k + 2]};
    }
    // The darkest channel: 0 black, 255 white.
    int ink(int x, int y) const {
        const Color c = at(x, y);
        return std::min({c.r, c.g, c.b});
    }
};

// Areas, then anti-aliased one-pixel strokes, in pixels; a single point is
// a dot. A stroke's pixel takes the stroke that covers it most.
void drawArtwork(Image& image, const Artwork& inPixels);
// Dark strokes.
void drawStrokes(Image& image, const std::vector<Polyline>& strokes);

// The artwork (drawing units) fitted to a picture of that size, in pixels.
Artwork fitted(Artwork art, int width, int height);
// The fitted artwork drawn on white.
Image rasterise(const Artwork& art, int width, int height);
Image rasterise(const std::vector<Polyline>& strokes, int width, int height);

// Grey-scale when every pixel is grey, else RGB.
std::string encodePng(const Image& image);
// Reads 8-bit grey-scale and RGB PNG files (as encodePng writes them); ImageError otherwise.
Image decodePng(std::string_view bytes);

std::string svgText(const Artwork& inPixels, int width, int height);

// A picture of a drawing made piece by piece, as it is drawn, keeping
// nothing of the pieces: the box of everything known first, then the areas
// of every piece, then the strokes of every piece (areas under strokes, as
// rasterise draws them). Pieces in drawing units.
class Picture {
public:
    // `toPixels`: fitToPicture of the box of everything. `hasAreas`: some
    // piece has areas (strokes then blend over them).
    Picture(const Affine& toPixels, int width, int height, bool hasAreas);
    ~Picture();
    void addAreas(const Artwork& art);
    void addStrokes(const Artwork& art);  // after every piece's areas
    // The strokes of a piece too small to tell them apart, drawn as they
    // would cover the part `band` of its box at the most: a line along it
    // (up it when `upright`) through each pixel centre that a stroke across
    // it would reach (one line when it has no breadth; a band without length
    // is a dot, a pixel's worth of ink).
    void addBand(const Box& band, bool upright, Color color);
    const Image& image() const { return image_; }

private:
    struct Painter;
    Affine toPixels_;
    Image image_;
    bool hasAreas_;
    std::unique_ptr<Painter> painter_;
};

// The same as SVG text, handed to `out` as it grows (an SVG of a big
// drawing is larger than the drawing itself).
class SvgPicture {
public:
    SvgPicture(const Affine& toPixels, int width, int height, std::function<void(std::string_view)> out);
    void addAreas(const Artwork& art);
    void addStrokes(const Artwork& art);
    // The end of the text; everything is handed out then.
    void finish();

private:
    void handOut(std::size_t atLeast);
    Affine toPixels_;
    std::function<void(std::string_view)> out_;
    std::string text_;  // not yet handed out
    Color group_{1, 2, 3};
    bool groupOpen_ = false;
};

// Share of the inked pixels (dark in either picture) where a channel
// differs by more than `tolerance`; a different size counts as all differing.
double differenceRatio(const Image& a, const Image& b, int tolerance = 64);

}  // namespace kestrin::render
