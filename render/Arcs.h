// Circular arcs: as points, and the arc a bulge stands for between two
// points (polyline vertices, hatch boundaries, shape-font codes).
#pragma once

#include <optional>

#include "render/Geometry.h"

namespace kestrin::render {

constexpr double kArcStep = kPi / 36;  // 5 degrees a segment

// The angle between an arc's points: kArcStep, or, where `pixel` (a
// pixel's size in the arc's units) is given, as far apart as keeps its
// chords within a quarter of a pixel of it (from 0.1 to 45 degrees).
double arcStep(double radius, double pixel = 0);

// `sweep` brought into (0, turn] by whole turns (a full turn for zero, and
// for a value that is not finite): the sweep from a start angle to an end.
double positiveSweep(double sweep, double turn = 2 * kPi);

// Points of the arc about `center` from angle `a0` by `sweep` (radians,
// positive counter-clockwise), both ends included, at most `step` apart in angle.
void arcPoints(Polyline& out, Vec2 center, double radius, double a0, double sweep, double step = kArcStep);

struct Arc {
    Vec2 center;
    double radius = 0;
    double start = 0;  // angle of `from`
    double sweep = 0;  // positive counter-clockwise
};

// The arc from `from` to `to` whose bulge is `bulge` (the tangent of a
// quarter of its sweep, positive counter-clockwise); none when it is straight.
std::optional<Arc> bulgeArc(Vec2 from, Vec2 to, double bulge);

// From the last point of `out` to `to`, bowed by `bulge` (its points as
// arcStep spaces them for `pixel`).
void bulgeTo(Polyline& out, Vec2 to, double bulge, double pixel = 0);

}  // namespace kestrin::render
