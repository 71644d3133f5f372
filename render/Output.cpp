#include "render/Output.h"

#include <memory>

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "render/AreaRaster.h"

namespace kestrin::render {

Affine fitToPicture(const Box& box, int width, int height, int margin) {
    const double w = std::max(1, width - 2 * margin), h = std::max(1, height - 2 * margin);
    const double dx = box.empty() ? 0 : box.maxX - box.minX, dy = box.empty() ? 0 : box.maxY - box.minY;
    double k = 1;
    if (dx > 0 || dy > 0) k = std::min(dx > 0 ? w / dx : INFINITY, dy > 0 ? h / dy : INFINITY);
    const Vec2 c = box.empty() ? Vec2{} : box.center();
    // Pixel centres: x = k (X - cx) + W/2, y = -k (Y - cy) + H/2.
    return {k, 0, 0, -k, width / 2.0 - k * c.x, height / 2.0 + k * c.y};
}

namespace {

// std::lround, std::round and std::floor for the numbers a picture's
// pixels take (well within an int), without a call into the maths library:
// painting a large drawing rounds a few times for every segment.
int roundHalfUp(double v) {  // v >= 0: halves away from zero, as std::lround
    const int t = static_cast<int>(v);
    return t + (v - t >= 0.5 ? 1 : 0);
}
int roundNear(double v) { return v >= 0 ? roundHalfUp(v) : -roundHalfUp(-v); }
int floorOf(double v) {
    const int t = static_cast<int>(v);
    return v < t ? t - 1 : t;
}
double frac(double v) { return v - floorOf(v); }

// Strokes onto a picture: a pixel takes the colour of the stroke that covers
// it most, mixed with what lay under the strokes by that cover (segments of
// one stroke share their end pixels; the larger cover wins, so nothing doubles).
class StrokePainter {
public:
    StrokePainter(Image& im, bool keepUnder) : im_(im), cover_(static_cast<std::size_t>(im.width) * im.height, 0) {
        if (keepUnder) under_ = im.rgb;
    }

    void plot(int x, int y, double coverage) {
        if (x < 0 || y < 0 || x >= im_.width || y >= im_.height || coverage <= 0) return;
        const std::size_t p = static_cast<std::size_t>(y) * im_.width + x;
        const auto c = static_cast<std::uint8_t>(roundHalfUp(255 * std::min(1.0, coverage)));
        if (c <= cover_[p]) return;
        cover_[p] = c;
        const double k = c / 255.0;
        const std::uint8_t ink[3] = {ink_.r, ink_.g, ink_.b};
        for (int ch = 0; ch < 3; ++ch) {
            const double below = under_.empty() ? 255 : under_[p * 3 + ch];
            im_.rgb[p * 3 + ch] = static_cast<std::uint8_t>(roundHalfUp(below + (ink[ch] - below) * k));
        }
    }

    void setInk(Color c) { ink_ = c; }

    // Xiaolin Wu's line, pixel centres at integer coordinates.
    void line(Vec2 a, Vec2 b) {
        const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
        if (steep) {
            std::swap(a.x, a.y);
            std::swap(b.x, b.y);
        }
        if (a.x > b.x) std::swap(a, b);
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double gradient = dx == 0 ? 1 : dy / dx;
        auto put = [&](int x, int y, double c) { steep ? plot(y, x, c) : plot(x, y, c); };
        // Keep the work bounded for lines far outside the picture.
        const double limit = static_cast<double>(std::max(im_.width, im_.height)) + 2;
        if (!(a.x <= limit && b.x >= -2)) return;  // off the picture, or not a number
        // Rounded once within the picture's reach: the same as rounding first.
        const double x0 = roundNear(std::max(a.x, -2.0)), x1 = roundNear(std::min(b.x, limit));
        for (double x = x0; x <= x1; ++x) {
            const double y = a.y + gradient * (x - a.x);
            if (!(y > -2 && y < limit)) continue;  // off the picture
            const int xi = static_cast<int>(x), yi = floorOf(y);
            put(xi, yi, 1 - frac(y));
            put(xi, yi + 1, frac(y));
        }
    }

