// Object snaps: the point of an entity near the cursor that a click takes
// instead of the cursor's own, as OSMODE asks. Its bits: 1 endpoint,
// 2 midpoint, 4 centre, 8 node (a point entity), 16 quadrant, 32
// intersection, 64 insertion, 128 perpendicular (from the request's base
// point), 512 nearest; 16384 turns them all off. A polyline's bulges are
// taken as chords, as picking takes them.
//
// Of the points within the aperture the nearest to the cursor wins; the
// nearest point on a curve only when no other kind is there.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/db/SpatialIndex.h"

namespace kestrin::db {

enum SnapMode : int {
    kSnapEndpoint = 1,
    kSnapMidpoint = 2,
    kSnapCenter = 4,
    kSnapNode = 8,
    kSnapQuadrant = 16,
    kSnapIntersection = 32,
    kSnapInsertion = 64,
    kSnapPerpendicular = 128,
    kSnapNearest = 512,
    kSnapOff = 16384,
};

struct SnapPoint {
    double x = 0, y = 0;
    SnapMode mode = kSnapEndpoint;
};

struct SnapQuery {
    double x = 0, y = 0;      // the cursor, in drawing units
    double aperture = 1;      // how far a snap point may lie from it
    int modes = 0;            // OSMODE
    std::optional<std::pair<double, double>> base;  // the request's base point
};

// The snap points of one entity's outline (its record type tells a point
// entity, a node, from an insertion) of the modes asked for that have no
// partner; intersections come from intersectionsOf.
void snapPointsOf(const Outline& outline, const std::string& type, const SnapQuery& query,
                  std::vector<SnapPoint>& out);
// Where two outlines' segments and curves cross.
void intersectionsOf(const Outline& a, const Outline& b, std::vector<SnapPoint>& out);

// The snap among entities near the cursor that `visible` accepts.
std::optional<SnapPoint> findSnap(SpatialIndex& index, const SnapQuery& query,
                                  const std::function<bool(const Entry&)>& visible);

// The winner among candidates, as the header says.
std::optional<SnapPoint> bestSnap(const std::vector<SnapPoint>& candidates, const SnapQuery& query);

// A name for the marker's tooltip: "Endpoint", "Midpoint", ...
const char* snapModeName(SnapMode mode);

}  // namespace kestrin::db
