#include "render/ViewScene.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "platform/memory/LargeBlocks.h"
#include "platform/process/Parallel.h"

namespace kestrin::render {
namespace {

constexpr std::uint64_t kUnnamed = std::uint64_t{1} << 63;  // keys of entities without a handle
constexpr std::int64_t kMaxCells = 1 << 22;
constexpr double kLargeCells = 16;  // an item wider or taller than this many cells is kept apart

std::uint64_t handleOf(const dxf::Record& record) {
    const auto found = record.tags.first(5);
    if (!found) return 0;
    std::string_view v = *found;
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    std::uint64_t h = 0;
    const auto res = std::from_chars(v.data(), v.data() + v.size(), h, 16);
    return res.ec == std::errc() && res.ptr == v.data() + v.size() ? h : 0;
}

bool meets(const Box& a, const Box& b) {
    return a.minX <= b.maxX && a.maxX >= b.minX && a.minY <= b.maxY && a.maxY >= b.minY;
}

// The cells from u0 to u1 of a row of 16 (grid units, within 0..16); a
// part that only reaches a cell's edge does not enter it.
void markSpan(std::uint16_t& cells, double u0, double u1) {
    const double lo = std::min(u0, u1), hi = std::max(u0, u1);
    const int c0 = static_cast<int>(lo);
    const int c1 = hi > lo ? std::max(c0, static_cast<int>(std::ceil(hi)) - 1) : c0;
    cells = static_cast<std::uint16_t>(cells | (((2u << c1) - 1) & ~((1u << c0) - 1)));
}

// Every cell of the 16 x 16 grid the segment from (u0, v0) to (u1, v1)
// passes (grid units, within 0..16): row by row, the columns of the part of
// the segment in that row at once.
void markSegment(Coverage& c, double u0, double v0, double u1, double v1) {
    const int r0 = static_cast<int>(v0), r1 = static_cast<int>(v1);
    if (r0 == r1 && static_cast<int>(u0) == static_cast<int>(u1)) {  // most segments of small text
        c.mark(static_cast<int>(u0), r0);
        return;
    }
    auto columns = [&](int row, double ua, double ub) { markSpan(c.rows16[row], ua, ub); };
    if (r0 == r1) {
        columns(r0, u0, u1);
        return;
    }
    const int step = r1 > r0 ? 1 : -1;
    const double dudv = (u1 - u0) / (v1 - v0);
    double from = u0;
    for (int row = r0; row != r1; row += step) {
        const double edge = step > 0 ? row + 1 : row;  // where the segment leaves this row
        const double to = u0 + (edge - v0) * dudv;
        columns(row, from, to);
        from = to;
    }
    columns(r1, from, u1);
}

// The cells a path of grid points passes (a ring's last edge back to its start).
void markPath(Coverage& c, const std::vector<Vec2>& path, bool closed) {
    if (path.empty()) return;
    c.mark(static_cast<int>(path[0].x), static_cast<int>(path[0].y));
    const std::size_t n = path.size();
    for (std::size_t k = 1; k <= n; ++k) {
        if (k == n && !(closed && n > 2)) break;
        const Vec2 a = path[k - 1], b = path[k % n];
        markSegment(c, a.x, a.y, b.x, b.y);
    }
}

constexpr double kLastCell = 15.999;

// A glyph run's strokes in grid units, each glyph placed by one map made of
// the run's and the grid's; a stroke with a point beyond the finite numbers
// is left out, as it is drawn.
void markRun(Coverage& c, const GlyphRun& run, const Affine& toGrid, std::vector<Vec2>& path) {
    forEachPlacedGlyph(run, toGrid, [&](const Glyph& g, const Affine& m) {
        for (const Polyline& stroke : g.strokes) {
            path.clear();
            bool finite = true;
            for (const Vec2& q : stroke) {
                const Vec2 p = m(q);
                finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
                path.push_back({std::clamp(p.x, 0.0, kLastCell), std::clamp(p.y, 0.0, kLastCell)});
            }
            if (finite) markPath(c, path, false);
        }
    });
}

// The cells of the 16 x 16 grid over `box` that the strokes (and the rings
// of the areas) pass.
Coverage cover(const Artwork& art, const Box& box) {
    Coverage c;
    if (box.empty()) return c;
    const double w = box.maxX - box.minX, h = box.maxY - box.minY;
    auto cell = [](double v, double from, double size) {
        if (!(size > 0)) return 8.0;  // a box without width or height: the middle cells
        return std::clamp((v - from) / size * 16, 0.0, kLastCell);
    };
    std::vector<Vec2> path;
    auto pass = [&](const Polyline& stroke, bool closed) {
        path.clear();
        for (const Vec2& p : stroke) path.push_back({cell(p.x, box.minX, w), cell(p.y, box.minY, h)});
        markPath(c, path, closed);
    };
    if (w > 0 && h > 0) {
        for (const Polyline& stroke : art.strokes) pass(stroke, false);
        const Affine toGrid = Affine::scale(16 / w, 16 / h).after(Affine::translate({-box.minX, -box.minY}));
        for (const GlyphRun& run : art.runs) markRun(c, run, toGrid, path);
    } else {
        forEachStroke(art, [&](const Polyline& stroke, Color) { pass(stroke, false); });
    }
    for (const Fill& f : art.fills)
        for (const Polyline& ring : f.rings) pass(ring, true);
    c.halve();
    return c;
}

// Which of the 16 cells along the box's longer side the strokes (and the
// rings of the areas) pass: each segment's span along it. A glyph no wider
// than a cell there is taken as the span of its hull: its strokes' gaps are
// narrower than a cell, so they leave no cell out.
std::uint16_t streakOf(const Artwork& art, const Box& box) {
    std::uint16_t cells = 0;
    if (box.empty()) return cells;
    const double w = box.maxX - box.minX, h = box.maxY - box.minY;
    const bool along = upright(box);
    const double from = along ? box.minY : box.minX, size = along ? h : w;
    if (!(size > 0)) return 1u << 8;  // a point: the middle cell
    // u = a x + b y + e for a point of the drawing.
    const double a = along ? 0 : 16 / size, b = along ? 16 / size : 0, e = -from * 16 / size;
    auto at = [](double u) { return std::clamp(u, 0.0, kLastCell); };
    auto pass = [&](const Polyline& stroke, bool closed, double pa, double pb, double pe) {
        if (stroke.empty()) return;
        double prev = at(pa * stroke[0].x + pb * stroke[0].y + pe);
        markSpan(cells, prev, prev);
        const std::size_t n = stroke.size();
        for (std::size_t k = 1; k <= n; ++k) {
            if (k == n && !(closed && n > 2)) break;
            const Vec2 p = stroke[k % n];
            const double u = at(pa * p.x + pb * p.y + pe);
            markSpan(cells, prev, u);
            prev = u;
        }
    };
    for (const Polyline& stroke : art.strokes) pass(stroke, false, a, b, e);
    for (const Fill& f : art.fills)
        for (const Polyline& ring : f.rings) pass(ring, true, a, b, e);
    const Affine toAlong{a, 0, b, 0, e, 0};  // the span in x, 0 in y
    for (const GlyphRun& run : art.runs)
        forEachPlacedGlyph(run, toAlong, [&](const Glyph& g, const Affine& m) {
            double lo = std::numeric_limits<double>::infinity(), hi = -lo;
            auto reach = [&](Vec2 q) {
                const double u = m(q).x;
                lo = std::min(lo, u);
                hi = std::max(hi, u);
            };
            // Along x or y alone the hull's extremes are its box's corners.
            if ((m.c == 0 || m.a == 0) && !g.hullBox.empty()) {
                reach({g.hullBox.minX, g.hullBox.minY});
                reach({g.hullBox.maxX, g.hullBox.maxY});
            } else {
                for (const Vec2& q : g.hull) reach(q);
            }
            if (!(lo <= hi)) return;  // nothing drawn, or beyond the finite numbers
            if (hi - lo <= 1 && std::isfinite(lo) && std::isfinite(hi)) {
                markSpan(cells, at(lo), at(hi));
                return;
            }
            // Along x or y alone: where the strokes reach along it, placed.
            if (std::isfinite(lo) && std::isfinite(hi) && (m.c == 0 || m.a == 0)) {
                const bool byX = m.c == 0;
                const double k = byX ? m.a : m.c;
                for (const Glyph::Reach& r : byX ? g.reachX : g.reachY)
                    markSpan(cells, at(k * r.lo + m.e), at(k * r.hi + m.e));
                return;
            }
            for (const Polyline& stroke : g.strokes) {
                bool finite = true;
                for (const Vec2& q : stroke) {
                    const Vec2 p = m(q);
                    finite = finite && std::isfinite(p.x);
                }
                if (finite) pass(stroke, false, m.a, m.c, m.e);
            }
        });
    return cells;
}

// The colour an entity draws its first stroke in, else its first area.
Color firstColor(const Artwork& art) {
    std::size_t ink = 0;
    if (!art.strokes.empty()) return art.colorOf(0, ink);
    if (!art.runs.empty()) return art.runs.front().color;
    return art.fills.empty() ? kDark : art.fills.front().color;
}

}  // namespace

Sketch sketchOf(const Artwork& art) {
    Sketch sketch;
    sketch.box = boxOf(art);
    sketch.color = firstColor(art);
    sketch.streak = streakOf(art, sketch.box);
    return sketch;
}

Detail detailOf(const Box& box, double ppu) {
    const double w = (box.maxX - box.minX) * ppu, h = (box.maxY - box.minY) * ppu;
    if (w < ViewScene::kSmall && h < ViewScene::kSmall)
        return w < 1 && h < 1 ? Detail::Dot : w >= h ? Detail::Baseline : Detail::LeftSide;
    if (w <= ViewScene::kCoarse && h <= ViewScene::kCoarse) return std::min(w, h) < 1 ? Detail::Streak : Detail::Patch;
    return Detail::Whole;
}

void Coverage::halve() {
    for (int row = 0; row < 16; ++row)
        for (int col = 0; col < 16; ++col)
            if ((rows16[row] >> col) & 1) {
                rows8[row / 2] = static_cast<std::uint8_t>(rows8[row / 2] | (1u << (col / 2)));
                cells4 = static_cast<std::uint16_t>(cells4 | (1u << (row / 4 * 4 + col / 4)));
            }
}

// The records of the entities given to a scene without a source.
class ViewScene::KeptRecords : public RecordSource {
public:
    bool recordsOf(std::uint64_t handle, std::vector<dxf::Record>& out) const override {
        const auto it = records_.find(handle);
        if (it == records_.end()) return false;
        out = it->second;
        return true;
    }
    void put(std::uint64_t handle, std::vector<dxf::Record> records) { records_[handle] = std::move(records); }
    void erase(std::uint64_t handle) { records_.erase(handle); }

private:
    std::unordered_map<std::uint64_t, std::vector<dxf::Record>> records_;
};

ViewScene::ViewScene(FontLibrary& fonts, Space space, const RecordSource* source)
    : fonts_(fonts), space_(space), kept_(std::make_unique<KeptRecords>()), source_(source) {
    touch();
}
ViewScene::~ViewScene() = default;

void ViewScene::touch() {
    static std::atomic<std::uint64_t> revisions{0};  // of every scene: no two share one
    revision_ = ++revisions;
}

void ViewScene::build(const dxf::Document& doc) {
    touch();
    context_ = dxf::Document{};
    context_.header = doc.header;
    context_.tables = doc.tables;
    context_.blocks = doc.blocks;
    drawer_ = std::make_unique<EntityDrawer>(context_, space_, fonts_);
    drawers_.clear();
    kept_ = std::make_unique<KeptRecords>();
    items_.clear();
    covers_.clear();
    freeCovers_.clear();
    free_.clear();
    byHandle_.clear();
    drawn_.clear();
    visits_ = 0;
    nextUnnamed_ = 0;
    gridDirty_ = true;

    std::vector<Pending> pending;
    // Room for the top-level entities, at most (its followers are counted too).
    items_.reserve(doc.entities.size());
    byHandle_.reserve(doc.entities.size());
    drawer_->forEachTopLevel(doc, [&](const std::vector<dxf::Record>& records, std::size_t i, std::size_t end, bool) {
        std::uint64_t handle = handleOf(records[i]);
        if (handle == 0 || byHandle_.contains(handle)) handle = kUnnamed | nextUnnamed_++;
        const std::size_t slot = newSlot();
        items_[slot].handle = handle;
        byHandle_.insert(handle, static_cast<std::uint32_t>(slot));
        if (keepsRecords(handle))
            kept_->put(handle, {records.begin() + static_cast<std::ptrdiff_t>(i), records.begin() + static_cast<std::ptrdiff_t>(end)});
        pending.push_back({slot, records, i, end});
        if (pending.size() == kShare) {
            drawAll(pending);
            pending.clear();
        }
    });
    drawAll(pending);
}

// The pending entities drawn on every core, each core with a drawer of its
// own (the fonts are shared), as if in order (see drawShareInOrder), then
// put in the grid in order.
void ViewScene::drawAll(const std::vector<Pending>& pending) {
    if (pending.empty()) return;
    while (drawers_.size() + 1 < process::cores()) drawers_.push_back(std::make_unique<EntityDrawer>(context_, space_, fonts_));
    std::vector<std::optional<Artwork>> shown(pending.size());  // of entities the last query showed whole
    drawShareInOrder(pending.size(), visits_, [&](std::size_t part, std::size_t begin, std::size_t end) {
        EntityDrawer& drawer = part == 0 ? *drawer_ : *drawers_.at(part - 1);
        std::size_t drawn = 0;
        for (std::size_t k = begin; k < end; ++k) {
            const Pending& p = pending[k];
            Artwork art = drawItem(drawer, p.records, p.from, p.to, p.slot, visits_ + drawn);
            drawn += items_[p.slot].visits;
            if (drawn_.contains(p.slot)) shown[k] = std::move(art);  // looked up only: no core changes drawn_ here
        }
        return drawn;
    });
    for (std::size_t k = 0; k < pending.size(); ++k) {
        const std::size_t slot = pending[k].slot;
        visits_ += items_[slot].visits;
        // Shown whole by the last query: kept drawn anew, else not kept at all.
        if (shown[k]) drawn_[slot] = std::move(*shown[k]);
        put(slot);
    }
}

// The entity's box, colour and streak from its records; its artwork is handed back.
Artwork ViewScene::drawItem(EntityDrawer& drawer, EntityDrawer::Records records, std::size_t i,
                            std::size_t end, std::size_t slot, std::size_t before) {
    Item& item = items_[slot];
    Scene drawn;
    drawer.setVisits(before);
    drawer.setPixelSize(0);  // its box and streak the same whatever the view's scale
    while (i < end) i = drawer.draw(records, i, drawn);
    item.visits = static_cast<std::uint32_t>(drawer.visits() - before);
    Artwork& art = drawn;
    // The streak now, while the artwork is at hand: a drawing opened at its
    // extents is mostly streaks, and is then shown without drawing it again.
    const Sketch sketch = sketchOf(art);
    item.box = sketch.box;
    item.color = sketch.color;
    item.streak = sketch.streak;
    item.live = true;
    return std::move(art);
}

// The item's cells, if made, given back: it was drawn anew or is gone.
void ViewScene::uncover(const Item& item) const {
    if (item.cover == kNoCover) return;
    freeCovers_.push_back(item.cover);
    item.cover = kNoCover;
}

// Whether the scene keeps the entity's records itself: without a source,
// or for an entity without a handle of its own (the source cannot name it).
bool ViewScene::keepsRecords(std::uint64_t handle) const { return !source_ || (handle & kUnnamed) != 0; }

// The entity in `slot` drawn from its records as it was when last given
// (the same share of the drawer's limit).
Artwork ViewScene::drawAgain(std::size_t slot) const {
    const Item& item = items_[slot];
    Scene drawn;
    records_.clear();
    const RecordSource& from = keepsRecords(item.handle) ? *kept_ : *source_;
    if (!from.recordsOf(item.handle, records_)) return {};
    drawer_->setVisits(visits_ - item.visits);
    drawer_->setPixelSize(pixel_);
    for (std::size_t i = 0; i < records_.size();) i = drawer_->draw(records_, i, drawn);
    return std::move(static_cast<Artwork&>(drawn));
}

const Artwork& ViewScene::drawnOf(std::size_t slot) const {
    auto it = drawn_.find(slot);
    if (it == drawn_.end()) it = drawn_.emplace(slot, drawAgain(slot)).first;
    return it->second;
}

void ViewScene::reserve(std::size_t entities) {
    items_.reserve(items_.size() + entities);
    byHandle_.reserve(byHandle_.size() + entities);
    // The entities' places are taken one by one on this thread: their memory
    // is made present first, on every core.
    char* const from = reinterpret_cast<char*>(items_.data() + items_.size());
    const std::size_t bytes = (items_.capacity() - items_.size()) * sizeof(Item);
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    process::inParallel((bytes + kChunk - 1) / kChunk, 4, [&](std::size_t begin, std::size_t end) {
        memory::makePresent(from + begin * kChunk, std::min(bytes, end * kChunk) - begin * kChunk);
    });
}

void ViewScene::replace(std::uint64_t handle, const std::vector<dxf::Record>& records) {
    replaceAll({{handle, records}});
}

void ViewScene::replaceAll(const std::vector<Replacement>& entities) {
    if (!drawer_) build(dxf::Document{});
    if (!entities.empty()) touch();
    // Of an entity given twice only the later counts. That is rare (a
    // drawing's shares never do): looked for first, among the handles sorted.
    std::unordered_map<std::uint64_t, std::size_t> last;
    if (entities.size() > 1) {
        std::vector<std::uint64_t> handles(entities.size());
        for (std::size_t k = 0; k < entities.size(); ++k) handles[k] = entities[k].handle;
        std::sort(handles.begin(), handles.end());
        if (std::adjacent_find(handles.begin(), handles.end()) != handles.end()) {
            last.reserve(entities.size());
            for (std::size_t k = 0; k < entities.size(); ++k) last[entities[k].handle] = k;
        }
    }
    std::vector<Pending> pending;
    constexpr std::size_t kAhead = 16;  // look-ups asked for ahead of their turn
    for (std::size_t k = 0; k < entities.size(); ++k) {
        if (k + kAhead < entities.size()) byHandle_.prefetch(entities[k + kAhead].handle);
        const Replacement& e = entities[k];
        const std::uint64_t handle = e.handle;
        if (!last.empty() && last[handle] != k) continue;
        if (e.records.empty() || !drawer_->inSpace(e.records.front())) {
            remove(handle);
            continue;
        }
        std::size_t slot;
        if (const std::uint32_t at = byHandle_.find(handle); at != byHandle_.npos) {
            slot = at;
            take(slot);
            visits_ -= items_[slot].visits;
        } else {
            slot = newSlot();
            items_[slot].handle = handle;
            byHandle_.insert(handle, static_cast<std::uint32_t>(slot));
        }
        if (keepsRecords(handle)) kept_->put(handle, {e.records.begin(), e.records.end()});
        uncover(items_[slot]);
        pending.push_back({slot, e.records, 0, e.records.size()});
        if (pending.size() == kShare) {
            drawAll(pending);
            pending.clear();
        }
    }
    drawAll(pending);
}

void ViewScene::remove(std::uint64_t handle) {
    const std::uint32_t slot = byHandle_.find(handle);
    if (slot == byHandle_.npos) return;
    touch();
    take(slot);
    visits_ -= items_[slot].visits;
    byHandle_.erase(handle);  // while the item still holds its handle
    uncover(items_[slot]);
    items_[slot] = Item{};
    forget(slot);
    free_.push_back(slot);
    kept_->erase(handle);
}

std::size_t ViewScene::newSlot() {
    if (!free_.empty()) {
        const std::size_t slot = free_.back();
        free_.pop_back();
        return slot;
    }
    items_.emplace_back();
    return items_.size() - 1;
}

const Artwork* ViewScene::artOf(std::uint64_t handle) const {
    const std::uint32_t slot = byHandle_.find(handle);
    return slot == byHandle_.npos ? nullptr : &drawnOf(slot);
}

std::optional<std::vector<Polyline>> ViewScene::strokesOf(std::uint64_t handle) const {
    const Artwork* art = artOf(handle);
    if (art == nullptr) return std::nullopt;
    return allStrokes(*art);
}

Box ViewScene::boxOf(std::uint64_t handle) const {
    const std::uint32_t slot = byHandle_.find(handle);
    return slot == byHandle_.npos ? Box{} : items_[slot].box;
}

// The coverage of each slot's entity not covered yet: drawn a share at a
// time on this thread (the drawer and fonts are not shared between threads),
// each share covered on every core.
void ViewScene::coverAll(const std::vector<std::uint32_t>& slots) const {
    std::vector<Artwork> arts;
    std::vector<const Artwork*> of;
    for (std::uint32_t slot : slots) {  // room for their cells first: the deque grows on this thread only
        const Item& item = items_[slot];
        if (item.cover != kNoCover) continue;
        if (freeCovers_.empty()) {
            item.cover = static_cast<std::uint32_t>(covers_.size());
            covers_.emplace_back();
        } else {
            item.cover = freeCovers_.back();
            freeCovers_.pop_back();
        }
    }
    for (std::size_t from = 0; from < slots.size(); from += kShare) {
        const std::size_t to = std::min(slots.size(), from + kShare);
        arts.clear();
        arts.reserve(to - from);
        of.clear();
        for (std::size_t k = from; k < to; ++k) {
            if (auto it = drawn_.find(slots[k]); it != drawn_.end()) {
                of.push_back(&it->second);
            } else {
                arts.push_back(drawAgain(slots[k]));
                of.push_back(nullptr);
            }
        }
        std::size_t next = 0;
        for (const Artwork*& a : of)
            if (a == nullptr) a = &arts[next++];
        process::inParallel(to - from, 512, [&](std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k) {
                const Item& item = items_[slots[from + k]];
                covers_[item.cover] = cover(*of[k], item.box);
            }
        });
    }
}

