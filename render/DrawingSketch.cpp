#include "render/DrawingSketch.h"

#include <algorithm>
#include <cstdint>

#include "platform/process/Parallel.h"

namespace kestrin::render {

namespace {

constexpr std::size_t kShare = 4096;  // entities drawn at once, on every core

}  // namespace

DrawingSketch::DrawingSketch(const dxf::Document& doc, Space space, FontLibrary& fonts,
                             const std::function<void(double)>& progress)
    : doc_(doc) {
    drawers_.push_back(std::make_unique<EntityDrawer>(doc, space, fonts));
    // The list is made at its size (counted first): a big drawing's is large.
    std::size_t count = 0;
    drawers_[0]->forEachTopLevel(doc, [&](const auto&, std::size_t, std::size_t, bool) { ++count; });
    entities_.reserve(count);
    drawers_[0]->forEachTopLevel(doc, [&](const auto&, std::size_t i, std::size_t, bool own) {
        Place place;
        place.at = static_cast<std::uint32_t>(i);
        place.own = own;
        entities_.push_back(place);
    });
    while (drawers_.size() < process::cores()) drawers_.push_back(std::make_unique<EntityDrawer>(doc, space, fonts));
    for (std::size_t from = 0; from < entities_.size(); from += kShare) {
        drawShare(from, std::min(entities_.size(), from + kShare));
        if (progress) progress(std::min(1.0, static_cast<double>(from + kShare) / entities_.size()));
    }
    drawers_.resize(1);
}

DrawingSketch::~DrawingSketch() = default;

// A share of the entities drawn on every core, each core with a drawer of
// its own (the fonts are shared), as if in order (see drawShareInOrder).
void DrawingSketch::drawShare(std::size_t from, std::size_t to) {
    const std::size_t before = visits_;
    std::vector<Scene> counts(drawers_.size());
    std::vector<std::size_t> visits(drawers_.size());
    const std::size_t parts = drawShareInOrder(to - from, before, [&](std::size_t part, std::size_t begin, std::size_t end) {
        EntityDrawer& drawer = *drawers_.at(part);
        Scene& one = counts[part] = Scene{};
        std::size_t& drawn = visits[part] = 0;
        for (std::size_t k = from + begin; k < from + end; ++k) {
            Place& place = entities_[k];
            place.visitsBefore = static_cast<std::uint32_t>(before + drawn);  // the limit fits
            drawPlace(drawer, place, one);
            drawn = drawer.visits() - before;
            place.sketch = sketchOf(one);
            place.areas = !one.fills.empty();
        }
        return drawn;
    });
    for (std::size_t part = 0; part < parts; ++part) {
        counts_.addCounts(counts[part]);
        visits_ += visits[part];
    }
    for (std::size_t k = from; k < to; ++k) {
        extents_.add(entities_[k].sketch.box);
        areas_ = areas_ || entities_[k].areas;
    }
}

const Artwork& DrawingSketch::draw(std::size_t k) {
    drawPlace(*drawers_[0], entities_.at(k), again_);
    return again_;
}

// The entity's records drawn anew into `out`, its nested entities counted
// from those before it.
void DrawingSketch::drawPlace(EntityDrawer& drawer, const Place& place, Scene& out) const {
    const std::vector<dxf::Record>& records = place.own ? *drawer.spaceBlockEntities() : doc_.entities;
    out.clear();
    drawer.setVisits(place.visitsBefore);
    for (std::size_t i = place.at, end = EntityDrawer::pastEntity(records, i); i < end;) i = drawer.draw(records, i, out);
}

}  // namespace kestrin::render