    // A point's pixel's worth of ink, shared as a Wu line shares it between
    // the pixel below and the one above.
    void dot(Vec2 p) {
        const int x = roundNear(p.x), y = floorOf(p.y);
        plot(x, y, 1 - frac(p.y));
        plot(x, y + 1, frac(p.y));
    }

    void stroke(const Polyline& s) {
        if (s.size() == 1) {
            const int x = static_cast<int>(std::lround(s[0].x)), y = static_cast<int>(std::lround(s[0].y));
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) plot(x + dx, y + dy, 1);
            return;
        }
        for (std::size_t k = 1; k < s.size(); ++k) line(s[k - 1], s[k]);
    }

private:
    Image& im_;
    std::vector<std::uint8_t> cover_;
    std::vector<std::uint8_t> under_;  // the picture before the strokes; none: white
    Color ink_ = kDark;
};

void fillArea(Image& im, const Fill& f) {
    const std::uint8_t ink[3] = {f.color.r, f.color.g, f.color.b};
    rasteriseArea(f.rings, f.rule, im.width, im.height, [&](int y, int x0, const std::vector<float>& cover) {
        std::uint8_t* row = &im.rgb[(static_cast<std::size_t>(y) * im.width + x0) * 3];
        for (std::size_t k = 0; k < cover.size(); ++k) {
            const float c = std::min(1.0f, cover[k]);
            if (c <= 0) continue;
            for (int ch = 0; ch < 3; ++ch) {
                std::uint8_t& v = row[k * 3 + ch];
                v = static_cast<std::uint8_t>(std::lround(v + (ink[ch] - v) * c));
            }
        }
    });
}

void put32(std::string& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((v >> s) & 0xFF);
}

std::uint32_t get32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(b[at + k]);
    return v;
}

void chunk(std::string& png, const char* type, const std::string& data) {
    put32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png += type;
    png += data;
    const auto* p = reinterpret_cast<const Bytef*>(png.data() + start);
    put32(png, static_cast<std::uint32_t>(crc32(0, p, static_cast<uInt>(png.size() - start))));
}

// Two decimals, as fast as the picture is large.
void appendNumber(std::string& out, double v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    out.append(buf, res.ptr);
}

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

}  // namespace

void drawArtwork(Image& image, const Artwork& art) {
    for (const Fill& f : art.fills) fillArea(image, f);
    StrokePainter painter(image, !art.fills.empty());
    forEachStroke(art, [&](const Polyline& stroke, Color color) {
        painter.setInk(color);
        painter.stroke(stroke);
    });
}

void drawStrokes(Image& image, const std::vector<Polyline>& strokes) {
    StrokePainter painter(image, true);
    for (const Polyline& s : strokes) painter.stroke(s);
}

Artwork fitted(Artwork art, int width, int height) {
    const Affine toPixels = fitToPicture(boxOf(art), width, height);
    art = flattened(std::move(art));
    for (Polyline& s : art.strokes)
        for (Vec2& p : s) p = toPixels(p);
    for (Fill& f : art.fills)
        for (Polyline& r : f.rings)
            for (Vec2& p : r) p = toPixels(p);
    return art;
}

// How much SVG text is gathered before it is handed out.
constexpr std::size_t kSvgChunk = 1 << 20;

struct Picture::Painter {
    explicit Painter(Image& image, bool keepUnder) : strokes(image, keepUnder) {}
    StrokePainter strokes;
};

Picture::Picture(const Affine& toPixels, int width, int height, bool hasAreas)
    : toPixels_(toPixels), image_(width, height), hasAreas_(hasAreas) {}

Picture::~Picture() = default;

void Picture::addAreas(const Artwork& art) {
    for (const Fill& f : art.fills) {
        Fill inPixels = f;
        for (Polyline& r : inPixels.rings)
            for (Vec2& p : r) p = toPixels_(p);
        fillArea(image_, inPixels);
    }
}