const Coverage* ViewScene::coverageOf(std::uint64_t handle) const {
    const std::uint32_t slot = byHandle_.find(handle);
    if (slot == byHandle_.npos) return nullptr;
    const Item& item = items_[slot];
    if (item.cover == kNoCover) coverAll({slot});
    return &covers_[item.cover];
}

std::uint16_t ViewScene::streakOf(std::uint64_t handle) const {
    const std::uint32_t slot = byHandle_.find(handle);
    if (slot == byHandle_.npos) return 0;
    return items_[slot].streak;
}

Box ViewScene::extents() const {
    Box all;
    for (const Item& item : items_)
        if (item.live) all.add(item.box);
    return all;
}

// Each slot listed in the grid's cells over `area` (and each kept apart),
// once; false from `offer` ends the walk.
template <class Offer>
void ViewScene::forEachNear(const Box& area, Offer&& offer) const {
    if (gridDirty_) rebuildGrid();
    if (cols_ == 0 || !meets(gridBox_, area)) return;
    if (seen_.size() < items_.size()) seen_.resize(items_.size(), 0);
    if (++queryStamp_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        queryStamp_ = 1;
    }
    auto once = [&](std::uint32_t slot) {
        if (seen_[slot] == queryStamp_) return true;
        seen_[slot] = queryStamp_;
        return offer(slot);
    };
    for (std::uint32_t slot : large_)
        if (!once(slot)) return;
    const CellRange r = cellsOf(area);
    for (std::int64_t y = r.y0; y <= r.y1; ++y)
        for (std::int64_t x = r.x0; x <= r.x1; ++x)
            for (std::uint32_t slot : cells_[static_cast<std::size_t>(y * cols_ + x)])
                if (!once(slot)) return;
}

