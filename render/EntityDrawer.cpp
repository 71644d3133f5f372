#include "render/EntityDrawer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "platform/process/Parallel.h"
#include "render/Arcs.h"
#include "render/Curves.h"
#include "render/DrawingTables.h"
#include "render/HatchFill.h"
#include "render/MTextCodes.h"
#include "render/MTextLayout.h"
#include "render/PolylineWidths.h"
#include "render/TagReader.h"
#include "render/TextLayout.h"

namespace kestrin::render {

namespace {

constexpr int kMaxNesting = 16;                 // blocks within blocks
constexpr std::size_t kMaxArrayCopies = 10000;  // columns x rows of one INSERT
constexpr std::size_t kMaxEntities = EntityDrawer::kLimit;
constexpr double kDegree = kPi / 180;

// Where an entity is drawn: the map to drawing units, and what "by block"
// and layer 0 stand for inside the block reference it is drawn through.
struct Place {
    Affine m;
    int depth = 0;
    Color blockColor = kDark;
    std::string_view blockLayer = "0";
};

}  // namespace

class EntityDrawer::Impl {
public:
    Impl(const dxf::Document& doc, Space space, FontLibrary& fonts) : space_(space), fonts_(fonts), tables_(doc) {
        fonts_.setAlternate(tables_.alternateFont());
    }

    bool inSpace(const dxf::Record& r) const {
        const auto paper = r.tags.first(67);  // one code: looked for alone
        return ((paper ? wholeNumber(parseNumber(*paper, 0)) : 0) == 1) == (space_ == Space::Paper);
    }

    // Entities kept in the space's block (*Model_Space, or $MODEL_SPACE in older files).
    const dxf::Block* spaceBlock() const {
        const bool paper = space_ == Space::Paper;
        const dxf::Block* b = tables_.block(paper ? "*PAPER_SPACE" : "*MODEL_SPACE");
        return b ? b : tables_.block(paper ? "$PAPER_SPACE" : "$MODEL_SPACE");
    }

    std::size_t draw(Records records, std::size_t i, Scene& out) {
        scene_ = &out;
        return entity(records, i, Place{});
    }

    // Records that belong to the one at `i` (VERTEX, ATTRIB ... up to SEQEND): the index after them.
    static std::size_t pastFollowers(Records records, std::size_t i) {
        std::size_t j = i + 1;
        while (j < records.size() && records[j].type != "SEQEND" &&
               (records[j].type == "VERTEX" || records[j].type == "ATTRIB"))
            ++j;
        if (j < records.size() && records[j].type == "SEQEND") ++j;
        return j;
    }

    std::size_t visits_ = 0;
    double pixel_ = 0;  // see setPixelSize

private:
    // A pixel's size in the units of an entity placed by `m` (its larger
    // scale, so no chord strays further than wanted); 0 for fixed steps.
    double pixelIn(const Affine& m) const {
        if (!(pixel_ > 0)) return 0;
        const double scale = std::sqrt(std::max(m.a * m.a + m.b * m.b, m.c * m.c + m.d * m.d));
        return scale > 0 && std::isfinite(scale) ? pixel_ / scale : 0;
    }

    // The entity's colour where it is drawn.
    Color colorOf(const TagReader& t, const Place& at) const {
        const std::string_view layer = t.str(8, "0");
        const std::string_view byLayer = layer == "0" ? at.blockLayer : layer;
        return resolveColor(ColorChoice::fromTags(t.optionalInteger(62), t.optionalInteger(420)),
                            tables_.layerColor(byLayer), at.blockColor);
    }
    // The layer that layer 0 stands for inside what this entity holds.
    static std::string_view layerFor(const TagReader& t, const Place& at) {
        const std::string_view layer = t.str(8, "0");
        return layer == "0" ? at.blockLayer : layer;
    }

    void emit(Polyline&& p, const Affine& m) {
        if (p.empty()) return;
        for (Vec2& q : p) {
            q = m(q);
            if (!std::isfinite(q.x) || !std::isfinite(q.y)) return;
        }
        scene_->setColor(color_);
        scene_->strokes.push_back(std::move(p));
    }