void Picture::addStrokes(const Artwork& art) {
    if (!painter_) painter_ = std::make_unique<Painter>(image_, hasAreas_);
    Polyline inPixels;
    forEachStroke(art, [&](const Polyline& stroke, Color color) {
        painter_->strokes.setInk(color);
        inPixels.assign(stroke.begin(), stroke.end());
        for (Vec2& p : inPixels) p = toPixels_(p);
        painter_->strokes.stroke(inPixels);
    });
}

void Picture::addBand(const Box& band, bool upright, Color color) {
    if (!painter_) painter_ = std::make_unique<Painter>(image_, hasAreas_);
    StrokePainter& paint = painter_->strokes;
    paint.setInk(color);
    if (!keepsAxes(toPixels_)) {  // turned: along its middle
        const Vec2 c = band.center();
        paint.line(toPixels_(upright ? Vec2{c.x, band.minY} : Vec2{band.minX, c.y}),
                   toPixels_(upright ? Vec2{c.x, band.maxY} : Vec2{band.maxX, c.y}));
        return;
    }
    const Vec2 p = toPixels_({band.minX, band.minY}), q = toPixels_({band.maxX, band.maxY});
    // Along from a0 to a1, across from c0 to c1, in pixels.
    double a0 = upright ? p.y : p.x, a1 = upright ? q.y : q.x, c0 = upright ? p.x : p.y, c1 = upright ? q.x : q.y;
    if (a0 > a1) std::swap(a0, a1);
    if (c0 > c1) std::swap(c0, c1);
    // Far off the picture or not a number, or not a small piece: nothing.
    constexpr double kFar = 1 << 24, kBroadest = 16;
    if (!(a0 > -kFar && a1 < kFar && c0 > -kFar && c1 < kFar) || c1 - c0 > kBroadest) return;
    auto along = [&](double at) {
        const Vec2 from = upright ? Vec2{at, a0} : Vec2{a0, at}, to = upright ? Vec2{at, a1} : Vec2{a1, at};
        if (a0 == a1) paint.dot(from);  // a point of a dot's worth
        else paint.line(from, to);
    };
    if (c0 == c1) {  // without breadth: the one line
        along(c0);
        return;
    }
    // A stroke across the band reaches the pixels its ends round to.
    for (int at = roundNear(c0); at <= roundNear(c1); ++at) along(at);
}

Image rasterise(const Artwork& art, int width, int height) {
    Picture picture(fitToPicture(boxOf(art), width, height), width, height, !art.fills.empty());
    picture.addAreas(art);
    picture.addStrokes(art);
    return picture.image();
}

Image rasterise(const std::vector<Polyline>& strokes, int width, int height) {
    Artwork art;
    art.strokes = strokes;
    return rasterise(art, width, height);
}

// The rows go through deflate one at a time, each after its filter byte: the
// picture is never copied whole beside itself.
std::string encodePng(const Image& im) {
    bool grey = true;
    for (std::size_t k = 0; grey && k < im.rgb.size(); k += 3) grey = im.rgb[k] == im.rgb[k + 1] && im.rgb[k] == im.rgb[k + 2];
    const std::size_t bpp = grey ? 1 : 3;
    z_stream zs{};
    if (deflateInit(&zs, 9) != Z_OK) throw ImageError("PNG: compression failed");
    const std::unique_ptr<z_stream, int (*)(z_stream*)> done(&zs, deflateEnd);
    std::string z, row(static_cast<std::size_t>(im.width) * bpp + 1, '\0');  // filter: none
    char out[1 << 16];
    auto pour = [&](int flush) {
        do {
            zs.next_out = reinterpret_cast<Bytef*>(out);
            zs.avail_out = sizeof out;
            if (deflate(&zs, flush) == Z_STREAM_ERROR) throw ImageError("PNG: compression failed");
            z.append(out, sizeof out - zs.avail_out);
        } while (zs.avail_out == 0);
    };
    for (int y = 0; y < im.height; ++y) {
        const char* from = reinterpret_cast<const char*>(im.rgb.data()) + static_cast<std::size_t>(y) * im.width * 3;
        if (grey)
            for (int x = 0; x < im.width; ++x) row[1 + static_cast<std::size_t>(x)] = from[x * 3];
        else
            std::copy(from, from + static_cast<std::size_t>(im.width) * 3, row.begin() + 1);
        zs.next_in = reinterpret_cast<Bytef*>(row.data());
        zs.avail_in = static_cast<uInt>(row.size());
        pour(Z_NO_FLUSH);
    }
    pour(Z_FINISH);
    std::string header;
    put32(header, static_cast<std::uint32_t>(im.width));
    put32(header, static_cast<std::uint32_t>(im.height));
    // 8 bits, grey (0) or RGB (2), deflate, no filter, no interlace.
    header += static_cast<char>(8);
    header += static_cast<char>(grey ? 0 : 2);
    header += std::string("\x00\x00\x00", 3);
    std::string png(kPngSignature);
    png.reserve(png.size() + 3 * 12 + header.size() + z.size());
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", "");
    return png;
}

