#include "host/db/ObjectSnap.h"

#include <cmath>
#include <numbers>

#include "host/db/DrawingStore.h"

namespace kestrin::db {

namespace {

using Point = std::pair<double, double>;
constexpr double kTwoPi = 2 * std::numbers::pi;

// A segment or a circular arc of an outline.
struct Piece {
    bool arc = false;
    Point a, b;                            // segment ends
    Point centre;                          // arc
    double radius = 0, start = 0, span = kTwoPi;  // arc: counter-clockwise from start
};

// Whether `angle` lies on the arc (radians, any turn).
bool onArc(const Piece& p, double angle) {
    double at = std::fmod(angle - p.start, kTwoPi);
    if (at < 0) at += kTwoPi;
    return at <= p.span + 1e-12;
}

Point onCircle(const Piece& p, double angle) {
    return {p.centre.first + p.radius * std::cos(angle), p.centre.second + p.radius * std::sin(angle)};
}

std::vector<Piece> piecesOf(const Outline& o) {
    std::vector<Piece> pieces;
    if (o.kind == Outline::Kind::Arc) {
        Piece p;
        p.arc = true;
        p.centre = o.points.front();
        p.radius = o.radius;
        p.start = o.start;
        p.span = std::fmod(o.end - o.start, kTwoPi);
        if (p.span <= 0) p.span += kTwoPi;
        pieces.push_back(p);
        return pieces;
    }
    if (o.kind != Outline::Kind::Polyline || o.points.size() < 2) return pieces;
    const std::size_t n = o.points.size();
    const std::size_t edges = o.closed ? n : n - 1;
    for (std::size_t i = 0; i < edges; ++i) {
        Piece p;
        p.a = o.points[i];
        p.b = o.points[(i + 1) % n];
        pieces.push_back(p);
    }
    return pieces;
}

bool fullCircle(const Piece& p) { return p.span >= kTwoPi - 1e-12; }

// The point of the segment nearest to `q`, and its parameter along it.
Point nearestOnSegment(const Piece& p, double qx, double qy, double* along = nullptr) {
    const double dx = p.b.first - p.a.first, dy = p.b.second - p.a.second;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? ((qx - p.a.first) * dx + (qy - p.a.second) * dy) / len2 : 0;
    if (along) *along = t;
    const double c = std::clamp(t, 0.0, 1.0);
    return {p.a.first + c * dx, p.a.second + c * dy};
}

void add(std::vector<SnapPoint>& out, Point p, SnapMode mode) { out.push_back({p.first, p.second, mode}); }

void segmentSegment(const Piece& s, const Piece& t, std::vector<SnapPoint>& out) {
    const double rx = s.b.first - s.a.first, ry = s.b.second - s.a.second;
    const double qx = t.b.first - t.a.first, qy = t.b.second - t.a.second;
    const double denom = rx * qy - ry * qx;
    if (std::fabs(denom) < 1e-15) return;  // parallel
    const double wx = t.a.first - s.a.first, wy = t.a.second - s.a.second;
    const double u = (wx * qy - wy * qx) / denom, v = (wx * ry - wy * rx) / denom;
    constexpr double e = 1e-9;
    if (u < -e || u > 1 + e || v < -e || v > 1 + e) return;
    add(out, {s.a.first + u * rx, s.a.second + u * ry}, kSnapIntersection);
}

void segmentArc(const Piece& s, const Piece& c, std::vector<SnapPoint>& out) {
    const double dx = s.b.first - s.a.first, dy = s.b.second - s.a.second;
    const double fx = s.a.first - c.centre.first, fy = s.a.second - c.centre.second;
    const double a = dx * dx + dy * dy, b = 2 * (fx * dx + fy * dy), k = fx * fx + fy * fy - c.radius * c.radius;
    if (a == 0) return;
    const double disc = b * b - 4 * a * k;
    if (disc < 0) return;
    const double root = std::sqrt(disc);
    for (double t : {(-b - root) / (2 * a), (-b + root) / (2 * a)}) {
        if (t < -1e-9 || t > 1 + 1e-9) continue;
        const Point p{s.a.first + t * dx, s.a.second + t * dy};
        if (onArc(c, std::atan2(p.second - c.centre.second, p.first - c.centre.first))) add(out, p, kSnapIntersection);
        if (root == 0) break;  // touching: one point
    }
}

void arcArc(const Piece& p, const Piece& q, std::vector<SnapPoint>& out) {
    const double dx = q.centre.first - p.centre.first, dy = q.centre.second - p.centre.second;
    const double d = std::hypot(dx, dy);
    if (d == 0 || d > p.radius + q.radius || d < std::fabs(p.radius - q.radius)) return;
    const double along = (p.radius * p.radius - q.radius * q.radius + d * d) / (2 * d);
    const double h = std::sqrt(std::max(0.0, p.radius * p.radius - along * along));
    const double mx = p.centre.first + along * dx / d, my = p.centre.second + along * dy / d;
    for (double sign : {1.0, -1.0}) {
        const Point x{mx - sign * h * dy / d, my + sign * h * dx / d};
        if (onArc(p, std::atan2(x.second - p.centre.second, x.first - p.centre.first)) &&
            onArc(q, std::atan2(x.second - q.centre.second, x.first - q.centre.first)))
            add(out, x, kSnapIntersection);
        if (h == 0) break;
    }
}

}  // namespace

void snapPointsOf(const Outline& o, const std::string& type, const SnapQuery& q, std::vector<SnapPoint>& out) {
    const int m = q.modes;
    if (o.kind == Outline::Kind::Point || o.kind == Outline::Kind::Quad) {
        const Point at = o.insertion.value_or(o.points.front());
        if (type == "POINT") {
            if (m & kSnapNode) add(out, at, kSnapNode);
        } else if (m & kSnapInsertion) {
            add(out, at, kSnapInsertion);
        }
        return;
    }
    for (const Piece& p : piecesOf(o)) {
        if (p.arc) {
            if (m & kSnapCenter) add(out, p.centre, kSnapCenter);
            if (!fullCircle(p)) {
                if (m & kSnapEndpoint) {
                    add(out, onCircle(p, p.start), kSnapEndpoint);
                    add(out, onCircle(p, p.start + p.span), kSnapEndpoint);
                }
                if (m & kSnapMidpoint) add(out, onCircle(p, p.start + p.span / 2), kSnapMidpoint);
            }
            if (m & kSnapQuadrant)
                for (int i = 0; i < 4; ++i)
                    if (onArc(p, i * std::numbers::pi / 2)) add(out, onCircle(p, i * std::numbers::pi / 2), kSnapQuadrant);
            const double toCursor = std::atan2(q.y - p.centre.second, q.x - p.centre.first);
            if ((m & kSnapNearest) && onArc(p, toCursor)) add(out, onCircle(p, toCursor), kSnapNearest);
            if ((m & kSnapPerpendicular) && q.base) {
                const double toBase = std::atan2(q.base->second - p.centre.second, q.base->first - p.centre.first);
                for (double a : {toBase, toBase + std::numbers::pi})
                    if (onArc(p, a)) add(out, onCircle(p, a), kSnapPerpendicular);
            }
            continue;
        }
        if (m & kSnapEndpoint) {
            add(out, p.a, kSnapEndpoint);
            add(out, p.b, kSnapEndpoint);
        }
        if (m & kSnapMidpoint) add(out, {(p.a.first + p.b.first) / 2, (p.a.second + p.b.second) / 2}, kSnapMidpoint);
        if (m & kSnapNearest) add(out, nearestOnSegment(p, q.x, q.y), kSnapNearest);
        if ((m & kSnapPerpendicular) && q.base) {
            double t = 0;
            const Point foot = nearestOnSegment(p, q.base->first, q.base->second, &t);
            if (t >= 0 && t <= 1) add(out, foot, kSnapPerpendicular);
        }
    }
}

void intersectionsOf(const Outline& a, const Outline& b, std::vector<SnapPoint>& out) {
    for (const Piece& p : piecesOf(a))
        for (const Piece& q : piecesOf(b)) {
            if (!p.arc && !q.arc) segmentSegment(p, q, out);
            else if (!p.arc) segmentArc(p, q, out);
            else if (!q.arc) segmentArc(q, p, out);
            else arcArc(p, q, out);
        }
}

std::optional<SnapPoint> bestSnap(const std::vector<SnapPoint>& candidates, const SnapQuery& q) {
    std::optional<SnapPoint> best, nearest;
    double bestDistance = q.aperture, nearestDistance = q.aperture;
    for (const SnapPoint& c : candidates) {
        const double d = std::hypot(c.x - q.x, c.y - q.y);
        if (c.mode == kSnapNearest) {
            if (d <= nearestDistance) nearestDistance = d, nearest = c;
        } else if (d <= bestDistance && (!best || d < bestDistance)) {
            bestDistance = d, best = c;
        }
    }
    return best ? best : nearest;
}

std::optional<SnapPoint> findSnap(SpatialIndex& index, const SnapQuery& q,
                                  const std::function<bool(const Entry&)>& visible) {
    if (q.modes == 0 || (q.modes & kSnapOff) != 0) return std::nullopt;
    std::vector<std::pair<const Entry*, Outline>> near;
    index.visitNear(q.x, q.y, q.aperture, [&](Entry* e) {
        if (!visible(*e)) return;
        for (const auto& seen : near)
            if (seen.first == e) return;  // an entity may be visited more than once
        if (auto outline = outlineOf(*e); outline && distanceTo(*outline, q.x, q.y) <= q.aperture)
            near.emplace_back(e, std::move(*outline));
    });
    std::vector<SnapPoint> candidates;
    for (const auto& [e, outline] : near) snapPointsOf(outline, e->record.type, q, candidates);
    if (q.modes & kSnapIntersection)
        for (std::size_t i = 0; i < near.size(); ++i)
            for (std::size_t j = i + 1; j < near.size(); ++j) intersectionsOf(near[i].second, near[j].second, candidates);
    return bestSnap(candidates, q);
}

const char* snapModeName(SnapMode mode) {
    switch (mode) {
        case kSnapEndpoint: return "Endpoint";
        case kSnapMidpoint: return "Midpoint";
        case kSnapCenter: return "Center";
        case kSnapNode: return "Node";
        case kSnapQuadrant: return "Quadrant";
        case kSnapIntersection: return "Intersection";
        case kSnapInsertion: return "Insertion";
        case kSnapPerpendicular: return "Perpendicular";
        case kSnapNearest: return "Nearest";
        case kSnapOff: break;
    }
    return "Snap";
}

}  // namespace kestrin::db
