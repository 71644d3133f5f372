// Free-form curves as points: ellipses and elliptical arcs, and splines
// (B-splines with knots and weights, or a curve through fit points).
#pragma once

#include <vector>

#include "render/Geometry.h"

namespace kestrin::render {

struct Ellipse {
    Vec2 center;
    Vec2 major;          // from the centre to the end of the major axis
    double ratio = 1;    // minor over major
    double start = 0;    // parameters (radians): p(t) = c + major cos t + minor sin t
    double end = 2 * kPi;
    bool mirrored = false;  // seen from below: the minor axis turns the other way
};

// From `start` to `end` counter-clockwise (the whole ellipse when they
// are a full turn apart, or equal).
// Its points as arcStep spaces them along its major axis for `pixel`.
Polyline ellipsePoints(const Ellipse& e, double pixel = 0);

// The parameter of the point at `angle` (radians, from the major axis).
double ellipseParameter(double ratio, double angle);

struct Spline {
    int degree = 3;
    std::vector<double> knots;
    std::vector<Vec2> controls;
    std::vector<double> weights;  // one per control point, or none (all 1)
    std::vector<Vec2> fits;       // used when there are no control points
    bool closed = false;
};

// The curve: from its control points when it has a valid set (control
// count > degree, knots = controls + degree + 1; knots made evenly when
// missing or of the wrong count), else a cubic through its fit points.
// Empty when neither is there.
Polyline splinePoints(const Spline& s);

}  // namespace kestrin::render
