// What a drawing draws, kept for a view: each top-level entity of one space
// apart (an INSERT with its attributes, a POLYLINE with its vertices), keyed
// by its handle, with the box of its strokes and areas, in a uniform grid. One
// entity can be drawn again or removed alone; a view asks for what lies in
// its window at its scale. An entity's strokes are not kept: the scene keeps
// its box, colour and coverage and draws it again from its records when it
// is shown whole (the strokes of what the last query showed whole are kept
// until the next one), so a large drawing costs the view little beside the
// drawing itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/dxf/DxfDocument.h"
#include "render/EntityDrawer.h"
#include "render/Geometry.h"
#include "render/Scene.h"
#include "render/SlotIndex.h"

namespace kestrin::render {

// What a view shows: a box of the drawing (drawing units) at a scale.
struct ViewWindow {
    Box world;
    double pixelsPerUnit = 1;
};

// Where an entity's strokes and the outlines of its areas pass, as cells of a 16 x 16 grid over its box
// (row 0 at the bottom, bit i the i-th cell from the left), and the same
// grid halved twice (a cell set when any of the cells it joins is).
struct Coverage {
    std::uint16_t rows16[16] = {};
    std::uint8_t rows8[8] = {};
    std::uint16_t cells4 = 0;  // row r, column c at bit 4 r + c

    // In the 16 x 16 grid; the halved grids follow once all is marked.
    void mark(int col, int row) { rows16[row] = static_cast<std::uint16_t>(rows16[row] | (1u << col)); }
    void halve();
    bool at16(int col, int row) const {
        return col >= 0 && col < 16 && row >= 0 && row < 16 && ((rows16[row] >> col) & 1) != 0;
    }
};

// What a view keeps of a drawn entity to show it small: the box of its
// strokes and areas, its first colour (of its first stroke, else of its first
// area) and its streak (which of 16 cells along the box's longer side its
// strokes pass, bit i the i-th from the left, or from the bottom for a box
// taller than wide).
struct Sketch {
    Box box;
    std::uint16_t streak = 0;
    Color color;
};
Sketch sketchOf(const Artwork& art);
// A streak runs along its box's height when the box is taller than wide.
inline bool upright(const Box& box) { return box.maxY - box.minY > box.maxX - box.minX; }

// How an entity of that box is shown at that scale, small ones in less
// detail (see ViewContent).
enum class Detail : std::uint8_t { Dot, Baseline, LeftSide, Streak, Patch, Whole };
Detail detailOf(const Box& box, double pixelsPerUnit);

// What to draw in a window. Small entities (their box under `kSmall` pixels
// both ways) come as one stand-in segment each: their box's baseline (the
// left side for a box taller than wide), a dot (both ends the same) when the
// box is under a pixel. Entities up to `kCoarse` pixels come as patches:
// their box and coverage, each cell at most a pixel, so drawing the cells
// set draws the strokes within a pixel; those under a pixel across come as
// streaks: which of 16 cells along their box's longer side their strokes
// pass, drawn along its middle. All in the entity's first colour. The
// others come whole: strokes, inks and areas.
struct ViewContent {
    struct Patch {  // refers to the entity's own box and cells: a drawing at its extents is mostly patches
        const Box* box;
        const Coverage* cells;
        Color color;
    };
    struct StandIn {  // refers to its entity's box: far out, a drawing is mostly stand-ins
        enum class Kind : std::uint8_t { Dot, Baseline, LeftSide };
        const Box* box;
        Color color;
        Kind kind;
        // The segment's ends (both the box's centre for a dot).
        Vec2 a() const { return kind == Kind::Dot ? box->center() : Vec2{box->minX, box->minY}; }
        Vec2 b() const {
            if (kind == Kind::Dot) return box->center();
            return kind == Kind::Baseline ? Vec2{box->maxX, box->minY} : Vec2{box->minX, box->maxY};
        }
    };
    struct Streak {
        const Box* box;
        std::uint16_t cells;  // bit i: the i-th of 16 from the left (from the bottom when upright)
        bool upright;         // along the box's height (it is taller than wide)
        Color color;
        // Its cells drawn `along` pixels long, 4, 8 or 16 of them (each a
        // pixel or less): each one set, from its start to its end along the
        // box's middle, to `take(from, to)`.
        template <class Take>
        void forEachCell(double along, Take&& take) const {
            const int n = along <= 4 ? 4 : along <= 8 ? 8 : 16;
            const unsigned group = (1u << (16 / n)) - 1;
            const Vec2 mid = box->center();
            const double start = upright ? box->minY : box->minX;
            const double step = ((upright ? box->maxY : box->maxX) - start) / n;
            for (int i = 0; i < n; ++i) {
                if ((cells >> (i * 16 / n) & group) == 0) continue;
                const double from = start + i * step, to = start + (i + 1) * step;
                if (upright) take(Vec2{mid.x, from}, Vec2{mid.x, to});
                else take(Vec2{from, mid.y}, Vec2{to, mid.y});
            }
        }
    };
    std::vector<const Artwork*> whole;
    std::vector<StandIn> standIns;
    std::vector<Patch> patches;
    std::vector<Streak> streaks;
    std::size_t entities() const { return whole.size() + standIns.size() + patches.size() + streaks.size(); }
};

// Where a scene finds an entity's records again to draw it anew.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // The records of the top-level entity `handle` (the entity, then its
    // followers) into `out`; false when there is no such entity.
    virtual bool recordsOf(std::uint64_t handle, std::vector<dxf::Record>& out) const = 0;
};