std::vector<std::uint64_t> ViewScene::handlesMeeting(const Box& area, std::size_t most) const {
    std::vector<std::uint64_t> out;
    forEachNear(area, [&](std::uint32_t slot) {
        const Item& item = items_[slot];
        if (!(item.handle & kUnnamed) && meets(item.box, area)) out.push_back(item.handle);
        return out.size() < most;
    });
    return out;
}

std::size_t ViewScene::strokeCount() const {
    std::size_t n = 0;
    for (std::size_t slot = 0; slot < items_.size(); ++slot)
        if (items_[slot].live) n += render::strokeCount(drawAgain(slot));
    return n;
}

std::vector<std::pair<std::uint64_t, std::vector<Polyline>>> ViewScene::entities() const {
    std::vector<std::pair<std::uint64_t, std::vector<Polyline>>> out;
    out.reserve(byHandle_.size());
    for (std::size_t slot = 0; slot < items_.size(); ++slot)
        if (items_[slot].live) out.emplace_back(items_[slot].handle, allStrokes(drawAgain(slot)));
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return out;
}

// The grid.

bool ViewScene::large(const Box& box, double cell) {
    return box.maxX - box.minX > kLargeCells * cell || box.maxY - box.minY > kLargeCells * cell;
}

ViewScene::CellRange ViewScene::cellsOf(const Box& box) const {
    auto col = [this](double x) {
        const double c = std::floor((x - gridBox_.minX) / cell_);
        return static_cast<std::int64_t>(std::clamp(c, 0.0, static_cast<double>(cols_ - 1)));
    };
    auto row = [this](double y) {
        const double c = std::floor((y - gridBox_.minY) / cell_);
        return static_cast<std::int64_t>(std::clamp(c, 0.0, static_cast<double>(rows_ - 1)));
    };
    return {col(box.minX), row(box.minY), col(box.maxX), row(box.maxY)};
}

