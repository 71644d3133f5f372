#include "host/db/SpatialIndex.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"

namespace kestrin::db {

namespace {

// The first value of each group code the outlines need, before extended data.
struct Values {
    double v[100] = {};
    bool has[100] = {};
    std::vector<std::pair<double, double>> vertices;  // every 10/20 pair (LWPOLYLINE)
    std::size_t chars = 0;                            // the string (1, and 3 for MTEXT)
    std::size_t lines = 1;                            // MTEXT paragraphs
    std::size_t longestLine = 0;
};

Values valuesOf(const Entry& e, bool allVertices) {
    Values out;
    std::size_t line = 0;
    for (const auto& tag : e.record.tags) {
        if (tag.code == 1001) break;
        if (tag.code == 1 || tag.code == 3) {
            // MTEXT breaks paragraphs with \P; a rough count of what is shown
            const std::string_view s = tag.value;
            for (std::size_t i = 0; i < s.size(); ++i) {
                if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'P') {
                    ++out.lines;
                    out.longestLine = std::max(out.longestLine, line);
                    line = 0;
                    ++i;
                } else {  // one byte a character (CP1251)
                    ++line;
                    ++out.chars;
                }
            }
            continue;
        }
        if (tag.code < 0 || tag.code >= 100) continue;
        const bool coordinate = tag.code == 10 || tag.code == 20;
        if (out.has[tag.code] && !(allVertices && coordinate)) continue;
        const auto value = parseReal(tag.value);
        if (!value) continue;
        if (allVertices && tag.code == 10) out.vertices.emplace_back(*value, 0.0);
        if (allVertices && tag.code == 20 && !out.vertices.empty()) out.vertices.back().second = *value;
        if (!out.has[tag.code]) {
            out.v[tag.code] = *value;
            out.has[tag.code] = true;
        }
    }
    out.longestLine = std::max(out.longestLine, line);
    return out;
}

constexpr double kCharAdvance = 0.8;  // of the height: a generous average glyph advance

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// A box of w x h whose corner (dx, dy) from the origin, turned by `angle`.
Outline quad(double x, double y, double dx, double dy, double w, double h, double angle) {
    Outline o;
    o.kind = Outline::Kind::Quad;
    const double c = std::cos(angle), s = std::sin(angle);
    const double corners[4][2] = {{dx, dy}, {dx + w, dy}, {dx + w, dy + h}, {dx, dy + h}};
    for (const auto& p : corners) o.points.emplace_back(x + p[0] * c - p[1] * s, y + p[0] * s + p[1] * c);
    return o;
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

namespace {

std::optional<Outline> shapeOf(const Entry& e, const Values& v);

}  // namespace

std::optional<Outline> outlineOf(const Entry& e) {
    const Values v = valuesOf(e, e.record.type == "LWPOLYLINE");
    std::optional<Outline> o = shapeOf(e, v);
    if (o && v.has[10] && v.has[20] && e.record.type != "LWPOLYLINE") o->insertion = std::pair(v.v[10], v.v[20]);
    return o;
}

namespace {

std::optional<Outline> shapeOf(const Entry& e, const Values& v) {
    const std::string& type = e.record.type;
    const bool lw = type == "LWPOLYLINE";
    if (type == "POLYLINE" && e.children) {
        Outline o;
        o.kind = Outline::Kind::Polyline;
        o.closed = (static_cast<long long>(v.v[70]) & 1) != 0;
        for (const Entry* vertex : *e.children) {
            if (vertex->record.type != "VERTEX") continue;
            const Values p = valuesOf(*vertex, false);
            if (p.has[10] && p.has[20]) o.points.emplace_back(p.v[10], p.v[20]);
        }
        if (!o.points.empty()) return o;
    }
    if (lw && !v.vertices.empty()) {
        Outline o;
        o.kind = Outline::Kind::Polyline;
        o.closed = (static_cast<long long>(v.v[70]) & 1) != 0;
        o.points = v.vertices;
        return o;
    }
    if (!v.has[10] || !v.has[20]) return std::nullopt;
    const double x = v.v[10], y = v.v[20];
    if (type == "LINE" && v.has[11] && v.has[21]) {
        Outline o;
        o.kind = Outline::Kind::Polyline;
        o.points = {{x, y}, {v.v[11], v.v[21]}};
        return o;
    }
    if ((type == "CIRCLE" || type == "ARC") && v.has[40]) {
        Outline o;
        o.kind = Outline::Kind::Arc;
        o.points = {{x, y}};
        o.radius = std::fabs(v.v[40]);
        o.start = type == "ARC" ? radians(v.v[50]) : 0;
        o.end = type == "ARC" ? radians(v.v[51]) : 2 * std::numbers::pi;
        return o;
    }
    if ((type == "TEXT" || type == "ATTRIB" || type == "ATTDEF") && v.has[40] && v.v[40] > 0) {
        const double h = v.v[40];
        const double width = v.has[41] && v.v[41] > 0 ? v.v[41] : 1.0;
        const double w = std::max<std::size_t>(v.chars, 1) * h * width * kCharAdvance;
        return quad(x, y, 0, 0, w, h, radians(v.v[50]));
    }
    if (type == "MTEXT" && v.has[40] && v.v[40] > 0) {
        const double h = v.v[40] * static_cast<double>(v.lines);
        const double w = v.has[41] && v.v[41] > 0 ? v.v[41]
                                                   : std::max<std::size_t>(v.longestLine, 1) * v.v[40] * kCharAdvance;
        const long long attach = std::clamp<long long>(v.has[71] ? static_cast<long long>(v.v[71]) : 1, 1, 9);
        const double col = static_cast<double>((attach - 1) % 3), row = static_cast<double>((attach - 1) / 3);
        const double angle = v.has[11] && v.has[21] ? std::atan2(v.v[21], v.v[11]) : radians(v.v[50]);
        return quad(x, y, -col * w / 2, -h + row * h / 2, w, h, angle);
    }
    Outline o;
    o.points = {{x, y}};
    return o;
}

}  // namespace

Box boundsOf(const Outline& o) {
    if (o.kind == Outline::Kind::Arc) {
        const auto [x, y] = o.points.front();
        return {x - o.radius, y - o.radius, x + o.radius, y + o.radius};
    }
    Box b{o.points.front().first, o.points.front().second, o.points.front().first, o.points.front().second};
    for (const auto& [x, y] : o.points) {
        b.minX = std::min(b.minX, x);
        b.maxX = std::max(b.maxX, x);
        b.minY = std::min(b.minY, y);
        b.maxY = std::max(b.maxY, y);
    }
    return b;
}

double distanceTo(const Outline& o, double px, double py) {
    const auto& pts = o.points;
    switch (o.kind) {
        case Outline::Kind::Point: return std::hypot(px - pts[0].first, py - pts[0].second);
        case Outline::Kind::Arc: {
            const double dx = px - pts[0].first, dy = py - pts[0].second;
            const double twoPi = 2 * std::numbers::pi;
            double span = std::fmod(o.end - o.start, twoPi);
            if (span <= 0) span += twoPi;
            double at = std::fmod(std::atan2(dy, dx) - o.start, twoPi);
            if (at < 0) at += twoPi;
            if (at <= span) return std::fabs(std::hypot(dx, dy) - o.radius);
            const double ends[2] = {o.start, o.start + span};
            double best = INFINITY;
            for (double a : ends)
                best = std::min(best, std::hypot(px - (pts[0].first + o.radius * std::cos(a)),
                                                 py - (pts[0].second + o.radius * std::sin(a))));
            return best;
        }
        case Outline::Kind::Quad:
        case Outline::Kind::Polyline: {
            const bool quad = o.kind == Outline::Kind::Quad;
            if (quad) {  // inside a convex quad: the point is on one side of every edge
                int sign = 0;
                bool inside = true;
                for (std::size_t i = 0; i < 4 && inside; ++i) {
                    const auto& a = pts[i];
                    const auto& b = pts[(i + 1) % 4];
                    const double cross = (b.first - a.first) * (py - a.second) - (b.second - a.second) * (px - a.first);
                    const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
                    if (s != 0 && sign != 0 && s != sign) inside = false;
                    if (s != 0) sign = s;
                }
                if (inside) return 0;
            }
            if (pts.size() == 1) return std::hypot(px - pts[0].first, py - pts[0].second);
            double best = INFINITY;
            const std::size_t n = pts.size();
            const std::size_t edges = quad || o.closed ? n : n - 1;
            for (std::size_t i = 0; i < edges; ++i) {
                const auto& a = pts[i];
                const auto& b = pts[(i + 1) % n];
                best = std::min(best, segmentDistance(px, py, a.first, a.second, b.first, b.second));
            }
            return best;
        }
    }
    return INFINITY;
}

SpatialIndex::SpatialIndex(DrawingStore& store) : store_(store) {
    DatabaseEvents& events = store.database().events();
    auto entryOf = [](const AcDbObjectId& id) { return id.entry(); };
    connections_.push_back(events.added.connectScoped([this, entryOf](AcDbObjectId id) {
        if (Entry* e = entryOf(id); e && e->store == &store_) update(e);
    }));
    connections_.push_back(events.changed.connectScoped([this, entryOf](AcDbObjectId id) {
        if (Entry* e = entryOf(id); e && e->store == &store_) update(e);
    }));
    connections_.push_back(events.erased.connectScoped([this, entryOf](AcDbObjectId id) {
        if (Entry* e = entryOf(id); e && e->store == &store_) update(e);
    }));
}

std::int64_t SpatialIndex::cellOf(double v) const {
    const double c = std::floor(v / cell_);
    if (!(c > -2147483648.0)) return -2147483648LL;  // also NaN
    if (c > 2147483647.0) return 2147483647LL;
    return static_cast<std::int64_t>(c);
}

// Top-level entities (in model or paper space) and the attributes of those.
bool SpatialIndex::indexable(const Entry& e) const {
    if (e.erased) return false;
    if (e.place == Place::SubEntity)
        return e.record.type == "ATTRIB" && e.parent != nullptr && indexable(*e.parent);
    const Space space = store_.spaceOf(e);
    return space == Space::Model || space == Space::Paper;
}

void SpatialIndex::rebuild() {
    dirty_ = false;
    cells_.clear();
    boxes_.clear();
    large_.clear();
    std::vector<std::pair<Entry*, Box>> all;
    auto take = [&all](Entry* e) {
        if (e->erased) return;
        if (auto o = outlineOf(*e)) all.emplace_back(e, boundsOf(*o));
    };
    for (Entry* e : store_.topLevelEntities()) {
        if (e->erased) continue;
        take(e);
        if (e->children)
            for (Entry* child : *e->children)
                if (child->record.type == "ATTRIB") take(child);
    }
    // Cells of about the drawing's area per entity, or the typical box when
    // the boxes are larger than that.
    Box ext{INFINITY, INFINITY, -INFINITY, -INFINITY};
    std::vector<double> sizes;
    sizes.reserve(all.size());
    for (const auto& [e, b] : all) {
        ext.minX = std::min(ext.minX, b.minX);
        ext.minY = std::min(ext.minY, b.minY);
        ext.maxX = std::max(ext.maxX, b.maxX);
        ext.maxY = std::max(ext.maxY, b.maxY);
        sizes.push_back(std::max(b.maxX - b.minX, b.maxY - b.minY));
    }
    cell_ = 1.0;
    if (!all.empty()) {
        const double area = std::max(ext.maxX - ext.minX, 1e-9) * std::max(ext.maxY - ext.minY, 1e-9);
        const double spread = std::sqrt(area / static_cast<double>(all.size()));
        std::nth_element(sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2), sizes.end());
        const double typical = sizes[sizes.size() / 2];
        cell_ = std::max(spread, typical);
        if (!(cell_ > 1e-9) || !std::isfinite(cell_)) cell_ = 1.0;
    }
    cells_.reserve(all.size());
    boxes_.reserve(all.size());
    for (const auto& [e, b] : all) place(e, b);
    builtWith_ = boxes_.size();
}

void SpatialIndex::place(Entry* e, const Box& b) {
    boxes_[e] = b;
    const std::int64_t x0 = cellOf(b.minX), x1 = cellOf(b.maxX), y0 = cellOf(b.minY), y1 = cellOf(b.maxY);
    if (x1 - x0 >= kLargeSpan || y1 - y0 >= kLargeSpan) {
        large_.push_back(e);
        return;
    }
    for (std::int64_t cx = x0; cx <= x1; ++cx)
        for (std::int64_t cy = y0; cy <= y1; ++cy) cells_[key(cx, cy)].push_back(e);
}

void SpatialIndex::insert(Entry* e) {
    if (auto o = outlineOf(*e)) place(e, boundsOf(*o));
    if (boxes_.size() > 2 * builtWith_ + 1024) dirty_ = true;  // the cells were sized for fewer
}

void SpatialIndex::remove(Entry* e) {
    const auto it = boxes_.find(e);
    if (it == boxes_.end()) return;
    const Box b = it->second;
    boxes_.erase(it);
    auto drop = [e](std::vector<Entry*>& list) {
        if (auto at = std::find(list.begin(), list.end(), e); at != list.end()) {
            *at = list.back();
            list.pop_back();
        }
    };
    const std::int64_t x0 = cellOf(b.minX), x1 = cellOf(b.maxX), y0 = cellOf(b.minY), y1 = cellOf(b.maxY);
    if (x1 - x0 >= kLargeSpan || y1 - y0 >= kLargeSpan) return drop(large_);
    for (std::int64_t cx = x0; cx <= x1; ++cx)
        for (std::int64_t cy = y0; cy <= y1; ++cy)
            if (auto cell = cells_.find(key(cx, cy)); cell != cells_.end()) {
                drop(cell->second);
                if (cell->second.empty()) cells_.erase(cell);
            }
}

void SpatialIndex::update(Entry* e) {
    if (dirty_) return;  // the next query rebuilds everything
    remove(e);
    if (indexable(*e)) insert(e);
    // An INSERT that is erased or brought back takes its attributes along.
    if (e->children)
        for (Entry* child : *e->children) {
            remove(child);
            if (indexable(*child)) insert(child);
        }
}

}  // namespace kestrin::db
