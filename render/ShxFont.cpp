#include "render/ShxFont.h"

#include <cmath>
#include <cstdint>

#include "render/Arcs.h"

namespace kestrin::render {

namespace {

constexpr std::string_view kSignature = "AutoCAD-86 shapes 1.0";
constexpr std::size_t kIndexStart = 0x17;  // after the signature and CR LF
constexpr int kMaxDepth = 8;              // sub-shapes within sub-shapes
constexpr int kArcStepsPerOctant = 6;

// Unit vectors of the 16 directions of a vector code (length << 4 | direction).
constexpr double kDirX[16] = {1, 1, 1, 0.5, 0, -0.5, -1, -1, -1, -1, -1, -0.5, 0, 0.5, 1, 1};
constexpr double kDirY[16] = {0, 0.5, 1, 1, 1, 1, 1, 0.5, 0, -0.5, -1, -1, -1, -1, -1, -0.5};

// An octant arc's direction and octants: bit 7 clockwise, bits 4-6 the
// first octant, bits 0-3 how many (0: all eight). Some compilers store a
// negative direction byte as two's complement; a span over 7 can only be that.
struct Octants {
    bool ccw;
    int start;
    int span;
};
Octants octants(unsigned char b) {
    int magnitude = b & 0x7F;
    if ((b & 0x80) && (b & 0x0F) > 7) magnitude = 0x100 - b;
    const int span = magnitude & 0x0F;
    return {(b & 0x80) == 0, (magnitude >> 4) & 7, span == 0 ? 8 : span};
}

unsigned u16(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned>(static_cast<unsigned char>(b[at + 1])) << 8);
}

}  // namespace

struct ShxFont::Pen {
    Vec2 at;
    bool down = true;
    double scale = 1;
    std::vector<Vec2> stack;
    Glyph* out = nullptr;
    bool drawing = false;  // a stroke is open in out->strokes.back()

    void lift() { drawing = false; }
    void lineTo(Vec2 to) {
        if (down) {
            if (!drawing) {
                out->strokes.push_back({at});
                drawing = true;
            }
            out->strokes.back().push_back(to);
        }
        at = to;
        if (!down) drawing = false;
    }
    void moveTo(Vec2 to) {
        at = to;
        drawing = false;
    }
    // Arc around `center` from angle a0 by `sweep` (radians, + counter-clockwise).
    void arc(Vec2 center, double radius, double a0, double sweep) {
        const int steps = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / (kPi / 4) * kArcStepsPerOctant)));
        for (int i = 1; i <= steps; ++i) {
            const double a = a0 + sweep * i / steps;
            lineTo({center.x + radius * std::cos(a), center.y + radius * std::sin(a)});
        }
    }
    // To `to` along the arc of that bulge (straight with the pen up).
    void bulgeTo(Vec2 to, double bulge) {
        const auto bow = down ? bulgeArc(at, to, bulge) : std::nullopt;
        if (!bow) {
            lineTo(to);
            return;
        }
        arc(bow->center, bow->radius, bow->start, bow->sweep);
        at = to;
    }
};

std::shared_ptr<const ShxFont> ShxFont::parse(std::string_view bytes, const std::string& name) {
    auto fail = [&](std::size_t at, const std::string& what) -> FontError {
        return FontError(name + ": byte " + std::to_string(at) + ": " + what);
    };
    if (bytes.substr(0, kSignature.size()) != kSignature)
        throw fail(0, "not an SHX shape font (no \"AutoCAD-86 shapes 1.0\" signature)");
    if (bytes.size() < kIndexStart + 7 || bytes[kIndexStart] != '\x1a')
        throw fail(kIndexStart, "the shape index is missing");
    const unsigned count = u16(bytes, kIndexStart + 5);
    std::size_t index = kIndexStart + 7;
    std::size_t data = index + 4 * static_cast<std::size_t>(count);
    if (data > bytes.size()) throw fail(index, "the index of " + std::to_string(count) + " shapes runs past the end");
    auto font = std::make_shared<ShxFont>();
    font->name_ = name;
    for (unsigned i = 0; i < count; ++i, index += 4) {
        const int number = static_cast<int>(u16(bytes, index));
        const std::size_t size = u16(bytes, index + 2);
        if (data + size > bytes.size())
            throw fail(index, "shape " + std::to_string(number) + " runs past the end of the file");
        const std::string_view record = bytes.substr(data, size);
        const std::size_t nul = record.find('\0');
        if (nul == std::string_view::npos) throw fail(data, "shape " + std::to_string(number) + " has no name end");
        font->shapes_[number] = Shape{std::string(record.substr(0, nul)), std::string(record.substr(nul + 1))};
        data += size;
    }
    if (auto it = font->shapes_.find(0); it != font->shapes_.end()) {
        const std::string& c = it->second.codes;
        if (c.size() >= 2) {
            font->above_ = static_cast<unsigned char>(c[0]);
            font->below_ = static_cast<unsigned char>(c[1]);
        }
        font->shapes_.erase(it);
    }
    if (font->above_ <= 0) throw fail(kIndexStart, "no font record (shape 0) with the height above the baseline");
    return font;
}

std::string_view ShxFont::shapeName(int number) const {
    const auto it = shapes_.find(number);
    return it == shapes_.end() ? std::string_view() : std::string_view(it->second.name);
}