class ViewScene {
public:
    static constexpr double kSmall = 2.0;    // pixels
    static constexpr double kCoarse = 16.0;  // pixels

    struct Query {
        bool cull = true;          // leave out entities outside the window
        bool levelOfDetail = true; // small entities as stand-ins
    };

    // `fonts` is used whenever an entity is drawn: it must outlive the scene.
    // Entities are drawn again from `source` (it must outlive the scene and
    // answer the records last given to build or replace); without one, and
    // for entities without a handle of their own, the scene keeps a copy of
    // their records.
    explicit ViewScene(FontLibrary& fonts, Space space = Space::Model, const RecordSource* source = nullptr);
    ~ViewScene();
    ViewScene(const ViewScene&) = delete;
    ViewScene& operator=(const ViewScene&) = delete;

    // Every top-level entity of the space of `doc`, drawn anew; the tables and
    // blocks are kept for later updates.
    void build(const dxf::Document& doc);
    // The top-level entity `handle` drawn anew from `records` (the entity
    // first, then its followers); added when new, removed when it no longer
    // lies in the scene's space.
    void replace(std::uint64_t handle, const std::vector<dxf::Record>& records);
    // Each entity drawn anew as by replace, drawn on every core at once; of
    // two with the same handle the later holds.
    struct Replacement {
        std::uint64_t handle;
        EntityDrawer::Records records;  // the caller's, kept until replaceAll returns
    };
    void replaceAll(const std::vector<Replacement>& entities);
    // Room for `entities` more, made at once (a scene built entity by entity).
    void reserve(std::size_t entities);
    void remove(std::uint64_t handle);

    // Changes with every change of what the scene holds and differs from any
    // other scene's: a picture painted at one revision holds until the next.
    std::uint64_t revision() const { return revision_; }

    std::size_t size() const { return byHandle_.size(); }
    bool contains(std::uint64_t handle) const { return byHandle_.contains(handle); }
    // What one entity draws (null when there is none; kept until the next
    // query or change), its strokes, and its box. Its curves are drawn for
    // the scale of the last query (its box and streak for none in particular).
    const Artwork* artOf(std::uint64_t handle) const;
    // Its strokes, glyph runs placed as strokes (made anew on each call).
    std::optional<std::vector<Polyline>> strokesOf(std::uint64_t handle) const;
    Box boxOf(std::uint64_t handle) const;
    const Coverage* coverageOf(std::uint64_t handle) const;
    // Its cells along its box's longer side (bit i the i-th of 16 from the
    // left, or from the bottom for a box taller than wide); 0 when none.
    std::uint16_t streakOf(std::uint64_t handle) const;
    // The box of every stroke and area.
    Box extents() const;
    // The handles of the entities whose boxes meet `area`, up to `most` of them.
    std::vector<std::uint64_t> handlesMeeting(const Box& area, std::size_t most) const;
    std::size_t strokeCount() const;

    // The whole entities' artworks are kept until the next query or change.
    ViewContent query(const ViewWindow& window, Query how) const;
    ViewContent query(const ViewWindow& window) const { return query(window, Query{}); }

