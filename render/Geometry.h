// Points, stroke paths, boxes and affine maps of the renderer (drawing units
// unless said otherwise).
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace kestrin::render {

struct Vec2 {
    double x = 0;
    double y = 0;
    friend bool operator==(const Vec2&, const Vec2&) = default;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }

// One stroke: the pen goes down at the first point and through the others.
// A single point is a dot.
using Polyline = std::vector<Vec2>;

struct Box {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    bool empty() const { return minX > maxX; }
    void add(Vec2 p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    void add(const Box& b) {
        if (b.empty()) return;
        add(Vec2{b.minX, b.minY});
        add(Vec2{b.maxX, b.maxY});
    }
    Vec2 center() const { return {(minX + maxX) / 2, (minY + maxY) / 2}; }
};

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    Vec2 operator()(Vec2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // This map applied after `inner`.
    Affine after(const Affine& in) const {
        return {a * in.a + c * in.b, b * in.a + d * in.b, a * in.c + c * in.d, b * in.c + d * in.d,
                a * in.e + c * in.f + e, b * in.e + d * in.f + f};
    }
    static Affine translate(Vec2 t) { return {1, 0, 0, 1, t.x, t.y}; }
    static Affine scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine rotate(double radians) {
        const double cs = std::cos(radians), sn = std::sin(radians);
        return {cs, sn, -sn, cs, 0, 0};
    }
};

// Whether the map takes lines along the axes to lines along the same axes
// (scales and moves, but neither turns nor slants).
inline bool keepsAxes(const Affine& m) { return m.b == 0 && m.c == 0; }

inline bool isIdentity(const Affine& m) {
    return m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1 && m.e == 0 && m.f == 0;
}

inline Box boxOf(const std::vector<Polyline>& lines) {
    Box box;
    for (const auto& l : lines)
        for (const Vec2& p : l) box.add(p);
    return box;
}

constexpr double kPi = 3.14159265358979323846;

}  // namespace kestrin::render