    void emitArea(std::vector<Polyline>&& rings, FillRule rule, const Affine& m) {
        Fill f;
        f.color = color_;
        f.rule = rule;
        for (Polyline& r : rings) {
            if (r.size() < 3) continue;
            bool finite = true;
            for (Vec2& q : r) {
                q = m(q);
                finite = finite && std::isfinite(q.x) && std::isfinite(q.y);
            }
            if (finite) f.rings.push_back(std::move(r));
        }
        if (!f.rings.empty()) scene_->fills.push_back(std::move(f));
    }

    // Draws the entity at `i`; answers the index of the next one.
    std::size_t entity(Records records, std::size_t i, const Place& at) {
        const dxf::Record& r = records[i];
        const TagReader t(r);
        const std::string& type = r.type;
        // A polyline's vertices are read with it; an insert's attributes are
        // entities of their own (in this space's coordinates) unless the insert is hidden.
        const std::size_t next = type == "POLYLINE" ? pastFollowers(records, i) : i + 1;
        if (type == "VERTEX" || type == "SEQEND") return i + 1;
        if (visits_ >= kMaxEntities) {
            scene_->skipped["(over " + std::to_string(kMaxEntities) + " entities, not drawn)"] = 1;
            return records.size();
        }
        ++visits_;
        const bool invisible = t.integer(60) == 1;
        if (invisible || tables_.hidden(t.str(8, "0"))) return type == "INSERT" ? pastFollowers(records, i) : next;
        color_ = colorOf(t, at);
        const Affine& m = at.m;
        // A 2D entity whose normal points down is seen mirrored.
        const Affine ocs = t.num(230, 1) < 0 ? m.after(Affine::scale(-1, 1)) : m;
        if (type == "LINE") {
            emit({t.point(10), t.point(11)}, m);
        } else if (type == "CIRCLE" || type == "ARC") {
            Polyline p;
            double a0 = 0, sweep = 2 * kPi;
            if (type == "ARC") {
                a0 = t.num(50) * kDegree;
                sweep = positiveSweep(t.num(51) * kDegree - a0);
            }
            arcPoints(p, t.point(10), t.num(40), a0, sweep, arcStep(t.num(40), pixelIn(ocs)));
            emit(std::move(p), ocs);
        } else if (type == "LWPOLYLINE") {
            lwpolyline(r, ocs);
        } else if (type == "POLYLINE") {
            if (!polyline(records, i, next, ocs)) {
                ++scene_->skipped["POLYLINE (mesh)"];
                return next;
            }
        } else if (type == "POINT") {
            emit({t.point(10)}, m);
        } else if (type == "TEXT" || type == "ATTRIB" || type == "ATTDEF") {
            // Attribute definitions show in a block only when constant.
            if (type == "ATTDEF" && at.depth > 0 && (t.integer(70) & 2) == 0) return next;
            if ((type != "TEXT") && (t.integer(70) & 1) != 0) return next;  // invisible
            text(t, type, ocs, at.depth);
        } else if (type == "MTEXT") {
            mtext(r, at);
        } else if (type == "INSERT" || type == "DIMENSION") {
            if (!insert(t, type == "DIMENSION" ? m : ocs, at)) return next;
        } else if (type == "HATCH") {
            if (!hatch(r, ocs)) return next;
        } else if (type == "SPLINE") {
            if (!spline(r, m)) return next;
        } else if (type == "ELLIPSE") {
            Ellipse e{t.point(10), t.point(11), t.num(40, 1), t.num(41), t.num(42, 2 * kPi), t.num(230, 1) < 0};
            emit(ellipsePoints(e, pixelIn(m)), m);
        } else if (type == "SOLID" || type == "TRACE") {
            const Vec2 p1 = t.point(10), p2 = t.point(11), p3 = t.point(12), p4 = t.has(13) ? t.point(13) : p3;
            // The format orders the corners 1, 2, then 4 opposite 2 and 3 opposite 1.
            emitArea({{p1, p2, p4, p3}}, FillRule::NonZero, ocs);
            emit({p1, p2, p4, p3, p1}, ocs);
        } else if (type == "3DFACE") {
            face(t, m);
        } else {
            ++scene_->skipped[type];
            return next;
        }
        ++scene_->drawn;
        return next;
    }