void ViewScene::put(std::size_t slot) const {
    const Item& item = items_[slot];
    if (gridDirty_ || item.box.empty()) return;
    // Outside the grid, or the scene grew much since it was made: made anew when next asked.
    if (item.box.minX < gridBox_.minX || item.box.maxX > gridBox_.maxX || item.box.minY < gridBox_.minY ||
        item.box.maxY > gridBox_.maxY || byHandle_.size() > 2 * gridBuiltWith_ + 1024) {
        gridDirty_ = true;
        return;
    }
    if (large(item.box, cell_)) {
        large_.push_back(static_cast<std::uint32_t>(slot));
        return;
    }
    const CellRange r = cellsOf(item.box);
    for (std::int64_t y = r.y0; y <= r.y1; ++y)
        for (std::int64_t x = r.x0; x <= r.x1; ++x)
            cells_[static_cast<std::size_t>(y * cols_ + x)].push_back(static_cast<std::uint32_t>(slot));
}

void ViewScene::take(std::size_t slot) const {
    const Item& item = items_[slot];
    if (gridDirty_ || item.box.empty()) return;
    const auto id = static_cast<std::uint32_t>(slot);
    auto drop = [id](std::vector<std::uint32_t>& list) {
        if (auto it = std::find(list.begin(), list.end(), id); it != list.end()) {
            *it = list.back();
            list.pop_back();
        }
    };
    if (large(item.box, cell_)) {
        drop(large_);
        return;
    }
    const CellRange r = cellsOf(item.box);
    for (std::int64_t y = r.y0; y <= r.y1; ++y)
        for (std::int64_t x = r.x0; x <= r.x1; ++x) drop(cells_[static_cast<std::size_t>(y * cols_ + x)]);
}

