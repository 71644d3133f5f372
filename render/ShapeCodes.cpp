#include "render/ShapeCodes.h"

namespace kestrin::render {

std::optional<ShapeDecodeError> decodeShape(std::string_view codes,
                                            const std::function<void(const ShapeCommand&)>& command) {
    using Kind = ShapeCommand::Kind;
    const std::size_t n = codes.size();
    auto u8 = [&](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(codes[i])); };
    auto s8 = [&](std::size_t i) { return static_cast<int>(static_cast<signed char>(codes[i])); };
    std::size_t i = 0;
    while (i < n) {
        ShapeCommand c;
        c.at = i;
        c.code = u8(i++);
        // The operands, `count` bytes from i, or the error naming them.
        auto has = [&](std::size_t count) { return i + count <= n; };
        auto truncated = [&](const char* what) { return ShapeDecodeError{c.at, what}; };
        if (c.code > 15) {
            c.kind = Kind::Vector;
            c.length = c.code >> 4;
            c.direction = c.code & 15;
            command(c);
            continue;
        }
        switch (c.code) {
            case 0: c.kind = Kind::End; break;
            case 1: c.kind = Kind::PenDown; break;
            case 2: c.kind = Kind::PenUp; break;
            case 3:
            case 4:
                if (!has(1)) return truncated("a scale factor");
                c.kind = c.code == 3 ? Kind::DivideScale : Kind::MultiplyScale;
                c.value = u8(i++);
                break;
            case 5: c.kind = Kind::Push; break;
            case 6: c.kind = Kind::Pop; break;
            case 7:
                if (!has(1)) return truncated("a sub-shape number");
                c.kind = Kind::SubShape;
                c.value = u8(i++);
                break;
            case 8:
                if (!has(2)) return truncated("an XY displacement");
                c.kind = Kind::Displacements;
                c.steps.push_back({s8(i), s8(i + 1), 0});
                i += 2;
                break;
            case 12:
                if (!has(3)) return truncated("a bulge arc");
                c.kind = Kind::BulgeArcs;
                c.steps.push_back({s8(i), s8(i + 1), s8(i + 2)});
                i += 3;
                break;
            case 9:
            case 13: {
                const bool arcs = c.code == 13;
                c.kind = arcs ? Kind::BulgeArcs : Kind::Displacements;
                for (;;) {
                    if (!has(2)) {
                        command(c);
                        return truncated(arcs ? "bulge arcs ending 0,0" : "displacements ending 0,0");
                    }
                    ShapeStep step{s8(i), s8(i + 1), 0};
                    i += 2;
                    if (step.dx == 0 && step.dy == 0) break;
                    if (arcs) {
                        if (!has(1)) {
                            command(c);
                            return truncated("a bulge arc");
                        }
                        step.bulge = s8(i++);
                    }
                    c.steps.push_back(step);
                }
                break;
            }
            case 10:
                if (!has(2)) return truncated("an octant arc");
                c.kind = Kind::OctantArc;
                c.radius = u8(i);
                c.octantsAt = i + 1;
                c.octants = static_cast<unsigned char>(u8(i + 1));
                i += 2;
                break;
            case 11:
                if (!has(5)) return truncated("a fractional arc");
                c.kind = Kind::FractionalArc;
                c.startOffset = u8(i);
                c.endOffset = u8(i + 1);
                c.radius = u8(i + 2) * 256 + u8(i + 3);
                c.octantsAt = i + 4;
                c.octants = static_cast<unsigned char>(u8(i + 4));
                i += 5;
                break;
            case 14: c.kind = Kind::VerticalOnly; break;
            default: c.kind = Kind::Unknown; break;
        }
        command(c);
        if (c.kind == Kind::End) break;
    }
    return std::nullopt;
}

}  // namespace kestrin::render
