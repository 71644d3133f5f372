#include "render/PolylineWidths.h"

#include <algorithm>
#include <cmath>

#include "render/Arcs.h"

namespace kestrin::render {

namespace {

double signedArea(const Polyline& ring) {
    double a = 0;
    for (std::size_t k = 0; k < ring.size(); ++k) {
        const Vec2 p = ring[k], q = ring[(k + 1) % ring.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2;
}

void counterClockwise(Polyline& ring) {
    if (signedArea(ring) < 0) std::reverse(ring.begin(), ring.end());
}

Vec2 unit(Vec2 v) {
    const double l = std::hypot(v.x, v.y);
    return l > 0 ? v * (1 / l) : Vec2{};
}

struct Segment {
    Polyline band;        // the ring
    Vec2 startNormal, endNormal;  // left of the way at each end
    double startHalf = 0, endHalf = 0;
};

Segment band(Vec2 a, Vec2 b, double bulge, double w0, double w1) {
    Segment s;
    s.startHalf = w0 / 2;
    s.endHalf = w1 / 2;
    if (const auto arc = bulgeArc(a, b, bulge)) {
        Polyline mid;
        arcPoints(mid, arc->center, arc->radius, arc->start, arc->sweep);
        Polyline outer, inner;
        for (std::size_t k = 0; k < mid.size(); ++k) {
            const double t = mid.size() > 1 ? double(k) / double(mid.size() - 1) : 0;
            const double half = s.startHalf + (s.endHalf - s.startHalf) * t;
            const Vec2 u = unit(mid[k] - arc->center);
            outer.push_back(arc->center + u * (arc->radius + half));
            inner.push_back(arc->center + u * std::max(0.0, arc->radius - half));
        }
        s.band = outer;
        s.band.insert(s.band.end(), inner.rbegin(), inner.rend());
        // Left of the way: towards the centre going counter-clockwise.
        const double side = arc->sweep > 0 ? -1 : 1;
        s.startNormal = unit(a - arc->center) * side;
        s.endNormal = unit(b - arc->center) * side;
    } else {
        const Vec2 d = unit(b - a);
        const Vec2 n{-d.y, d.x};
        s.band = {a + n * s.startHalf, b + n * s.endHalf, b - n * s.endHalf, a - n * s.startHalf};
        s.startNormal = s.endNormal = n;
    }
    counterClockwise(s.band);
    return s;
}

}  // namespace

WideOutline widePolyline(const std::vector<WideVertex>& v, bool closed) {
    WideOutline out;
    const std::size_t n = v.size();
    if (n < 2) return out;
    const std::size_t segments = closed ? n : n - 1;
    std::vector<Segment> bands;
    std::vector<bool> wide;
    for (std::size_t k = 0; k < segments; ++k) {
        const WideVertex& a = v[k];
        const WideVertex& b = v[(k + 1) % n];
        if (a.startWidth <= 0 && a.endWidth <= 0) {
            Polyline p{a.at};
            bulgeTo(p, b.at, a.bulge);
            out.strokes.push_back(std::move(p));
            bands.emplace_back();
            wide.push_back(false);
            continue;
        }
        bands.push_back(band(a.at, b.at, a.bulge, a.startWidth, a.endWidth));
        wide.push_back(true);
        out.rings.push_back(bands.back().band);
    }
    // Bevels: where one wide segment ends and the next begins, both sides.
    for (std::size_t k = 0; k + 1 < segments + (closed ? 1 : 0); ++k) {
        const std::size_t next = (k + 1) % segments;
        if (!wide[k] || !wide[next]) continue;
        const Vec2 p = v[(k + 1) % n].at;
        const Segment& s = bands[k];
        const Segment& t = bands[next];
        for (double side : {1.0, -1.0}) {
            Polyline wedge{p, p + s.endNormal * (side * s.endHalf), p + t.startNormal * (side * t.startHalf)};
            if (std::abs(signedArea(wedge)) < 1e-18) continue;
            counterClockwise(wedge);
            out.rings.push_back(std::move(wedge));
        }
    }
    return out;
}

}  // namespace kestrin::render