// The median of the larger side of the entities' boxes (of up to 4096 of
// them, taken evenly).
double ViewScene::typicalSize() const {
    std::vector<double> sizes;
    const std::size_t step = std::max<std::size_t>(1, items_.size() / 4096);
    for (std::size_t slot = 0; slot < items_.size(); slot += step) {
        const Box& b = items_[slot].box;
        if (items_[slot].live && !b.empty()) sizes.push_back(std::max(b.maxX - b.minX, b.maxY - b.minY));
    }
    if (sizes.empty()) return 0;
    const auto middle = sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2);
    std::nth_element(sizes.begin(), middle, sizes.end());
    return std::isfinite(*middle) ? *middle : 0;
}

void ViewScene::rebuildGrid() const {
    gridDirty_ = false;
    gridBuiltWith_ = byHandle_.size();
    cells_.clear();
    large_.clear();
    gridBox_ = extents();
    if (gridBox_.empty()) {
        cols_ = rows_ = 0;
        return;
    }
    // About one entity a cell over the drawing's area, but no smaller than
    // most entities, so that each is listed in few cells.
    const double w = std::max(gridBox_.maxX - gridBox_.minX, 1e-9);
    const double h = std::max(gridBox_.maxY - gridBox_.minY, 1e-9);
    const double n = static_cast<double>(std::max<std::size_t>(gridBuiltWith_, 1));
    cell_ = std::max({std::sqrt(w * h / n), std::max(w, h) / 4096, typicalSize()});
    if (!(cell_ > 0) || !std::isfinite(cell_)) cell_ = 1;
    cols_ = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(w / cell_)));
    rows_ = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(h / cell_)));
    while (cols_ * rows_ > kMaxCells) {
        cell_ *= 2;
        cols_ = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(w / cell_)));
        rows_ = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(h / cell_)));
    }
    cells_.resize(static_cast<std::size_t>(cols_ * rows_));
    for (std::size_t slot = 0; slot < items_.size(); ++slot)
        if (items_[slot].live) put(slot);
}

