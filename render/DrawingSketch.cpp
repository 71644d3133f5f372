#include "render/DrawingSketch.h"

#include <algorithm>
#include <atomic>
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
// its own (the fonts are shared). Each entity counts its nested entities
// against the drawer's limit from those drawn before it: on a core, from the
// share's start plus what that core drew of it, the same as in order while
// the share stays under the limit. A share that reaches the limit is drawn
// again on one core in order, so that what is left out is what comes last.
void DrawingSketch::drawShare(std::size_t from, std::size_t to) {
    const std::size_t before = visits_;
    std::vector<Scene> counts(drawers_.size());
    std::vector<std::size_t> visits(drawers_.size());
    auto drawRun = [&](std::size_t part, std::size_t begin, std::size_t end) {
        EntityDrawer& drawer = *drawers_.at(part);
        Scene& one = counts[part];
        for (std::size_t k = begin; k < end; ++k) {
            Place& place = entities_[k];
            place.visitsBefore = static_cast<std::uint32_t>(before + visits[part]);  // the limit fits
            drawPlace(drawer, place, one);
            visits[part] = drawer.visits() - before;
            place.sketch = sketchOf(one);
            place.areas = !one.fills.empty();
        }
    };
    std::atomic<std::size_t> nextPart{0};
    process::inParallel(to - from, 256, [&](std::size_t begin, std::size_t end) { drawRun(nextPart++, from + begin, from + end); });
    std::size_t drawn = 0;
    for (std::size_t v : visits) drawn += v;
    if (nextPart > 1 && before + drawn >= EntityDrawer::kLimit) {
        std::fill(counts.begin(), counts.end(), Scene{});
        std::fill(visits.begin(), visits.end(), 0);
        drawRun(0, from, to);
    }
    for (std::size_t part = 0; part < drawers_.size(); ++part) {
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
