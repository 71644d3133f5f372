#include "render/Curves.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/Arcs.h"

namespace kestrin::render {
namespace {

double distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(Curves, EllipsesAndEllipticalArcs) {
    // Major axis 10 along 30 degrees, minor 5; a point p is on it when its
    // coordinates in the axes' frame satisfy (u/10)^2 + (v/5)^2 = 1.
    const double a = 30 * kPi / 180;
    const Vec2 major{10 * std::cos(a), 10 * std::sin(a)};
    const Polyline whole = ellipsePoints({{3, 4}, major, 0.5, 0, 2 * kPi});
    ASSERT_GT(whole.size(), 8u);
    for (const Vec2& p : whole) {
        const Vec2 d = p - Vec2{3, 4};
        const double u = d.x * std::cos(a) + d.y * std::sin(a), v = -d.x * std::sin(a) + d.y * std::cos(a);
        EXPECT_NEAR(u * u / 100 + v * v / 25, 1, 1e-9);
    }
    EXPECT_NEAR(distance(whole.front(), whole.back()), 0, 1e-9) << "closed";
    // A quarter from parameter 0: from the end of the major axis to the end of the minor.
    const Polyline quarter = ellipsePoints({{0, 0}, {10, 0}, 0.5, 0, kPi / 2});
    EXPECT_NEAR(distance(quarter.front(), {10, 0}), 0, 1e-9);
    EXPECT_NEAR(distance(quarter.back(), {0, 5}), 0, 1e-9);
    // Seen from below the minor axis turns the other way.
    const Polyline mirrored = ellipsePoints({{0, 0}, {10, 0}, 0.5, 0, kPi / 2, true});
    EXPECT_NEAR(distance(mirrored.back(), {0, -5}), 0, 1e-9);
    // An end before the start goes round through zero.
    const Polyline across = ellipsePoints({{0, 0}, {10, 0}, 1, 1.5 * kPi, 0.5 * kPi});
    EXPECT_NEAR(distance(across.front(), {0, -10}), 0, 1e-9);
    EXPECT_NEAR(distance(across.back(), {0, 10}), 0, 1e-9);
    for (const Vec2& p : across) EXPECT_GT(p.x, -1e-9) << "through the right side";
    // The parameter of a point at an angle: 45 degrees on a 2:1 ellipse.
    EXPECT_NEAR(ellipseParameter(0.5, kPi / 4), std::atan(2.0), 1e-12);
}

TEST(Curves, SplinesByControlPointsKnotsAndWeights) {
    // A clamped cubic starts and ends on its end control points and stays in their hull.
    Spline cubic;
    cubic.controls = {{0, 0}, {10, 20}, {20, -20}, {30, 0}};
    cubic.knots = {0, 0, 0, 0, 1, 1, 1, 1};
    const Polyline c = splinePoints(cubic);
    ASSERT_GT(c.size(), 8u);
    EXPECT_NEAR(distance(c.front(), {0, 0}), 0, 1e-9);
    EXPECT_NEAR(distance(c.back(), {30, 0}), 0, 1e-9);
    // Halfway a Bezier cubic is (P0 + 3 P1 + 3 P2 + P3) / 8.
    EXPECT_NEAR(distance(c[c.size() / 2], {15, 0}), 0, 1e-9);
    // Knots of the wrong count are made evenly, which here gives the same curve.
    Spline evened = cubic;
    evened.knots = {0, 1};
    EXPECT_NEAR(distance(splinePoints(evened)[c.size() / 2], {15, 0}), 0, 1e-9);

    // A quarter circle as a rational quadratic: every point at radius 1.
    Spline arc;
    arc.degree = 2;
    arc.controls = {{1, 0}, {1, 1}, {0, 1}};
    arc.weights = {1, std::sqrt(0.5), 1};
    arc.knots = {0, 0, 0, 1, 1, 1};
    for (const Vec2& p : splinePoints(arc)) EXPECT_NEAR(std::hypot(p.x, p.y), 1, 1e-9);

    // Two spans: the inner knot joins them at the curve's middle control point.
    Spline two;
    two.degree = 1;
    two.controls = {{0, 0}, {5, 5}, {10, 0}};
    two.knots = {0, 0, 0.5, 1, 1};
    const Polyline t = splinePoints(two);
    EXPECT_NEAR(distance(t[t.size() / 2], {5, 5}), 0, 1e-9);
}

TEST(Curves, SplinesThroughFitPoints) {
    Spline fit;
    fit.fits = {{0, 0}, {10, 8}, {20, 2}, {30, 9}, {40, 0}};
    const Polyline p = splinePoints(fit);
    ASSERT_GT(p.size(), fit.fits.size());
    // The curve passes every fit point (its samples come within a little of each).
    for (const Vec2& f : fit.fits) {
        double nearest = 1e9;
        for (const Vec2& q : p) nearest = std::min(nearest, distance(q, f));
        EXPECT_LT(nearest, 0.5) << f.x << "," << f.y;
    }
    EXPECT_NEAR(distance(p.front(), {0, 0}), 0, 1e-9);
    EXPECT_NEAR(distance(p.back(), {40, 0}), 0, 1e-9);
    // Two fit points: a straight line; none and no controls: nothing.
    Spline line;
    line.fits = {{0, 0}, {4, 4}};
    for (const Vec2& q : splinePoints(line)) EXPECT_NEAR(q.x, q.y, 1e-9);
    EXPECT_TRUE(splinePoints(Spline{}).empty());
    // Too few control points for the degree, no fit points: nothing either.
    Spline few;
    few.controls = {{0, 0}, {1, 1}};
    EXPECT_TRUE(splinePoints(few).empty());
}

TEST(Arcs, ABulgeIsTheTangentOfAQuarterOfTheSweep) {
    // Bulge 1: a half circle; positive turns counter-clockwise, so from (0,0)
    // to (2,0) it passes below the chord.
    const auto half = bulgeArc({0, 0}, {2, 0}, 1);
    ASSERT_TRUE(half);
    EXPECT_NEAR(half->radius, 1, 1e-12);
    EXPECT_NEAR(distance(half->center, {1, 0}), 0, 1e-12);
    EXPECT_NEAR(half->sweep, kPi, 1e-12);
    Polyline p{{0, 0}};
    bulgeTo(p, {2, 0}, 1);
    EXPECT_NEAR(boxOf({p}).minY, -1, 1e-9);
    // A quarter the other way (bulge -tan(22.5 degrees)) bows above, radius chord / sqrt 2.
    const auto quarter = bulgeArc({0, 0}, {2, 0}, -std::tan(kPi / 8));
    ASSERT_TRUE(quarter);
    EXPECT_NEAR(quarter->radius, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(quarter->sweep, -kPi / 2, 1e-12);
    EXPECT_NEAR(distance(quarter->center, {1, -1}), 0, 1e-12);
    // Straight: no arc.
    EXPECT_FALSE(bulgeArc({0, 0}, {2, 0}, 0));
    EXPECT_FALSE(bulgeArc({1, 1}, {1, 1}, 0.5));
}

}  // namespace
}  // namespace kestrin::render
