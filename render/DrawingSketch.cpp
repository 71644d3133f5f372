#include "render/DrawingSketch.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "platform/process/Parallel.h"

namespace kestrin::render {

namespace {

constexpr std::size_t kShare = 4096;  // entities drawn at once, on every core

bool complex(const dxf::Record& record) { return record.type == "INSERT" || record.type == "POLYLINE"; }

// The records of one top-level entity: an INSERT with its attributes, a
// POLYLINE with its vertices.
std::size_t pastEntity(const std::vector<dxf::Record>& records, std::size_t i) {
    return complex(records[i]) ? EntityDrawer::pastFollowers(records, i) : i + 1;
}

void clear(Scene& scene) {
    scene.strokes.clear();
    scene.inks.clear();
    scene.fills.clear();
    scene.runs.clear();
}

void addCounts(Scene& into, const Scene& from) {
    into.drawn += from.drawn;
    for (const auto& [type, n] : from.skipped) into.skipped[type] += n;
}

}  // namespace

DrawingSketch::DrawingSketch(const dxf::Document& doc, Space space, FontLibrary& fonts,
                             const std::function<void(double)>& progress)
    : doc_(doc) {
    drawers_.push_back(std::make_unique<EntityDrawer>(doc, space, fonts));
    // Each top-level entity of the space, in the drawing's order (counted
    // first: the list is made at its size, a big drawing's is large).
    auto list = [&](const std::vector<dxf::Record>& records, bool own, auto&& take) {
        for (std::size_t i = 0; i < records.size(); i = pastEntity(records, i)) {
            const dxf::Record& r = records[i];
            // Followers without their entity are nothing to draw.
            if (r.type == "VERTEX" || r.type == "SEQEND" || (!own && !drawers_[0]->inSpace(r))) continue;
            take(i, own);
        }
    };
    auto listAll = [&](auto&& take) {
        list(doc.entities, false, take);
        if (const auto* own = drawers_[0]->spaceBlockEntities()) list(*own, true, take);
    };
    std::size_t count = 0;
    listAll([&](std::size_t, bool) { ++count; });
    entities_.reserve(count);
    listAll([&](std::size_t i, bool own) {
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
// its own (the fonts are shared). Each entity of the share counts its nested
// entities against the drawer's limit from what was drawn before the share:
// the limit holds for a share, not within one.
void DrawingSketch::drawShare(std::size_t from, std::size_t to) {
    // Past the drawer's limit either way: nothing more is drawn.
    const auto before = static_cast<std::uint32_t>(std::min<std::size_t>(visits_, UINT32_MAX));
    std::vector<Scene> counts(drawers_.size());
    std::vector<std::size_t> visits(drawers_.size());
    std::atomic<std::size_t> nextPart{0};
    process::inParallel(to - from, 256, [&](std::size_t begin, std::size_t end) {
        const std::size_t part = nextPart++;
        EntityDrawer& drawer = *drawers_.at(part);
        Scene& one = counts[part];
        for (std::size_t k = from + begin; k < from + end; ++k) {
            Place& place = entities_[k];
            const std::vector<dxf::Record>& records = place.own ? *drawer.spaceBlockEntities() : doc_.entities;
            clear(one);
            drawer.setVisits(before);
            for (std::size_t i = place.at, past = pastEntity(records, i); i < past;) i = drawer.draw(records, i, one);
            place.visitsBefore = before;
            visits[part] += drawer.visits() - before;
            place.sketch = sketchOf(one);
            place.areas = !one.fills.empty();
        }
    });
    for (std::size_t part = 0; part < drawers_.size(); ++part) {
        addCounts(counts_, counts[part]);
        visits_ += visits[part];
    }
    for (std::size_t k = from; k < to; ++k) {
        extents_.add(entities_[k].sketch.box);
        areas_ = areas_ || entities_[k].areas;
    }
}

const Artwork& DrawingSketch::draw(std::size_t k) {
    const Place& place = entities_.at(k);
    EntityDrawer& drawer = *drawers_[0];
    const std::vector<dxf::Record>& records = place.own ? *drawer.spaceBlockEntities() : doc_.entities;
    clear(again_);
    drawer.setVisits(place.visitsBefore);
    for (std::size_t i = place.at, past = pastEntity(records, i); i < past;) i = drawer.draw(records, i, again_);
    return again_;
}

}  // namespace kestrin::render