    // Vertices with their bulges and widths, drawn as strokes, or as filled
    // bands where they have width.
    void vertices(std::vector<WideVertex>& pts, bool closed, const Affine& m) {
        if (pts.empty()) return;
        const bool wide = std::any_of(pts.begin(), pts.end(), [](const WideVertex& v) {
            return v.startWidth > 0 || v.endWidth > 0;
        });
        if (!wide) {
            Polyline p{pts[0].at};
            const double pixel = pixelIn(m);
            for (std::size_t k = 1; k < pts.size(); ++k) bulgeTo(p, pts[k].at, pts[k - 1].bulge, pixel);
            if (closed && pts.size() > 1) bulgeTo(p, pts[0].at, pts.back().bulge, pixel);
            emit(std::move(p), m);
            return;
        }
        WideOutline outline = widePolyline(pts, closed);
        emitArea(std::move(outline.rings), FillRule::NonZero, m);
        for (Polyline& s : outline.strokes) emit(std::move(s), m);
    }

    void lwpolyline(const dxf::Record& r, const Affine& m) {
        const TagReader t(r);
        const double constant = t.num(43);
        std::vector<WideVertex> pts;
        for (const dxf::TagView tag : r.tags) {
            if (tag.code == 10) {
                pts.push_back({{parseNumber(tag.value, 0), 0}, 0, constant, constant});
            } else if (pts.empty()) {
                continue;
            } else if (tag.code == 20) {
                pts.back().at.y = parseNumber(tag.value, 0);
            } else if (tag.code == 42) {
                pts.back().bulge = parseNumber(tag.value, 0);
            } else if (tag.code == 40) {
                pts.back().startWidth = parseNumber(tag.value, 0);
            } else if (tag.code == 41) {
                pts.back().endWidth = parseNumber(tag.value, 0);
            }
        }
        vertices(pts, (t.integer(70) & 1) != 0, m);
    }

    bool polyline(Records records, std::size_t i, std::size_t end, const Affine& m) {
        const TagReader head(records[i]);
        const long flags = head.integer(70);
        if (flags & (16 | 64)) return false;  // polygon and polyface meshes
        const bool flat = (flags & 8) == 0;   // a 3D polyline has no widths
        const double w0 = flat ? head.num(40) : 0, w1 = flat ? head.num(41) : 0;
        std::vector<WideVertex> pts;
        for (std::size_t k = i + 1; k < end; ++k) {
            if (records[k].type != "VERTEX") continue;
            const TagReader v(records[k]);
            if (v.integer(70) & 16) continue;  // spline frame control point
            pts.push_back({v.point(10), v.num(42), flat ? v.num(40, w0) : 0, flat ? v.num(41, w1) : 0});
        }
        vertices(pts, (flags & 1) != 0, m);
        return true;
    }

    void emitText(std::vector<Polyline>&& strokes, std::vector<Polyline>&& areas, const Affine& m) {
        emitArea(std::move(areas), FillRule::NonZero, m);
        for (Polyline& s : strokes) emit(std::move(s), m);
    }

    void text(const TagReader& t, const std::string& type, const Affine& m, int depth) {
        const TextStyle& style = tables_.style(t.str(7));
        const TextFonts f = fontsOf(style);
        TextParams p;
        // A definition shows its tag in a space, its (constant) value in a block.
        p.text = std::string(type == "ATTDEF" && depth == 0 ? t.str(2) : t.str(1));
        p.first = t.point(10);
        p.second = t.has(11) ? t.point(11) : p.first;
        p.height = t.num(40, style.fixedHeight);
        p.widthFactor = t.num(41, style.widthFactor);
        p.obliqueDeg = t.num(51, style.obliqueDeg);
        p.rotationDeg = t.num(50);
        const long h = t.integer(72), v = t.integer(type == "TEXT" ? 73 : 74);
        p.h = h >= 0 && h <= 5 ? static_cast<HAlign>(h) : HAlign::Left;
        p.v = v >= 0 && v <= 3 ? static_cast<VAlign>(v) : VAlign::Baseline;
        const long g = t.integer(71);
        p.backward = (g & 2) != 0;
        p.upsideDown = (g & 4) != 0;
        if (p.height <= 0) return;
        PlacedText placed = placeGlyphs(p, f);
        emitText(std::move(placed.strokes), std::move(placed.areas), m);
        if (!placed.glyphs.empty()) {
            GlyphRun run;
            run.glyphs = std::move(placed.glyphs);
            run.fallbackScale = placed.fallbackScale;
            run.toWorld = placed.toWorld;
            if (!isIdentity(m)) run.outer = std::make_shared<const Affine>(m);
            run.color = color_;
            run.at = static_cast<std::uint32_t>(scene_->strokes.size());
            scene_->runs.push_back(std::move(run));
        }
    }