    // Every entity's handle and strokes, ordered by handle (comparisons in tests).
    std::vector<std::pair<std::uint64_t, std::vector<Polyline>>> entities() const;

private:
    void touch();  // what the scene holds changed: a new revision
    static constexpr std::uint32_t kNoCover = UINT32_MAX;
    struct Item {
        std::uint64_t handle = 0;
        Box box;
        std::uint32_t visits = 0;  // entities drawn for it, nested copies included
        // Its cells in covers_, made when first asked for (few entities are
        // ever drawn as patches, so the scene does not hold them for all).
        mutable std::uint32_t cover = kNoCover;
        std::uint16_t streak = 0;  // its cells along its box's longer side, made when it is drawn
        Color color;               // of its first stroke, else of its first area
        bool live = false;
    };
    class KeptRecords;
    struct HandleOf {
        const std::vector<Item>* items;
        std::uint64_t operator()(std::uint32_t slot) const { return (*items)[slot].handle; }
    };
    struct CellRange {
        std::int64_t x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    };

    // An entity to draw into its slot: records[from, to).
    struct Pending {
        std::size_t slot;
        EntityDrawer::Records records;
        std::size_t from, to;
    };
    static constexpr std::size_t kShare = 4096;  // entities drawn at once
    void drawAll(const std::vector<Pending>& pending);
    // Drawn with `before` nested entities counted against the drawer's limit.
    Artwork drawItem(EntityDrawer& drawer, EntityDrawer::Records records, std::size_t i, std::size_t end,
                     std::size_t slot, std::size_t before);
    bool keepsRecords(std::uint64_t handle) const;
    Artwork drawAgain(std::size_t slot) const;
    const Artwork& drawnOf(std::size_t slot) const;
    void coverAll(const std::vector<std::uint32_t>& slots) const;
    void forget(std::size_t slot) const { drawn_.erase(slot); }
    void uncover(const Item& item) const;
    std::size_t newSlot();
    void put(std::size_t slot) const;
    void take(std::size_t slot) const;
    void rebuildGrid() const;
    double typicalSize() const;
    CellRange cellsOf(const Box& box) const;
    template <class Offer>
    void forEachNear(const Box& area, Offer&& offer) const;
    static bool large(const Box& box, double cell);

    FontLibrary& fonts_;
    Space space_;
    dxf::Document context_;  // header, tables and blocks of the drawing, no entities
    std::unique_ptr<EntityDrawer> drawer_;
    std::vector<std::unique_ptr<EntityDrawer>> drawers_;  // for the other cores
    std::unique_ptr<KeptRecords> kept_;
    const RecordSource* source_;  // may be null: every entity's records kept
    mutable std::vector<dxf::Record> records_;  // of the entity drawn again
    mutable double pixel_ = 0;  // the size of a pixel curves are drawn again for (0: fixed steps)
    // The artworks of the last query's whole entities (and of artOf), by slot.
    mutable std::unordered_map<std::size_t, Artwork> drawn_;
    std::vector<Item> items_;
    mutable std::deque<Coverage> covers_;            // items' cells (a deque: patches point into it)
    mutable std::vector<std::uint32_t> freeCovers_;  // of covers_, to be used again
    std::vector<std::size_t> free_;
    SlotIndex<HandleOf> byHandle_{HandleOf{&items_}};  // of the live items
    std::size_t visits_ = 0;  // all items' visits: the drawer's limit holds for the whole scene
    std::uint64_t nextUnnamed_ = 0;

    // The grid over the items' boxes, made on the first query after the
    // scene grew past it; an item too big for the cells is kept apart.
    mutable bool gridDirty_ = true;
    mutable Box gridBox_;
    mutable double cell_ = 1;
    mutable std::int64_t cols_ = 0, rows_ = 0;
    mutable std::vector<std::vector<std::uint32_t>> cells_;
    mutable std::vector<std::uint32_t> large_;
    mutable std::size_t gridBuiltWith_ = 0;
    mutable std::vector<std::uint32_t> seen_;  // per slot: the last query that took it
    mutable std::uint32_t queryStamp_ = 0;
    mutable std::array<std::size_t, 3> lastCounts_{};  // stand-ins, streaks and patches the last query listed
    std::uint64_t revision_ = 0;
};

}  // namespace kestrin::render