const Glyph* ShxFont::glyph(int number) const {
    const std::lock_guard<std::mutex> lock(cacheLock_);
    if (auto it = cache_.find(number); it != cache_.end()) return it->second.get();
    if (!has(number)) return nullptr;
    auto g = std::make_unique<Glyph>();
    Pen pen;
    pen.out = g.get();
    run(number, pen, 0);
    g->advance = pen.at;
    for (const auto& s : g->strokes)
        for (const Vec2& p : s) g->box.add(p);
    return cache_.emplace(number, std::move(g)).first->second.get();
}

void ShxFont::run(int number, Pen& pen, int depth) const {
    const auto it = shapes_.find(number);
    if (it == shapes_.end() || depth > kMaxDepth) return;
    const std::string& c = it->second.codes;
    const std::size_t n = c.size();
    auto u8 = [&](std::size_t i) { return static_cast<unsigned char>(c[i]); };
    auto s8 = [&](std::size_t i) { return static_cast<int>(static_cast<signed char>(c[i])); };
    pen.down = true;
    pen.lift();
    bool skip = false;  // after code 14: the next command is for vertical text only
    std::size_t i = 0;
    while (i < n) {
        const int code = u8(i++);
        const bool act = !skip;
        skip = false;
        if (code == 0) break;
        if (code > 15) {
            if (act) {
                const int len = code >> 4, dir = code & 15;
                pen.lineTo(pen.at + Vec2{kDirX[dir] * len * pen.scale, kDirY[dir] * len * pen.scale});
            }
            continue;
        }
        switch (code) {
            case 1:
                if (act) pen.down = true;
                break;
            case 2:
                if (act) {
                    pen.down = false;
                    pen.lift();
                }
                break;
            case 3:
            case 4:
                if (i >= n) return;
                if (act && u8(i) != 0) pen.scale = code == 3 ? pen.scale / u8(i) : pen.scale * u8(i);
                ++i;
                break;
            case 5:
                if (act) pen.stack.push_back(pen.at);
                break;
            case 6:
                if (act && !pen.stack.empty()) {
                    pen.moveTo(pen.stack.back());
                    pen.stack.pop_back();
                }
                break;
            case 7:
                if (i >= n) return;
                if (act) {
                    run(u8(i), pen, depth + 1);  // from the pen's place, in its state
                    pen.lift();
                }
                ++i;
                break;
            case 8:
                if (i + 1 >= n) return;
                if (act) pen.lineTo(pen.at + Vec2{double(s8(i)), double(s8(i + 1))} * pen.scale);
                i += 2;
                break;
            case 9:
            case 13:
                for (;;) {
                    if (i + 1 >= n) return;
                    const int dx = s8(i), dy = s8(i + 1);
                    i += 2;
                    if (dx == 0 && dy == 0) break;
                    int bulge = 0;
                    if (code == 13) {
                        if (i >= n) return;
                        bulge = s8(i++);
                    }
                    if (!act) continue;
                    const Vec2 to = pen.at + Vec2{double(dx), double(dy)} * pen.scale;
                    pen.bulgeTo(to, bulge / 127.0);
                }
                break;
            case 10: {
                if (i + 1 >= n) return;
                const double r = u8(i) * pen.scale;
                const auto [ccw, start, span] = octants(u8(i + 1));
                i += 2;
                if (!act || r == 0) break;
                const double a0 = start * kPi / 4;
                const Vec2 center = pen.at - Vec2{r * std::cos(a0), r * std::sin(a0)};
                const double sweep = (ccw ? 1 : -1) * span * kPi / 4;
                if (pen.down) pen.arc(center, r, a0, sweep);
                else pen.moveTo({center.x + r * std::cos(a0 + sweep), center.y + r * std::sin(a0 + sweep)});
                break;
            }
            case 11: {
                if (i + 4 >= n) return;
                const int startOff = u8(i), endOff = u8(i + 1);
                const double r = (u8(i + 2) * 256 + u8(i + 3)) * pen.scale;
                const auto [ccw, start, span] = octants(u8(i + 4));
                i += 5;
                if (!act || r == 0) break;
                const double unit = 45.0 / 256.0;
                const double endAngle0 = endOff == 0 ? 256 * unit : endOff * unit;
                double a0, a1;
                if (ccw) {
                    a0 = start * 45.0 + startOff * unit;
                    a1 = (start + span - 1) * 45.0 + endAngle0;
                } else {
                    a0 = start * 45.0 - startOff * unit;
                    a1 = (start - span + 1) * 45.0 - endAngle0;
                }
                a0 *= kPi / 180;
                a1 *= kPi / 180;
                const Vec2 center = pen.at - Vec2{r * std::cos(a0), r * std::sin(a0)};
                if (pen.down) pen.arc(center, r, a0, a1 - a0);
                else pen.moveTo({center.x + r * std::cos(a1), center.y + r * std::sin(a1)});
                break;
            }
            case 12: {
                if (i + 2 >= n) return;
                const int dx = s8(i), dy = s8(i + 1), bulge = s8(i + 2);
                i += 3;
                if (!act) break;
                // The same arc as one segment of code 13.
                pen.bulgeTo(pen.at + Vec2{double(dx), double(dy)} * pen.scale, bulge / 127.0);
                break;
            }
            case 14:
                skip = true;  // horizontal text: the next command is skipped
                break;
            default:
                break;
        }
    }
}

}  // namespace kestrin::render