    void mtext(const dxf::Record& r, const Place& at) {
        const TagReader t(r);
        std::string content;
        for (const dxf::TagView tag : r.tags)
            if (tag.code == 3) content += tag.value;
        content += t.str(1);
        const TextStyle& style = tables_.style(t.str(7));
        MTextFrame frame;
        frame.height = t.num(40, style.fixedHeight);
        if (frame.height <= 0) return;
        frame.width = std::max(0.0, t.num(41));
        frame.attachment = static_cast<int>(std::clamp(t.integer(71, 1), 1L, 9L));
        frame.spacing = t.num(44, 1) > 0 ? t.num(44, 1) : 1;
        frame.exactSpacing = t.integer(73, 1) == 2;
        MTextFormat format;
        format.height = frame.height;
        format.widthFactor = style.widthFactor > 0 ? style.widthFactor : 1;
        format.obliqueDeg = style.obliqueDeg;
        double rotation = t.num(50) * kDegree;
        if (t.has(11)) rotation = std::atan2(t.num(21), t.num(11));
        const Affine place = at.m.after(Affine::translate(t.point(10))).after(Affine::rotate(rotation));
        const MTextFonts fonts = [&](const FontRequest* code) { return fonts_.fonts(code ? *code : style.font); };
        const Color entityColor = color_;
        for (MTextPiece& piece : layoutMText(parseMText(content, format), frame, fonts)) {
            color_ = piece.color ? resolveColor(*piece.color, tables_.layerColor(layerFor(t, at)), at.blockColor)
                                 : entityColor;
            emitText(std::move(piece.strokes), std::move(piece.areas), place);
        }
        color_ = entityColor;
    }

    // An INSERT's block at its place, scale, turn and array; a DIMENSION's
    // block as it stands. False when there is nothing to draw.
    bool insert(const TagReader& t, const Affine& m, const Place& at) {
        const bool dimension = t.record().type == "DIMENSION";
        const dxf::Block* block = tables_.block(t.str(2));
        if (!block || at.depth >= kMaxNesting) {
            ++scene_->skipped[t.record().type + (block ? " (nested too deep)" : " (no block)")];
            return false;
        }
        const Vec2 base = TagReader(block->begin).point(10);
        Place inner;
        inner.depth = at.depth + 1;
        inner.blockColor = color_;
        inner.blockLayer = layerFor(t, at);
        const double sx = dimension ? 1 : t.num(41, 1), sy = dimension ? 1 : t.num(42, 1);
        const long cols = dimension ? 1 : std::max(1L, t.integer(70, 1));
        const long rows = dimension ? 1 : std::max(1L, t.integer(71, 1));
        const double colStep = t.num(44), rowStep = t.num(45);
        const Affine placed = dimension ? m
                                        : m.after(Affine::translate(t.point(10))).after(Affine::rotate(t.num(50) * kDegree));
        std::size_t copies = 0;
        for (long row = 0; row < rows; ++row) {
            for (long col = 0; col < cols; ++col) {
                if (++copies > kMaxArrayCopies) return true;
                inner.m = placed.after(Affine::translate({col * colStep, row * rowStep}))
                              .after(Affine::scale(sx, sy))
                              .after(Affine::translate(base * -1));
                for (std::size_t k = 0; k < block->entities.size();) k = entity(block->entities, k, inner);
            }
        }
        return true;
    }