Image decodePng(std::string_view b) {
    if (b.substr(0, 8) != kPngSignature) throw ImageError("PNG: no PNG signature");
    std::size_t at = 8;
    int width = 0, height = 0;
    std::size_t bpp = 1;
    std::string z;
    while (at + 12 <= b.size()) {
        const std::uint32_t len = get32(b, at);
        const std::string_view type = b.substr(at + 4, 4);
        if (len > b.size() || at + 12 + len > b.size()) throw ImageError("PNG: chunk runs past the end");
        const std::string_view data = b.substr(at + 8, len);
        if (type == "IHDR") {
            if (len != 13) throw ImageError("PNG: bad header");
            width = static_cast<int>(get32(data, 0));
            height = static_cast<int>(get32(data, 4));
            if (data[8] != 8 || (data[9] != 0 && data[9] != 2) || data[12] != 0)
                throw ImageError("PNG: not 8-bit grey or RGB, non-interlaced");
            bpp = data[9] == 2 ? 3 : 1;
            if (width <= 0 || height <= 0 || width > 16384 || height > 16384) throw ImageError("PNG: bad size");
        } else if (type == "IDAT") {
            z.append(data);
        } else if (type == "IEND") {
            break;
        }
        at += 12 + len;
    }
    if (width == 0) throw ImageError("PNG: no header");
    const std::size_t line = static_cast<std::size_t>(width) * bpp;
    const std::size_t stride = line + 1;
    std::string raw(stride * height, '\0');
    uLongf size = static_cast<uLongf>(raw.size());
    if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &size, reinterpret_cast<const Bytef*>(z.data()),
                   static_cast<uLong>(z.size())) != Z_OK ||
        size != raw.size())
        throw ImageError("PNG: bad image data");
    std::vector<std::uint8_t> bytes(line * height);
    for (int y = 0; y < height; ++y) {
        const char* row = raw.data() + y * stride;
        const int filter = row[0];
        const std::uint8_t* up = y > 0 ? &bytes[static_cast<std::size_t>(y - 1) * line] : nullptr;
        std::uint8_t* out = &bytes[static_cast<std::size_t>(y) * line];
        for (std::size_t x = 0; x < line; ++x) {
            const int v = static_cast<unsigned char>(row[1 + x]);
            const int left = x >= bpp ? out[x - bpp] : 0, above = up ? up[x] : 0;
            const int corner = (x >= bpp && up) ? up[x - bpp] : 0;
            int add = 0;
            switch (filter) {
                case 0: break;
                case 1: add = left; break;
                case 2: add = above; break;
                case 3: add = (left + above) / 2; break;
                case 4: {
                    const int p = left + above - corner;
                    const int pa = std::abs(p - left), pb = std::abs(p - above), pc = std::abs(p - corner);
                    add = pa <= pb && pa <= pc ? left : pb <= pc ? above : corner;
                    break;
                }
                default: throw ImageError("PNG: bad row filter");
            }
            out[x] = static_cast<std::uint8_t>((v + add) & 0xFF);
        }
    }
    Image im(width, height);
    for (std::size_t p = 0; p < static_cast<std::size_t>(width) * height; ++p)
        for (std::size_t ch = 0; ch < 3; ++ch) im.rgb[p * 3 + ch] = bytes[p * bpp + (bpp == 3 ? ch : 0)];
    return im;
}

