// pixart: text pixel art -> 16-colour Windows bitmaps, the module's bitmap
// resources as C++ source, and a PNG contact sheet for review.
//
// An art file holds one image: lines starting with ';' are comments, an
// optional "id N" line gives its resource number, and every other line is a
// row of pixels from the top, one palette letter per pixel (see kPalette).
//
//   pixart [--bmp DIR] [--sheet FILE.png] [--cpp FILE --include HEADER]
//          [--icon DIR --sizes N,N...]
//          [--vector FUNCTION ART... | --single FUNCTION ART | ART...]...
//
// --bmp writes DIR/<art file stem>.bmp for every art file; --cpp writes one
// function per --vector (std::vector<ImageResource>) or --single
// (ImageResource) group; --icon writes DIR/NxN/<stem>.png for each size, the
// art enlarged by whole pixels with its button-face silver transparent (the
// desktop's icon sizes; each a multiple of the art's side). A faulty art
// file stops the run with file:line.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"


namespace {

struct PaletteEntry {
    char letter;
    std::uint8_t r, g, b;
    const char* name;
};

// The fixed 16-colour Windows palette, in its colour-table order.
constexpr std::array<PaletteEntry, 16> kPalette = {{
    {'#', 0, 0, 0, "black"},
    {'m', 128, 0, 0, "maroon"},
    {'n', 0, 128, 0, "green"},
    {'o', 128, 128, 0, "olive"},
    {'v', 0, 0, 128, "navy"},
    {'p', 128, 0, 128, "purple"},
    {'t', 0, 128, 128, "teal"},
    {'.', 192, 192, 192, "silver (button face)"},
    {'g', 128, 128, 128, "grey"},
    {'r', 255, 0, 0, "red"},
    {'l', 0, 255, 0, "lime"},
    {'y', 255, 255, 0, "yellow"},
    {'b', 0, 0, 255, "blue"},
    {'f', 255, 0, 255, "fuchsia"},
    {'c', 0, 255, 255, "aqua"},
    {'w', 255, 255, 255, "white"},
}};

constexpr int kMaxSide = 256;

class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Art {
    std::string file;
    int id = -1;
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;  // palette indices, rows from the top
};

int paletteIndex(char letter) {
    for (std::size_t i = 0; i < kPalette.size(); ++i)
        if (kPalette[i].letter == letter) return static_cast<int>(i);
    return -1;
}

Art readArt(const std::string& file) {
    auto content = kestrin::fs::FileSystem::current().readFile(file);
    if (!content) throw InputError(content.error().message());
    std::istringstream in(*content);
    Art art;
    art.file = file;
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        throw InputError(file + ":" + std::to_string(lineNo) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line.rfind("id ", 0) == 0) {
            if (art.height > 0) fail("\"id\" after the first pixel row");
            if (art.id >= 0) fail("second \"id\" line");
            std::size_t used = 0;
            try {
                art.id = std::stoi(line.substr(3), &used);
            } catch (const std::exception&) {
                fail("\"" + line + "\" is not \"id\" and a number");
            }
            if (3 + used != line.size() || art.id < 1 || art.id > 65535)
                fail("\"" + line + "\" is not \"id\" and a number from 1 to 65535");
            continue;
        }
        if (art.height == 0) art.width = static_cast<int>(line.size());
        if (static_cast<int>(line.size()) != art.width)
            fail("row has " + std::to_string(line.size()) + " pixels, the first row " + std::to_string(art.width));
        for (std::size_t c = 0; c < line.size(); ++c) {
            const int index = paletteIndex(line[c]);
            if (index < 0) fail("column " + std::to_string(c + 1) + ": '" + line[c] + "' is no palette letter");
            art.pixels.push_back(static_cast<std::uint8_t>(index));
        }
        if (++art.height > kMaxSide || art.width > kMaxSide) fail("image larger than 256 x 256");
    }
    if (art.height == 0) throw InputError(file + ":" + std::to_string(lineNo) + ": no pixel rows");
    return art;
}

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}
void put32be(std::string& s, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}

