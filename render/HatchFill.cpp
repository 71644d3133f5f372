#include "render/HatchFill.h"

#include <algorithm>
#include <cmath>

#include "render/Arcs.h"
#include "render/Curves.h"
#include "render/TagReader.h"

namespace kestrin::render {

namespace {

constexpr double kDegree = kPi / 180;

void add(Polyline& ring, const Polyline& points) {
    for (const Vec2& p : points)
        if (ring.empty() || std::hypot(p.x - ring.back().x, p.y - ring.back().y) > 1e-12) ring.push_back(p);
}

// An arc or elliptical arc edge: angles in degrees, counter-clockwise or (73 = 0)
// clockwise, where the file holds the angles turned round (360 - angle).
Polyline curveEdge(Vec2 center, Vec2 major, double ratio, double start, double end, bool ccw, bool elliptic) {
    if (!ccw) {
        const double s = 360 - end, e = 360 - start;
        start = s;
        end = e;
    }
    Polyline points;
    if (elliptic) {
        Ellipse el{center, major, ratio, ellipseParameter(ratio, start * kDegree), ellipseParameter(ratio, end * kDegree)};
        if (std::abs(end - start) >= 360 - 1e-9) el.end = el.start + 2 * kPi;
        points = ellipsePoints(el);
    } else {
        arcPoints(points, center, major.x, start * kDegree, positiveSweep(end - start, 360) * kDegree);
    }
    if (!ccw) std::reverse(points.begin(), points.end());
    return points;
}

Polyline splineEdge(TagCursor& c) {
    Spline s;
    s.degree = static_cast<int>(wholeNumber(c.take(94).value_or(3), 3));
    const bool rational = c.take(73).value_or(0) != 0;
    (void)c.take(74);
    (void)c.take(95);
    (void)c.take(96);
    while (auto k = c.take(40)) s.knots.push_back(*k);
    while (auto p = c.takePoint(10)) {
        s.controls.push_back(*p);
        if (auto w = c.take(42)) s.weights.push_back(*w);
        else if (rational) s.weights.push_back(1);
    }
    if (c.take(97)) {
        while (auto p = c.takePoint(11)) s.fits.push_back(*p);
        (void)c.takePoint(12);
        (void)c.takePoint(13);
    }
    return splinePoints(s);
}

Polyline edgePath(TagCursor& c) {
    Polyline ring;
    const std::size_t edges = c.count(c.take(93).value_or(0));
    for (std::size_t k = 0; k < edges && c.remaining() > 0; ++k) {
        const auto type = c.take(72);
        if (!type) break;
        switch (wholeNumber(*type)) {
            case 1: {
                const auto a = c.takePoint(10), b = c.takePoint(11);
                if (a) add(ring, {*a});
                if (b) add(ring, {*b});
                break;
            }
            case 2: {
                const Vec2 center = c.takePoint(10).value_or(Vec2{});
                const double r = c.take(40).value_or(0);
                const double a0 = c.take(50).value_or(0), a1 = c.take(51).value_or(360);
                const bool ccw = c.take(73).value_or(1) != 0;
                add(ring, curveEdge(center, {r, 0}, 1, a0, a1, ccw, false));
                break;
            }
            case 3: {
                const Vec2 center = c.takePoint(10).value_or(Vec2{});
                const Vec2 major = c.takePoint(11).value_or(Vec2{1, 0});
                const double ratio = c.take(40).value_or(1);
                const double a0 = c.take(50).value_or(0), a1 = c.take(51).value_or(360);
                const bool ccw = c.take(73).value_or(1) != 0;
                add(ring, curveEdge(center, major, ratio, a0, a1, ccw, true));
                break;
            }
            case 4:
                add(ring, splineEdge(c));
                break;
            default:
                return ring;  // not an edge this reader knows: the path ends here
        }
    }
    return ring;
}

Polyline polylinePath(TagCursor& c) {
    const bool bulges = c.take(72).value_or(0) != 0;
    (void)c.take(73);
    const std::size_t count = c.count(c.take(93).value_or(0));
    std::vector<Vec2> pts;
    std::vector<double> bulge;
    for (std::size_t k = 0; k < count && c.remaining() > 0; ++k) {
        const auto p = c.takePoint(10);
        if (!p) break;
        pts.push_back(*p);
        bulge.push_back(bulges ? c.take(42).value_or(0) : 0);
    }
    if (pts.empty()) return {};
    Polyline ring{pts[0]};
    for (std::size_t k = 1; k < pts.size(); ++k) bulgeTo(ring, pts[k], bulge[k - 1]);
    if (pts.size() > 1) bulgeTo(ring, pts[0], bulge.back());
    return ring;
}

double cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
double dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }

}  // namespace