namespace {

std::string hexColor(Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

void appendPoints(std::string& out, const Polyline& s) {
    for (std::size_t k = 0; k < s.size(); ++k) {
        if (k) out += ' ';
        appendNumber(out, s[k].x);
        out += ',';
        appendNumber(out, s[k].y);
    }
}

}  // namespace

SvgPicture::SvgPicture(const Affine& toPixels, int width, int height, std::function<void(std::string_view)> out)
    : toPixels_(toPixels), out_(std::move(out)) {
    text_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
             std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) + "\">\n";
    text_ += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
}

void SvgPicture::addAreas(const Artwork& art) {
    Polyline ring;
    for (const Fill& f : art.fills) {
        text_ += "<path fill=\"" + hexColor(f.color) + "\" fill-rule=\"" +
                 (f.rule == FillRule::EvenOdd ? "evenodd" : "nonzero") + "\" d=\"";
        for (const Polyline& r : f.rings) {
            ring.assign(r.begin(), r.end());
            for (Vec2& p : ring) p = toPixels_(p);
            text_ += 'M';
            appendPoints(text_, ring);
            text_ += 'Z';
        }
        text_ += "\"/>\n";
    }
    handOut(kSvgChunk);
}

void SvgPicture::addStrokes(const Artwork& art) {
    char buf[96];
    Polyline s;
    forEachStroke(art, [&](const Polyline& stroke, Color c) {
        if (stroke.empty()) return;
        s.assign(stroke.begin(), stroke.end());
        for (Vec2& p : s) p = toPixels_(p);
        if (!groupOpen_ || !(c == group_)) {
            if (groupOpen_) text_ += "</g>\n";
            text_ += "<g fill=\"none\" stroke=\"" + hexColor(c) +
                     "\" stroke-width=\"1\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
            group_ = c;
            groupOpen_ = true;
        }
        if (s.size() == 1) {
            std::snprintf(buf, sizeof buf, "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"1\" fill=\"%s\"/>\n", s[0].x, s[0].y,
                          hexColor(c).c_str());
            text_ += buf;
            return;
        }
        text_ += "<polyline points=\"";
        appendPoints(text_, s);
        text_ += "\"/>\n";
    });
    handOut(kSvgChunk);
}

void SvgPicture::finish() {
    if (groupOpen_) text_ += "</g>\n";
    groupOpen_ = false;
    text_ += "</svg>\n";
    handOut(0);
}

void SvgPicture::handOut(std::size_t atLeast) {
    if (text_.empty() || text_.size() < atLeast) return;
    out_(text_);
    text_.clear();
}

std::string svgText(const Artwork& art, int width, int height) {
    std::string text;
    SvgPicture svg(Affine{}, width, height, [&text](std::string_view part) { text += part; });  // in pixels already
    svg.addAreas(art);
    svg.addStrokes(art);
    svg.finish();
    return text;
}

double differenceRatio(const Image& a, const Image& b, int tolerance) {
    if (a.width != b.width || a.height != b.height || a.rgb.empty()) return 1;
    std::size_t differ = 0, inked = 0;
    for (std::size_t k = 0; k < a.rgb.size(); k += 3) {
        int darkest = 255, most = 0;
        for (std::size_t ch = 0; ch < 3; ++ch) {
            darkest = std::min({darkest, int(a.rgb[k + ch]), int(b.rgb[k + ch])});
            most = std::max(most, std::abs(int(a.rgb[k + ch]) - int(b.rgb[k + ch])));
        }
        if (darkest < 255 - tolerance) ++inked;
        if (most > tolerance) ++differ;
    }
    return inked == 0 ? 0 : static_cast<double>(differ) / static_cast<double>(inked);
}

}  // namespace kestrin::render