// The file name without its folder and its last extension.
std::string stemOf(const std::string& path) {
    const std::string name = kestrin::fs::fileName(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

void writeFile(const std::string& file, const std::string& bytes) {
    const auto written = kestrin::fs::FileSystem::current().writeFile(file, bytes);
    if (!written) throw std::runtime_error(written.error().message());
}

// BITMAPFILEHEADER + BITMAPINFOHEADER, 16-entry colour table, 4 bits a
// pixel, rows bottom-up, each padded to a multiple of 4 bytes.
std::string bmpBytes(const Art& art) {
    const std::uint32_t rowBytes = ((static_cast<std::uint32_t>(art.width) * 4 + 31) / 32) * 4;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(art.height);
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    std::string s;
    s += "BM";
    put32(s, offset + imageBytes);
    put32(s, 0);
    put32(s, offset);
    put32(s, 40);
    put32(s, static_cast<std::uint32_t>(art.width));
    put32(s, static_cast<std::uint32_t>(art.height));
    put16(s, 1);   // planes
    put16(s, 4);   // bits per pixel
    put32(s, 0);   // BI_RGB
    put32(s, imageBytes);
    put32(s, 3780);  // 96 dpi
    put32(s, 3780);
    put32(s, 16);  // colours used
    put32(s, 16);  // colours important
    for (const PaletteEntry& e : kPalette) {
        s += static_cast<char>(e.b);
        s += static_cast<char>(e.g);
        s += static_cast<char>(e.r);
        s += '\0';
    }
    for (int y = art.height - 1; y >= 0; --y) {
        std::string row(rowBytes, '\0');
        for (int x = 0; x < art.width; ++x) {
            const std::uint8_t index = art.pixels[static_cast<std::size_t>(y * art.width + x)];
            row[static_cast<std::size_t>(x / 2)] |= static_cast<char>(x % 2 == 0 ? index << 4 : index);
        }
        s += row;
    }
    return s;
}

std::uint32_t crc32(const std::string& data, std::size_t from) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < data.size(); ++i)
        c = table[(c ^ static_cast<std::uint8_t>(data[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void pngChunk(std::string& png, const char* type, const std::string& data) {
    put32be(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png += type;
    png += data;
    put32be(png, crc32(png, start));
}

// A minimal PNG: 8-bit RGB (3 channels) or RGBA (4), no filtering, zlib
// stream of stored blocks.
std::string pngBytes(int width, int height, const std::vector<std::uint8_t>& pixels, int channels = 3) {
    std::string raw;
    const std::size_t row = static_cast<std::size_t>(width * channels);
    for (int y = 0; y < height; ++y) {
        raw += '\0';  // filter type none
        raw.append(reinterpret_cast<const char*>(&pixels[static_cast<std::size_t>(y) * row]), row);
    }
    std::string z = "\x78\x01";
    for (std::size_t at = 0; at < raw.size() || at == 0;) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + n == raw.size();
        z += static_cast<char>(last ? 1 : 0);
        put16(z, static_cast<unsigned>(n));
        put16(z, static_cast<unsigned>(~n & 0xFFFF));
        z.append(raw, at, n);
        at += n;
        if (last) break;
    }
    std::uint32_t a = 1, b = 0;
    for (char ch : raw) {
        a = (a + static_cast<std::uint8_t>(ch)) % 65521;
        b = (b + a) % 65521;
    }
    put32be(z, (b << 16) | a);
    std::string header;
    put32be(header, static_cast<std::uint32_t>(width));
    put32be(header, static_cast<std::uint32_t>(height));
    header += std::string(channels == 4 ? "\x08\x06\x00\x00\x00" : "\x08\x02\x00\x00\x00", 5);
    std::string png = "\x89PNG\r\n\x1a\n";
    pngChunk(png, "IHDR", header);
    pngChunk(png, "IDAT", z);
    pngChunk(png, "IEND", "");
    return png;
}

// All images on a white sheet, 8 to a row, each enlarged 4 times in a cell
// with a black frame, so faces and their grey background stay visible.
std::string contactSheet(const std::vector<Art>& arts) {
    constexpr int scale = 4, perRow = 8, gap = 6;
    int cellW = 0, cellH = 0;
    for (const Art& a : arts) {
        cellW = std::max(cellW, a.width * scale + 2);
        cellH = std::max(cellH, a.height * scale + 2);
    }
    const int cols = std::min<int>(perRow, static_cast<int>(arts.size()));
    const int rows = (static_cast<int>(arts.size()) + perRow - 1) / perRow;
    const int width = gap + cols * (cellW + gap), height = gap + rows * (cellH + gap);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width * height * 3), 255);
    auto set = [&](int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        const std::size_t at = static_cast<std::size_t>((y * width + x) * 3);
        rgb[at] = r, rgb[at + 1] = g, rgb[at + 2] = b;
    };
    for (std::size_t i = 0; i < arts.size(); ++i) {
        const Art& a = arts[i];
        const int x0 = gap + static_cast<int>(i % perRow) * (cellW + gap);
        const int y0 = gap + static_cast<int>(i / perRow) * (cellH + gap);
        const int w = a.width * scale + 2, h = a.height * scale + 2;
        for (int x = 0; x < w; ++x) set(x0 + x, y0, 0, 0, 0), set(x0 + x, y0 + h - 1, 0, 0, 0);
        for (int y = 0; y < h; ++y) set(x0, y0 + y, 0, 0, 0), set(x0 + w - 1, y0 + y, 0, 0, 0);
        for (int y = 0; y < a.height * scale; ++y)
            for (int x = 0; x < a.width * scale; ++x) {
                const PaletteEntry& e = kPalette[a.pixels[static_cast<std::size_t>((y / scale) * a.width + x / scale)]];
                set(x0 + 1 + x, y0 + 1 + y, e.r, e.g, e.b);
            }
    }
    return pngBytes(width, height, rgb);
}

// The art enlarged `side / width` times, silver (the button face) transparent.
std::string iconPng(const Art& a, int side) {
    if (a.width != a.height || side % a.width != 0)
        throw InputError(a.file + ": an icon of " + std::to_string(side) + " pixels needs a square art whose side divides it");
    const int scale = side / a.width;
    const int silver = paletteIndex('.');
    std::vector<std::uint8_t> rgba;
    rgba.reserve(static_cast<std::size_t>(side * side * 4));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const std::uint8_t index = a.pixels[static_cast<std::size_t>((y / scale) * a.width + x / scale)];
            const PaletteEntry& e = kPalette[index];
            rgba.insert(rgba.end(), {e.r, e.g, e.b, static_cast<std::uint8_t>(index == silver ? 0 : 255)});
        }
    return pngBytes(side, side, rgba, 4);
}

struct Group {
    std::string function;
    bool single = false;
    std::vector<std::size_t> arts;  // indices into the art list
};

std::string cppSource(const std::vector<Art>& arts, const std::vector<Group>& groups, const std::string& include) {
    std::ostringstream s;
    s << "// Generated by pixart from the pixel art in data/bitmaps: edit those files.\n";
    s << "#include \"" << include << "\"\n\n";
    s << "using kestrin::ui::ImageResource;\n\nnamespace {\n\n";
    s << "constexpr COLORREF kPalette[16] = {";
    for (std::size_t i = 0; i < kPalette.size(); ++i)
        s << (i ? ", " : "") << "RGB(" << int(kPalette[i].r) << ", " << int(kPalette[i].g) << ", " << int(kPalette[i].b)
          << ")";
    s << "};\n\n";
    s << "ImageResource image(int id, int width, int height, const unsigned char* indices) {\n"
         "    ImageResource result{id, width, height, {}};\n"
         "    for (int i = 0; i < width * height; ++i) result.pixels.push_back(kPalette[indices[i]]);\n"
         "    return result;\n"
         "}\n\n";
    for (const Group& g : groups)
        for (std::size_t index : g.arts) {
            const Art& a = arts[index];
            s << "// " << kestrin::fs::fileName(a.file) << "\n";
            s << "const unsigned char kImage" << index << "[] = {";
            for (std::size_t p = 0; p < a.pixels.size(); ++p)
                s << (p % 32 == 0 ? "\n    " : "") << int(a.pixels[p]) << ",";
            s << "\n};\n";
        }
    s << "\n}  // namespace\n";
    auto call = [&](std::size_t index) {
        const Art& a = arts[index];
        return "image(" + std::to_string(a.id) + ", " + std::to_string(a.width) + ", " + std::to_string(a.height) +
               ", kImage" + std::to_string(index) + ")";
    };
    for (const Group& g : groups) {
        if (g.single) {
            s << "\nImageResource " << g.function << "() { return " << call(g.arts.front()) << "; }\n";
            continue;
        }
        s << "\nstd::vector<ImageResource> " << g.function << "() {\n    std::vector<ImageResource> images;\n";
        for (std::size_t index : g.arts) s << "    images.push_back(" << call(index) << ");\n";
        s << "    return images;\n}\n";
    }
    return s.str();
}

int usage(const std::string& why) {
    std::cerr << "pixart: " << why << "\n"
              << "usage: pixart [--bmp DIR] [--sheet FILE.png] [--cpp FILE --include HEADER]\n"
                 "              [--icon DIR --sizes N,N...]\n"
                 "              [--vector FUNCTION ART... | --single FUNCTION ART | ART...]...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string bmpDir, sheet, cpp, iconDir;
    std::vector<int> iconSizes;
    std::string include;
    std::vector<std::string> files;
    std::vector<Group> groups;
    Group* current = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (a == "--bmp" || a == "--sheet" || a == "--cpp" || a == "--include" || a == "--vector" || a == "--single" ||
            a == "--icon" || a == "--sizes") {
            const std::string* v = value();
            if (!v) return usage(a + " needs a value");
            if (a == "--bmp") bmpDir = *v;
            else if (a == "--icon") iconDir = *v;
            else if (a == "--sizes") {
                std::istringstream list(*v);
                for (std::string n; std::getline(list, n, ',');) {
                    const int side = std::atoi(n.c_str());
                    if (side < 1 || side > 1024 || std::to_string(side) != n) return usage("--sizes: bad size '" + n + "'");
                    iconSizes.push_back(side);
                }
            }
            else if (a == "--sheet") sheet = *v;
            else if (a == "--cpp") cpp = *v;
            else if (a == "--include") include = *v;
            else {
                groups.push_back(Group{*v, a == "--single", {}});
                current = &groups.back();
            }
        } else if (a.rfind("--", 0) == 0) {
            return usage("unknown option " + a);
        } else {
            if (current) {
                if (current->single && !current->arts.empty()) return usage("--single takes one art file");
                current->arts.push_back(files.size());
            }
            files.push_back(a);
        }
    }
    if (files.empty()) return usage("no art files");
    if (!iconDir.empty() && iconSizes.empty()) return usage("--icon needs --sizes");
    if (!cpp.empty() && (include.empty() || groups.empty())) return usage("--cpp needs --include and a --vector or --single");
    try {
        std::vector<Art> arts;
        for (const std::string& f : files) arts.push_back(readArt(f));
        if (!cpp.empty())
            for (const Group& g : groups) {
                if (g.arts.empty()) return usage("function " + g.function + " has no art files");
                for (std::size_t index : g.arts)
                    if (arts[index].id < 0)
                        throw InputError(arts[index].file + ":1: no \"id\" line for the resource number");
            }
        if (!bmpDir.empty())
            for (const Art& a : arts) writeFile(kestrin::fs::joinPath(bmpDir, stemOf(a.file) + ".bmp"), bmpBytes(a));
        if (!cpp.empty()) writeFile(cpp, cppSource(arts, groups, include));
        if (!sheet.empty()) writeFile(sheet, contactSheet(arts));
        for (int side : iconSizes)
            for (const Art& a : arts) {
                const std::string folder =
                    kestrin::fs::joinPath(iconDir, std::to_string(side) + "x" + std::to_string(side));
                if (kestrin::fs::Status made = kestrin::fs::FileSystem::current().createDirectories(folder); !made)
                    throw std::runtime_error(made.error().message());
                writeFile(kestrin::fs::joinPath(folder, stemOf(a.file) + ".png"), iconPng(a, side));
            }
    } catch (const std::exception& e) {
        std::cerr << "pixart: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
