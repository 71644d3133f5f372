#include "render/ShxFont.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "render/Arcs.h"
#include "render/ShapeCodes.h"

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

// An arc from the pen's place: around `center` from angle `start` by
// `sweep` (radians, + counter-clockwise).
struct ArcPath {
    Vec2 center;
    double radius, start, sweep;
    double end;  // start + sweep as the code gives it
};

// An octant arc (code 10); nothing for radius 0.
std::optional<ArcPath> octantArc(Vec2 at, double scale, const ShapeCommand& c) {
    const double r = c.radius * scale;
    if (r == 0) return std::nullopt;
    const auto [ccw, start, span] = octants(c.octants);
    const double a0 = start * kPi / 4;
    const double sweep = (ccw ? 1 : -1) * span * kPi / 4;
    return ArcPath{at - Vec2{r * std::cos(a0), r * std::sin(a0)}, r, a0, sweep, a0 + sweep};
}

// A fractional arc (code 11): the octants' arc trimmed by 256ths of an
// octant at its start and its end.
std::optional<ArcPath> fractionalArc(Vec2 at, double scale, const ShapeCommand& c) {
    const double r = c.radius * scale;
    if (r == 0) return std::nullopt;
    const auto [ccw, start, span] = octants(c.octants);
    constexpr double unit = 45.0 / 256.0;
    const double endAngle = c.endOffset == 0 ? 256 * unit : c.endOffset * unit;
    double a0 = ccw ? start * 45.0 + c.startOffset * unit : start * 45.0 - c.startOffset * unit;
    double a1 = ccw ? (start + span - 1) * 45.0 + endAngle : (start - span + 1) * 45.0 - endAngle;
    a0 *= kPi / 180;
    a1 *= kPi / 180;
    return ArcPath{at - Vec2{r * std::cos(a0), r * std::sin(a0)}, r, a0, a1 - a0, a1};
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
    // Along the arc with the pen down; to its end with the pen up.
    void follow(const ArcPath& a) {
        if (down) {
            arc(a.center, a.radius, a.start, a.sweep);
            return;
        }
        moveTo({a.center.x + a.radius * std::cos(a.end), a.center.y + a.radius * std::sin(a.end)});
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
    const bool small = number >= 0 && number < static_cast<int>(made_.size());
    if (small)
        if (const Glyph* g = made_[static_cast<std::size_t>(number)].load(std::memory_order_acquire)) return g;
    const std::lock_guard<std::mutex> lock(cacheLock_);
    if (auto it = cache_.find(number); it != cache_.end()) return it->second.get();
    if (!has(number)) return nullptr;
    auto g = std::make_unique<Glyph>();
    Pen pen;
    pen.out = g.get();
    run(number, pen, 0);
    g->advance = pen.at;
    measure(*g);
    const Glyph* made = cache_.emplace(number, std::move(g)).first->second.get();
    if (small) made_[static_cast<std::size_t>(number)].store(made, std::memory_order_release);
    return made;
}

void ShxFont::run(int number, Pen& pen, int depth) const {
    const auto it = shapes_.find(number);
    if (it == shapes_.end() || depth > kMaxDepth) return;
    pen.down = true;
    pen.lift();
    bool skip = false;  // after code 14: the next command is for vertical text only
    // A shape whose codes run past its end draws what came before.
    (void)decodeShape(it->second.codes, [&](const ShapeCommand& c) {
        const bool act = !skip;
        skip = c.kind == ShapeCommand::Kind::VerticalOnly;
        if (act) draw(c, pen, depth);
    });
}

void ShxFont::draw(const ShapeCommand& c, Pen& pen, int depth) const {
    using Kind = ShapeCommand::Kind;
    switch (c.kind) {
        case Kind::Vector:
            pen.lineTo(pen.at + Vec2{kDirX[c.direction], kDirY[c.direction]} * (c.length * pen.scale));
            break;
        case Kind::PenDown: pen.down = true; break;
        case Kind::PenUp:
            pen.down = false;
            pen.lift();
            break;
        case Kind::DivideScale:
            if (c.value != 0) pen.scale /= c.value;
            break;
        case Kind::MultiplyScale:
            if (c.value != 0) pen.scale *= c.value;
            break;
        case Kind::Push: pen.stack.push_back(pen.at); break;
        case Kind::Pop:
            if (!pen.stack.empty()) {
                pen.moveTo(pen.stack.back());
                pen.stack.pop_back();
            }
            break;
        case Kind::SubShape:
            run(c.value, pen, depth + 1);  // from the pen's place, in its state
            pen.lift();
            break;
        case Kind::Displacements:
        case Kind::BulgeArcs:
            for (const ShapeStep& step : c.steps)
                pen.bulgeTo(pen.at + Vec2{double(step.dx), double(step.dy)} * pen.scale, step.bulge / 127.0);
            break;
        case Kind::OctantArc:
            if (const auto a = octantArc(pen.at, pen.scale, c)) pen.follow(*a);
            break;
        case Kind::FractionalArc:
            if (const auto a = fractionalArc(pen.at, pen.scale, c)) pen.follow(*a);
            break;
        case Kind::End:
        case Kind::VerticalOnly:
        case Kind::Unknown: break;
    }
}

}  // namespace kestrin::render
