// Object snaps: the points each kind of outline offers, the intersections of
// segments and curves, which candidate wins, and the host's query over the
// drawing (what the current space shows, OSMODE's off bit, the base point).
#include <cmath>
#include <numbers>

#include "host/api/InputRequest.h"
#include "host/api/PointerQueries.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCurves.h"
#include "host/db/ObjectSnap.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin;
using db::Outline;
using db::SnapPoint;
using db::SnapQuery;

namespace {

Outline segment(double x0, double y0, double x1, double y1) {
    Outline o;
    o.kind = Outline::Kind::Polyline;
    o.points = {{x0, y0}, {x1, y1}};
    return o;
}

Outline arc(double cx, double cy, double r, double startDegrees, double endDegrees) {
    Outline o;
    o.kind = Outline::Kind::Arc;
    o.points = {{cx, cy}};
    o.radius = r;
    o.start = startDegrees * std::numbers::pi / 180;
    o.end = endDegrees * std::numbers::pi / 180;
    return o;
}

std::vector<SnapPoint> pointsOf(const Outline& o, int modes, std::optional<std::pair<double, double>> base = {},
                                const char* type = "LINE", double x = 0, double y = 0) {
    SnapQuery q;
    q.x = x, q.y = y, q.modes = modes, q.base = base;
    std::vector<SnapPoint> out;
    db::snapPointsOf(o, type, q, out);
    return out;
}

bool has(const std::vector<SnapPoint>& points, double x, double y, db::SnapMode mode) {
    for (const SnapPoint& p : points)
        if (p.mode == mode && std::fabs(p.x - x) < 1e-9 && std::fabs(p.y - y) < 1e-9) return true;
    return false;
}

TEST(ObjectSnap, SegmentsAndArcsOfferTheirPointsOfTheModesAsked) {
    const auto line = pointsOf(segment(0, 0, 10, 0), db::kSnapEndpoint | db::kSnapMidpoint);
    EXPECT_EQ(line.size(), 3u);
    EXPECT_TRUE(has(line, 0, 0, db::kSnapEndpoint) && has(line, 10, 0, db::kSnapEndpoint));
    EXPECT_TRUE(has(line, 5, 0, db::kSnapMidpoint));
    EXPECT_TRUE(pointsOf(segment(0, 0, 10, 0), db::kSnapCenter).empty());

    // A quarter arc from 0 to 90 degrees: its ends, its middle, its centre,
    // and only the quadrants that lie on it.
    const auto quarter = pointsOf(arc(0, 0, 2, 0, 90), db::kSnapEndpoint | db::kSnapMidpoint | db::kSnapCenter |
                                                           db::kSnapQuadrant);
    EXPECT_TRUE(has(quarter, 2, 0, db::kSnapEndpoint) && has(quarter, 0, 2, db::kSnapEndpoint));
    EXPECT_TRUE(has(quarter, std::sqrt(2.0), std::sqrt(2.0), db::kSnapMidpoint));
    EXPECT_TRUE(has(quarter, 0, 0, db::kSnapCenter));
    EXPECT_TRUE(has(quarter, 2, 0, db::kSnapQuadrant) && has(quarter, 0, 2, db::kSnapQuadrant));
    EXPECT_FALSE(has(quarter, -2, 0, db::kSnapQuadrant));
    // A whole circle has no ends, and all four quadrants.
    const auto circle = pointsOf(arc(0, 0, 1, 0, 360), db::kSnapEndpoint | db::kSnapQuadrant);
    EXPECT_EQ(circle.size(), 4u);

    // A point entity is a node; any other point-like entity its insertion.
    Outline text;
    text.kind = Outline::Kind::Quad;
    text.points = {{1, 1}, {5, 1}, {5, 2}, {1, 2}};
    text.insertion = std::pair(1.0, 1.0);
    EXPECT_TRUE(has(pointsOf(text, db::kSnapInsertion, {}, "TEXT"), 1, 1, db::kSnapInsertion));
    Outline node;
    node.points = {{3, 4}};
    EXPECT_TRUE(has(pointsOf(node, db::kSnapNode, {}, "POINT"), 3, 4, db::kSnapNode));
    EXPECT_TRUE(pointsOf(node, db::kSnapInsertion, {}, "POINT").empty());
}

TEST(ObjectSnap, PerpendicularFromTheBasePointOnlyWhereTheFootLiesOnTheEntity) {
    EXPECT_TRUE(has(pointsOf(segment(0, 0, 10, 0), db::kSnapPerpendicular, std::pair(4.0, 7.0)), 4, 0,
                    db::kSnapPerpendicular));
    EXPECT_TRUE(pointsOf(segment(0, 0, 10, 0), db::kSnapPerpendicular, std::pair(12.0, 7.0)).empty());
    EXPECT_TRUE(pointsOf(segment(0, 0, 10, 0), db::kSnapPerpendicular).empty()) << "no base point";
    const auto onCircle = pointsOf(arc(0, 0, 1, 0, 360), db::kSnapPerpendicular, std::pair(3.0, 0.0));
    EXPECT_TRUE(has(onCircle, 1, 0, db::kSnapPerpendicular) && has(onCircle, -1, 0, db::kSnapPerpendicular));
}

TEST(ObjectSnap, IntersectionsOfSegmentsAndCurves) {
    std::vector<SnapPoint> out;
    db::intersectionsOf(segment(0, 0, 10, 10), segment(0, 10, 10, 0), out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(has(out, 5, 5, db::kSnapIntersection));
    out.clear();
    db::intersectionsOf(segment(0, 0, 4, 4), segment(0, 10, 10, 0), out);  // would meet beyond its end
    EXPECT_TRUE(out.empty());
    db::intersectionsOf(segment(0, 0, 1, 1), segment(0, 1, 1, 2), out);  // parallel
    EXPECT_TRUE(out.empty());
    db::intersectionsOf(segment(-5, 0, 5, 0), arc(0, 0, 2, 0, 360), out);
    EXPECT_TRUE(has(out, 2, 0, db::kSnapIntersection) && has(out, -2, 0, db::kSnapIntersection));
    out.clear();
    db::intersectionsOf(segment(-5, 0, 5, 0), arc(0, 0, 2, 0, 180), out);  // the upper half touches only its ends
    EXPECT_EQ(out.size(), 2u);
    out.clear();
    db::intersectionsOf(arc(0, 0, 2, 0, 360), arc(2, 0, 2, 90, 270), out);  // the left half of the second
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(has(out, 1, std::sqrt(3.0), db::kSnapIntersection) && has(out, 1, -std::sqrt(3.0), db::kSnapIntersection));
}

TEST(ObjectSnap, TheNearestWithinTheApertureWinsAndNearestOnTheCurveOnlyWhenNothingElse) {
    SnapQuery q;
    q.x = 1, q.y = 0.2, q.aperture = 1.5;
    const std::vector<SnapPoint> points{{1, 0, db::kSnapNearest}, {0, 0, db::kSnapEndpoint}, {2, 0, db::kSnapMidpoint}};
    auto best = db::bestSnap(points, q);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->mode, db::kSnapEndpoint) << "of two at the same distance, the first";
    q.x = 1.8;
    best = db::bestSnap(points, q);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->mode, db::kSnapMidpoint);
    q.aperture = 0.1, q.x = 1;
    EXPECT_FALSE(db::bestSnap(points, q)) << "all further than the aperture";
    q.aperture = 0.5;
    best = db::bestSnap(points, q);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->mode, db::kSnapNearest);
}

