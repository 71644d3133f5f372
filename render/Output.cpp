#include "render/Output.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

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

void plot(Image& im, int x, int y, double coverage) {
    if (x < 0 || y < 0 || x >= im.width || y >= im.height || coverage <= 0) return;
    std::uint8_t& px = im.gray[static_cast<std::size_t>(y) * im.width + x];
    const int ink = static_cast<int>(std::lround(255 * (1 - std::min(1.0, coverage))));
    px = static_cast<std::uint8_t>(std::min<int>(px, ink));
}

double frac(double v) { return v - std::floor(v); }

// Xiaolin Wu's line, pixel centres at integer coordinates.
void line(Image& im, Vec2 a, Vec2 b) {
    const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
    if (steep) {
        std::swap(a.x, a.y);
        std::swap(b.x, b.y);
    }
    if (a.x > b.x) std::swap(a, b);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double gradient = dx == 0 ? 1 : dy / dx;
    auto put = [&](int x, int y, double c) { steep ? plot(im, y, x, c) : plot(im, x, y, c); };
    // Keep the work bounded for lines far outside the picture.
    const double limit = static_cast<double>(std::max(im.width, im.height)) + 2;
    const double x0 = std::max(std::round(a.x), -2.0), x1 = std::min(std::round(b.x), limit);
    // Segments of one stroke share their end pixels; the darker cover wins, so nothing doubles.
    for (double x = x0; x <= x1; ++x) {
        const double y = a.y + gradient * (x - a.x);
        const int xi = static_cast<int>(x), yi = static_cast<int>(std::floor(y));
        put(xi, yi, 1 - frac(y));
        put(xi, yi + 1, frac(y));
    }
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

void drawStrokes(Image& image, const std::vector<Polyline>& strokes) {
    for (const Polyline& s : strokes) {
        if (s.size() == 1) {
            const int x = static_cast<int>(std::lround(s[0].x)), y = static_cast<int>(std::lround(s[0].y));
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) plot(image, x + dx, y + dy, 1);
            continue;
        }
        for (std::size_t k = 1; k < s.size(); ++k) line(image, s[k - 1], s[k]);
    }
}

std::vector<Polyline> fitted(std::vector<Polyline> strokes, int width, int height) {
    const Affine toPixels = fitToPicture(boxOf(strokes), width, height);
    for (Polyline& s : strokes)
        for (Vec2& p : s) p = toPixels(p);
    return strokes;
}

Image rasterise(const std::vector<Polyline>& strokes, int width, int height) {
    Image image(width, height);
    drawStrokes(image, fitted(strokes, width, height));
    return image;
}

std::string encodePng(const Image& im) {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(im.width + 1) * im.height);
    for (int y = 0; y < im.height; ++y) {
        raw += '\0';  // filter: none
        raw.append(reinterpret_cast<const char*>(im.gray.data()) + static_cast<std::size_t>(y) * im.width, im.width);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string z(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), 9) != Z_OK)
        throw ImageError("PNG: compression failed");
    z.resize(size);
    std::string header;
    put32(header, static_cast<std::uint32_t>(im.width));
    put32(header, static_cast<std::uint32_t>(im.height));
    header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, deflate, no filter, no interlace
    std::string png(kPngSignature);
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", "");
    return png;
}

Image decodePng(std::string_view b) {
    if (b.substr(0, 8) != kPngSignature) throw ImageError("PNG: no PNG signature");
    std::size_t at = 8;
    int width = 0, height = 0;
    std::string z;
    while (at + 12 <= b.size()) {
        const std::uint32_t len = get32(b, at);
        const std::string_view type = b.substr(at + 4, 4);
        if (at + 12 + len > b.size()) throw ImageError("PNG: chunk runs past the end");
        const std::string_view data = b.substr(at + 8, len);
        if (type == "IHDR") {
            if (len != 13) throw ImageError("PNG: bad header");
            width = static_cast<int>(get32(data, 0));
            height = static_cast<int>(get32(data, 4));
            if (data[8] != 8 || data[9] != 0 || data[12] != 0) throw ImageError("PNG: not 8-bit grey, non-interlaced");
            if (width <= 0 || height <= 0 || width > 16384 || height > 16384) throw ImageError("PNG: bad size");
        } else if (type == "IDAT") {
            z.append(data);
        } else if (type == "IEND") {
            break;
        }
        at += 12 + len;
    }
    if (width == 0) throw ImageError("PNG: no header");
    const std::size_t stride = static_cast<std::size_t>(width) + 1;
    std::string raw(stride * height, '\0');
    uLongf size = static_cast<uLongf>(raw.size());
    if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &size, reinterpret_cast<const Bytef*>(z.data()),
                   static_cast<uLong>(z.size())) != Z_OK ||
        size != raw.size())
        throw ImageError("PNG: bad image data");
    Image im(width, height);
    for (int y = 0; y < height; ++y) {
        const char* row = raw.data() + y * stride;
        const int filter = row[0];
        const std::uint8_t* up = y > 0 ? &im.gray[static_cast<std::size_t>(y - 1) * width] : nullptr;
        std::uint8_t* out = &im.gray[static_cast<std::size_t>(y) * width];
        for (int x = 0; x < width; ++x) {
            const int v = static_cast<unsigned char>(row[1 + x]);
            const int left = x > 0 ? out[x - 1] : 0, above = up ? up[x] : 0, corner = (x > 0 && up) ? up[x - 1] : 0;
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
    return im;
}

std::string svgText(const std::vector<Polyline>& strokes, int width, int height) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    char buf[64];
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) + "\">\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out += "<g fill=\"none\" stroke=\"black\" stroke-width=\"1\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
    for (const Polyline& s : strokes) {
        if (s.empty()) continue;
        if (s.size() == 1) {
            std::snprintf(buf, sizeof buf, "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"1\" fill=\"black\"/>\n", s[0].x, s[0].y);
            out += buf;
            continue;
        }
        out += "<polyline points=\"";
        for (std::size_t k = 0; k < s.size(); ++k) {
            if (k) out += ' ';
            appendNumber(out, s[k].x);
            out += ',';
            appendNumber(out, s[k].y);
        }
        out += "\"/>\n";
    }
    out += "</g>\n</svg>\n";
    return out;
}

double differenceRatio(const Image& a, const Image& b, int tolerance) {
    if (a.width != b.width || a.height != b.height || a.gray.empty()) return 1;
    std::size_t differ = 0, inked = 0;
    for (std::size_t k = 0; k < a.gray.size(); ++k) {
        if (std::min(a.gray[k], b.gray[k]) < 255 - tolerance) ++inked;
        if (std::abs(int(a.gray[k]) - int(b.gray[k])) > tolerance) ++differ;
    }
    return inked == 0 ? 0 : static_cast<double>(differ) / static_cast<double>(inked);
}

}  // namespace kestrin::render