Hatch readHatch(const dxf::Record& record) {
    Hatch h;
    const TagReader t(record);
    h.solid = t.integer(70) == 1 || t.integer(450) != 0;
    TagCursor c(record.tags);
    if (!c.seek(91)) return h;
    const std::size_t paths = c.count(c.number());
    c.next();
    for (std::size_t k = 0; k < paths && c.seek(92); ++k) {
        const long flags = wholeNumber(c.number());
        c.next();
        Polyline ring = (flags & 2) ? polylinePath(c) : edgePath(c);
        // Closed by the fill itself: a last point on the first adds nothing.
        if (ring.size() > 1 && std::hypot(ring.back().x - ring.front().x, ring.back().y - ring.front().y) < 1e-12)
            ring.pop_back();
        if (ring.size() >= 3) h.rings.push_back(std::move(ring));
        // The boundary's source objects: handles, nothing to draw.
        if (auto n = c.take(97))
            for (std::size_t s = c.count(*n); s > 0 && c.take(330); --s) {}
    }
    if (h.solid || !c.seek(78)) return h;
    const std::size_t lines = c.count(c.number());
    c.next();
    for (std::size_t k = 0; k < lines && c.remaining() > 0; ++k) {
        PatternLine line;
        const auto angle = c.take(53);
        if (!angle) break;
        line.angleDeg = *angle;
        line.base.x = c.take(43).value_or(0);
        line.base.y = c.take(44).value_or(0);
        line.offset.x = c.take(45).value_or(0);
        line.offset.y = c.take(46).value_or(0);
        const std::size_t dashes = c.count(c.take(79).value_or(0));
        for (std::size_t d = 0; d < dashes; ++d) {
            const auto v = c.take(49);
            if (!v) break;
            line.dashes.push_back(*v);
        }
        h.pattern.push_back(std::move(line));
    }
    return h;
}

HatchLines hatchLines(const std::vector<Polyline>& rings, const std::vector<PatternLine>& pattern, std::size_t limit) {
    HatchLines out;
    std::vector<double> crossings;
    double edges = 0;
    for (const Polyline& r : rings) edges += static_cast<double>(r.size());
    for (const PatternLine& line : pattern) {
        const Vec2 d{std::cos(line.angleDeg * kDegree), std::sin(line.angleDeg * kDegree)};
        const double step = cross(d, line.offset);  // distance from one line to the next
        if (!(std::abs(step) > 1e-12)) continue;
        double lo = INFINITY, hi = -INFINITY;
        for (const Polyline& r : rings)
            for (const Vec2& p : r) {
                const double s = cross(d, p - line.base);
                lo = std::min(lo, s);
                hi = std::max(hi, s);
            }
        if (!(lo <= hi)) continue;
        // The lines k0 .. k1 cross the rings' extent (counted one by one:
        // numbers so large that one more is the same number are none).
        const double k0 = std::ceil(std::min(lo / step, hi / step)), k1 = std::floor(std::max(lo / step, hi / step));
        if (!(std::abs(k0) < 1e12 && std::abs(k1) < 1e12)) continue;
        // Each line meets every edge: past `limit` lines, or a hundred times
        // as many meetings, the pattern is too fine to be seen.
        if (k1 - k0 > static_cast<double>(limit) || (k1 - k0 + 1) * edges > 100.0 * static_cast<double>(limit)) {
            out.tooDense = true;
            break;
        }
        double length = 0;
        for (double v : line.dashes) length += std::abs(v);
        for (double k = k0; k <= k1; ++k) {
            const Vec2 origin = line.base + line.offset * k;
            crossings.clear();
            for (const Polyline& r : rings)
                for (std::size_t i = 0; i < r.size(); ++i) {
                    const Vec2 a = r[i], b = r[(i + 1) % r.size()];
                    const double sa = cross(d, a - origin), sb = cross(d, b - origin);
                    if ((sa < 0) == (sb < 0)) continue;
                    const Vec2 at = a + (b - a) * (sa / (sa - sb));
                    crossings.push_back(dot(d, at - origin));
                }
            std::sort(crossings.begin(), crossings.end());
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
                const double from = crossings[i], to = crossings[i + 1];
                auto point = [&](double t) { return origin + d * t; };
                if (line.dashes.empty() || !(length > 1e-12)) {
                    out.strokes.push_back({point(from), point(to)});
                } else {
                    if ((to - from) / length * static_cast<double>(line.dashes.size()) > static_cast<double>(limit)) {
                        out.tooDense = true;
                        out.strokes.clear();
                        return out;
                    }
                    // The dashes repeat from the line's origin.
                    double pos = std::floor(from / length) * length;
                    while (pos < to) {
                        const double before = pos;
                        for (double dash : line.dashes) {
                            const double end = pos + std::abs(dash);
                            if (dash > 0 && end > from && pos < to)
                                out.strokes.push_back({point(std::max(pos, from)), point(std::min(end, to))});
                            else if (dash == 0 && pos >= from && pos <= to)
                                out.strokes.push_back({point(pos)});
                            pos = end;
                            if (pos >= to) break;
                        }
                        if (!(pos > before)) break;  // too far out for the dashes to move on
                    }
                }
                if (out.strokes.size() > limit) {
                    out.tooDense = true;
                    out.strokes.clear();
                    return out;
                }
            }
        }
    }
    if (out.tooDense) out.strokes.clear();
    return out;
}

}  // namespace kestrin::render