using SnapQueries = test::HostTest;

TEST_F(SnapQueries, TheDrawingsEntitiesSnapAsOsmodeAsksAndErasedOnesDoNot) {
    appendLine(AcGePoint3d(100, 100, 0), AcGePoint3d(120, 120, 0));
    const AcDbObjectId second = appendLine(AcGePoint3d(100, 120, 0), AcGePoint3d(120, 100, 0));
    constexpr int kModes = db::kSnapEndpoint | db::kSnapIntersection;
    auto snap = host::objectSnapAt(110.3, 109.8, 1, kModes);
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->mode, db::kSnapIntersection);
    EXPECT_NEAR(snap->x, 110, 1e-9);
    EXPECT_NEAR(snap->y, 110, 1e-9);
    EXPECT_FALSE(host::objectSnapAt(110.3, 109.8, 1, kModes | db::kSnapOff)) << "OSMODE's off bit";
    snap = host::objectSnapAt(119.5, 100.4, 1, kModes);
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->mode, db::kSnapEndpoint);
    EXPECT_EQ(snap->x, 120);

    AcDbLine* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, second, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(e->erase(), Acad::eOk);
    e->close();
    EXPECT_FALSE(host::objectSnapAt(119.5, 100.4, 1, kModes));
    EXPECT_FALSE(host::objectSnapAt(110.3, 109.8, 0.5, kModes)) << "one line left: no intersection";

    // Perpendicular from the request's base point.
    const host::RequestScope asking(host::InputRequest::Point, std::array<double, 3>{100, 110, 0});
    snap = host::objectSnapAt(105.2, 104.8, 1, db::kSnapPerpendicular);
    ASSERT_TRUE(snap);
    EXPECT_NEAR(snap->x, 105, 1e-9);
    EXPECT_NEAR(snap->y, 105, 1e-9);
}

TEST_F(SnapQueries, TheEntityUnderTheCursorIsTheOneAPickTakes) {
    const auto under = host::entityUnderCursor(2.6, 2.4);  // the test drawing's line 0,0-5,5
    ASSERT_TRUE(under);
    EXPECT_EQ(under->handle, 0x46u);
    EXPECT_EQ(under->outline.kind, Outline::Kind::Polyline);
    EXPECT_FALSE(host::entityUnderCursor(1000, 1000));
}

}  // namespace