ViewContent ViewScene::query(const ViewWindow& window, Query how) const {
    ViewContent out;
    // Room for as many as the last query listed: paints follow each other
    // at much the same view, and at the extents a million stand-ins would
    // otherwise be copied again each time the list doubles.
    out.standIns.reserve(lastCounts_[0]);
    out.streaks.reserve(lastCounts_[1]);
    out.patches.reserve(lastCounts_[2]);
    // Curves drawn for this scale: a pixel's size rounded down to a power of
    // two, so that what was drawn serves zooms within a factor of two.
    if (const double pixel = std::exp2(std::floor(std::log2(1 / window.pixelsPerUnit)));
        std::isfinite(pixel) && pixel > 0 && pixel != pixel_) {
        drawn_.clear();
        pixel_ = pixel;
    }
    std::vector<std::uint32_t> uncovered;  // patches whose cells are not made yet
    std::vector<std::uint32_t> patched;    // the patches' entities, in order
    std::vector<std::uint32_t> whole;
    const double ppu = window.pixelsPerUnit;
    auto offer = [&](std::uint32_t slot) {
        const Item& item = items_[slot];
        if (item.box.empty()) return;
        if (how.cull && !meets(item.box, window.world)) return;
        using Kind = ViewContent::StandIn::Kind;
        switch (how.levelOfDetail ? detailOf(item.box, ppu) : Detail::Whole) {
            case Detail::Dot: out.standIns.push_back({&item.box, item.color, Kind::Dot}); return;
            case Detail::Baseline: out.standIns.push_back({&item.box, item.color, Kind::Baseline}); return;
            case Detail::LeftSide: out.standIns.push_back({&item.box, item.color, Kind::LeftSide}); return;
            case Detail::Streak:
                out.streaks.push_back({&item.box, item.streak, upright(item.box), item.color});
                return;
            case Detail::Patch:
                if (item.cover == kNoCover) uncovered.push_back(slot);
                out.patches.push_back({&item.box, nullptr, item.color});
                patched.push_back(slot);
                return;
            case Detail::Whole: whole.push_back(slot); return;
        }
    };
    // The whole entities' artworks: those drawn for the last query kept, the
    // others drawn now, the rest let go.
    auto finish = [&] {
        coverAll(uncovered);
        for (std::size_t k = 0; k < out.patches.size(); ++k) out.patches[k].cells = &covers_[items_[patched[k]].cover];
        std::unordered_map<std::size_t, Artwork> shown;
        shown.reserve(whole.size());
        out.whole.reserve(whole.size());
        for (std::size_t slot : whole) {
            auto node = drawn_.extract(slot);
            auto at = node ? shown.insert(std::move(node)).position : shown.emplace(slot, drawAgain(slot)).first;
            out.whole.push_back(&at->second);
        }
        drawn_ = std::move(shown);
        lastCounts_ = {out.standIns.size(), out.streaks.size(), out.patches.size()};
    };
    if (!how.cull) {
        for (std::size_t slot = 0; slot < items_.size(); ++slot)
            if (items_[slot].live) offer(static_cast<std::uint32_t>(slot));
        finish();
        return out;
    }
    forEachNear(window.world, [&](std::uint32_t slot) {
        offer(slot);
        return true;
    });
    finish();
    return out;
}

}  // namespace kestrin::render
