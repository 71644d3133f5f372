// A drawing's top-level entities sketched for a picture of it: each one's
// box, first colour and streak, drawn once on every core and then let go,
// so that the picture's extents and each entity's size in it are known
// before anything is painted, and an entity too small to show its strokes
// need not be drawn again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "host/dxf/DxfDocument.h"
#include "render/EntityDrawer.h"
#include "render/Scene.h"
#include "render/ViewScene.h"

namespace kestrin::render {

class DrawingSketch {
public:
    // `progress(share)` is told how far the sketch has come (0 to 1). The
    // document and the fonts must outlive the sketch.
    DrawingSketch(const dxf::Document& doc, Space space, FontLibrary& fonts,
                  const std::function<void(double)>& progress = {});
    ~DrawingSketch();
    DrawingSketch(const DrawingSketch&) = delete;
    DrawingSketch& operator=(const DrawingSketch&) = delete;

    std::size_t size() const { return entities_.size(); }
    const Sketch& operator[](std::size_t k) const { return entities_[k].sketch; }
    // It has areas (hatches, solids, wide polylines, filled glyphs).
    bool hasAreas(std::size_t k) const { return entities_[k].areas; }
    // The box of every stroke and area.
    const Box& extents() const { return extents_; }
    bool hasAreas() const { return areas_; }
    // The entities drawn (nested ones included) and the kinds left out.
    const Scene& counts() const { return counts_; }

    // The k-th entity drawn again, as it was when sketched (the same share
    // of the drawer's limit on nested entities); kept until the next call.
    const Artwork& draw(std::size_t k);

private:
    struct Place {
        Sketch sketch;
        std::uint32_t at = 0;            // its first record
        std::uint32_t visitsBefore = 0;  // nested entities counted before it
        bool areas = false;
        bool own = false;  // in the space's block record, not the ENTITIES section
    };
    void drawShare(std::size_t from, std::size_t to);
    void drawPlace(EntityDrawer& drawer, const Place& place, Scene& out) const;

    const dxf::Document& doc_;
    std::vector<std::unique_ptr<EntityDrawer>> drawers_;  // one a core
    std::vector<Place> entities_;
    Box extents_;
    bool areas_ = false;
    std::size_t visits_ = 0;  // nested entities drawn by the shares so far
    Scene counts_;
    Scene again_;  // the entity drawn again
};

}  // namespace kestrin::render
