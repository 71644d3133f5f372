// The drawing of a document's entities one at a time, in drawing units: what
// a whole picture's scene (buildScene) and a view's scene (ViewScene) share.
// The document's tables (layers, text styles) and blocks are read once, at
// construction, and used while drawing: the document must outlive the drawer.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "host/dxf/DxfDocument.h"
#include "render/Scene.h"

namespace kestrin::render {

class EntityDrawer {
public:
    EntityDrawer(const dxf::Document& doc, Space space, FontLibrary& fonts);
    ~EntityDrawer();
    EntityDrawer(const EntityDrawer&) = delete;
    EntityDrawer& operator=(const EntityDrawer&) = delete;

    // Records in the drawing's order, wherever they are kept.
    using Records = std::span<const dxf::Record>;

    // Draws the entity records[i] into `out` and answers the index of the
    // next entity: a POLYLINE takes its vertices along, an INSERT's
    // attributes are entities of their own (skipped with a hidden INSERT).
    std::size_t draw(Records records, std::size_t i, Scene& out);
    // Whether an entity of the ENTITIES section lies in the drawer's space.
    bool inSpace(const dxf::Record& record) const;
    // The entities kept in the space's own block record, if it has one.
    const std::vector<dxf::Record>* spaceBlockEntities() const;
    // Entities drawn so far, nested copies included; past kLimit nothing
    // more is drawn (and the scene says so): arrays of blocks within arrays
    // multiply, and a picture is no use once it would take hours.
    static constexpr std::size_t kLimit = 2'000'000;
    std::size_t visits() const;
    void setVisits(std::size_t visits);
    // Circles, arcs, ellipses and polyline bulges are drawn in points as far
    // apart as suits a pixel of this size (drawing units), or, for 0, in
    // points five degrees apart (the same at any scale).
    void setPixelSize(double pixel);

    // The index past the followers of records[i] (VERTEX, ATTRIB ... SEQEND).
    static std::size_t pastFollowers(Records records, std::size_t i);
    // The index past the records of the top-level entity at records[i]: an
    // INSERT with its attributes, a POLYLINE with its vertices.
    static std::size_t pastEntity(Records records, std::size_t i) {
        const std::string& type = records[i].type;
        return type == "INSERT" || type == "POLYLINE" ? pastFollowers(records, i) : i + 1;
    }
    // Each top-level entity of the drawer's space in `doc`, in the drawing's
    // order: `take(records, i, end, own)` for its records [i, end) of the
    // ENTITIES section, or of the space's own block record (`own`).
    // Followers without their entity are nothing to draw and left out.
    template <class Take>
    void forEachTopLevel(const dxf::Document& doc, Take&& take) const {
        auto walk = [&](const std::vector<dxf::Record>& records, bool own) {
            for (std::size_t i = 0; i < records.size();) {
                const dxf::Record& r = records[i];
                const std::size_t end = pastEntity(records, i);
                if (r.type != "VERTEX" && r.type != "SEQEND" && (own || inSpace(r))) take(records, i, end, own);
                i = end;
            }
        };
        walk(doc.entities, false);
        if (const auto* own = spaceBlockEntities()) walk(*own, true);
    }

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// A share of `count` entities drawn on every core: draw(part, begin, end)
// draws the entities from `begin` to `end` with a drawer of the part's own,
// each counting its nested entities from `before` plus what the part drew
// before it, and answers how many the part drew, nested copies included.
// That is what drawing them in order gives while the share stays under the
// limit; a share that reaches it is drawn again whole by the first drawer
// alone, in order, so that what is left out is what comes last. Answers the number of parts
// the share was last drawn in (numbered from 0).
std::size_t drawShareInOrder(std::size_t count, std::size_t before,
                             const std::function<std::size_t(std::size_t part, std::size_t begin, std::size_t end)>& draw);

}  // namespace kestrin::render
