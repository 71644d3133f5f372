// Where the entities a person can pick lie: a uniform grid over the boxes of
// the top-level entities and their attributes, kept up to date through the
// database's change signals, so a pick by position looks at a few cells
// instead of every entity.
//
// The outline of an entity is what a pick hits: a line's segment, a
// circle's or an arc's curve, a polyline's straight segments (bulges are
// taken as chords), a text's box from its height, width factor and rotation
// (an estimate: 0.8 of the height per character), a multiline text's box
// from its reference width, lines and attachment. Anything else is its
// insertion, base or centre point.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/Signal.h"

namespace kestrin::db {

struct Entry;
class DrawingStore;

struct Box {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

struct Outline {
    enum class Kind { Point, Polyline, Arc, Quad } kind = Kind::Point;
    std::vector<std::pair<double, double>> points;  // Point: one; Polyline: the vertices; Quad: four corners
    bool closed = false;                             // Polyline: back to the first vertex
    double radius = 0, start = 0, end = 0;           // Arc: centre in points[0], angles in radians
    std::optional<std::pair<double, double>> insertion;  // the record's own point (10, 20), when it has one
};

// Nothing for a record without a position (SEQEND).
std::optional<Outline> outlineOf(const Entry& entry);
Box boundsOf(const Outline& outline);
// The distance from (x, y) to the outline; 0 inside a text's box.
double distanceTo(const Outline& outline, double x, double y);

class SpatialIndex {
public:
    // Indexes the store's top-level entities and their attributes; follows
    // the changes its database announces from now on.
    explicit SpatialIndex(DrawingStore& store);
    SpatialIndex(const SpatialIndex&) = delete;
    SpatialIndex& operator=(const SpatialIndex&) = delete;

    // Calls f(Entry*) for each indexed entity whose box comes within
    // `tolerance` of (x, y); an entity may be visited more than once.
    template <class F>
    void visitNear(double x, double y, double tolerance, F&& f) {
        if (dirty_) rebuild();
        for (Entry* e : large_) f(e);
        const std::int64_t x0 = cellOf(x - tolerance), x1 = cellOf(x + tolerance);
        const std::int64_t y0 = cellOf(y - tolerance), y1 = cellOf(y + tolerance);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > static_cast<std::int64_t>(boxes_.size()) + 16) {
            for (const auto& [e, box] : boxes_)  // a pick box wider than the drawing's cells
                if (box.minX <= x + tolerance && box.maxX >= x - tolerance && box.minY <= y + tolerance &&
                    box.maxY >= y - tolerance)
                    f(const_cast<Entry*>(e));
            return;
        }
        for (std::int64_t cx = x0; cx <= x1; ++cx)
            for (std::int64_t cy = y0; cy <= y1; ++cy)
                if (auto it = cells_.find(key(cx, cy)); it != cells_.end())
                    for (Entry* e : it->second) f(e);
    }
    std::size_t size() const { return boxes_.size(); }
    double cellSize() const { return cell_; }

private:
    DrawingStore& store_;
    double cell_ = 1.0;
    bool dirty_ = true;
    std::size_t builtWith_ = 0;  // entities at the last rebuild; many more makes the cells too full
    std::unordered_map<std::uint64_t, std::vector<Entry*>> cells_;
    std::unordered_map<const Entry*, Box> boxes_;
    std::vector<Entry*> large_;  // boxes over many cells, looked at on every query
    std::vector<ScopedConnection> connections_;

    static constexpr std::int64_t kLargeSpan = 16;  // cells along one side

    std::int64_t cellOf(double v) const;
    static std::uint64_t key(std::int64_t cx, std::int64_t cy) {
        return (static_cast<std::uint64_t>(cx) << 32) ^ (static_cast<std::uint64_t>(cy) & 0xFFFFFFFFu);
    }
    bool indexable(const Entry& e) const;
    void rebuild();
    void insert(Entry* e);
    void place(Entry* e, const Box& box);
    void remove(Entry* e);
    void update(Entry* e);
};

}  // namespace kestrin::db