    bool hatch(const dxf::Record& r, const Affine& m) {
        Hatch h = readHatch(r);
        if (h.rings.empty()) {
            ++scene_->skipped["HATCH (no boundary)"];
            return false;
        }
        if (h.solid) {
            emitArea(std::move(h.rings), FillRule::EvenOdd, m);
            return true;
        }
        HatchLines lines = hatchLines(h.rings, h.pattern);
        if (lines.tooDense) {
            ++scene_->skipped["HATCH (pattern too dense)"];
            return false;
        }
        for (Polyline& s : lines.strokes) emit(std::move(s), m);
        return true;
    }

    bool spline(const dxf::Record& r, const Affine& m) {
        const TagReader t(r);
        Spline s;
        s.degree = static_cast<int>(t.integer(71, 3));
        s.closed = (t.integer(70) & 1) != 0;
        for (const dxf::TagView tag : r.tags) {
            const double v = parseNumber(tag.value, 0);
            switch (tag.code) {
                case 40: s.knots.push_back(v); break;
                case 41: s.weights.push_back(v); break;
                case 10: s.controls.push_back({v, 0}); break;
                case 20: if (!s.controls.empty()) s.controls.back().y = v; break;
                case 11: s.fits.push_back({v, 0}); break;
                case 21: if (!s.fits.empty()) s.fits.back().y = v; break;
                default: break;
            }
        }
        Polyline points = splinePoints(s);
        if (points.empty()) {
            ++scene_->skipped["SPLINE (no points)"];
            return false;
        }
        emit(std::move(points), m);
        return true;
    }

    // A 3D face's edges (seen from above), those not flagged invisible.
    void face(const TagReader& t, const Affine& m) {
        const Vec2 p[4] = {t.point(10), t.point(11), t.point(12), t.has(13) ? t.point(13) : t.point(12)};
        const long hiddenEdges = t.integer(70);
        Polyline run;
        auto close = [&] {
            if (run.size() > 1) emit(std::move(run), m);
            run.clear();
        };
        for (int k = 0; k < 4; ++k) {
            if (hiddenEdges & (1L << k)) {
                close();
                continue;
            }
            if (run.empty()) run.push_back(p[k]);
            run.push_back(p[(k + 1) % 4]);
        }
        close();
    }

    Space space_;
    // The fonts of each text style, asked of the library once (it answers
    // under a lock that drawers on other cores share).
    const TextFonts& fontsOf(const TextStyle& style) {
        auto [at, fresh] = fontsByStyle_.try_emplace(&style);
        if (fresh) at->second = fonts_.fonts(style.font);
        return at->second;
    }

    FontLibrary& fonts_;
    DrawingTables tables_;
    std::unordered_map<const TextStyle*, TextFonts> fontsByStyle_;
    Scene* scene_ = nullptr;
    Color color_ = kDark;  // of the entity being drawn
};

EntityDrawer::EntityDrawer(const dxf::Document& doc, Space space, FontLibrary& fonts)
    : impl_(std::make_unique<Impl>(doc, space, fonts)) {}
EntityDrawer::~EntityDrawer() = default;

std::size_t drawShareInOrder(std::size_t count, std::size_t before,
                             const std::function<std::size_t(std::size_t, std::size_t, std::size_t)>& draw) {
    std::atomic<std::size_t> parts{0}, drawn{0};
    process::inParallel(count, 256, [&](std::size_t begin, std::size_t end) { drawn += draw(parts++, begin, end); });
    if (parts > 1 && before + drawn >= EntityDrawer::kLimit) {
        draw(0, 0, count);
        return 1;
    }
    return parts;
}

std::size_t EntityDrawer::draw(Records records, std::size_t i, Scene& out) {
    return impl_->draw(records, i, out);
}
bool EntityDrawer::inSpace(const dxf::Record& record) const { return impl_->inSpace(record); }
const std::vector<dxf::Record>* EntityDrawer::spaceBlockEntities() const {
    const dxf::Block* own = impl_->spaceBlock();
    return own ? &own->entities : nullptr;
}
std::size_t EntityDrawer::visits() const { return impl_->visits_; }
void EntityDrawer::setVisits(std::size_t visits) { impl_->visits_ = visits; }
void EntityDrawer::setPixelSize(double pixel) { impl_->pixel_ = pixel; }
std::size_t EntityDrawer::pastFollowers(Records records, std::size_t i) {
    return Impl::pastFollowers(records, i);
}

}  // namespace kestrin::render
