#include "render/Scene.h"

#include <algorithm>
#include <vector>

#include "render/EntityDrawer.h"

namespace kestrin::render {

std::string Scene::skippedSummary() const {
    if (skipped.empty()) return {};
    std::vector<std::pair<std::string, std::size_t>> list(skipped.begin(), skipped.end());
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string out = "skipped:";
    for (std::size_t k = 0; k < list.size(); ++k) {
        out += k ? ", " : " ";
        out += std::to_string(list[k].second);
        out += ' ';
        out += list[k].first;
    }
    return out;
}

namespace {

// Each top-level entity of the space, in the drawing's order: `draw` is
// given the list it lies in and its index and answers the index after it.
template <class Draw>
void eachTopLevel(const dxf::Document& doc, EntityDrawer& drawer, Draw&& draw) {
    for (std::size_t i = 0; i < doc.entities.size();) {
        if (drawer.inSpace(doc.entities[i])) i = draw(doc.entities, i);
        else ++i;
    }
    if (const auto* own = drawer.spaceBlockEntities())
        for (std::size_t i = 0; i < own->size();) i = draw(*own, i);
}

}  // namespace

Scene buildScene(const dxf::Document& doc, Space space, FontLibrary& fonts) {
    EntityDrawer drawer(doc, space, fonts);
    Scene scene;
    eachTopLevel(doc, drawer, [&](const std::vector<dxf::Record>& list, std::size_t i) {
        return drawer.draw(list, i, scene);
    });
    return scene;
}

void drawEachEntity(const dxf::Document& doc, Space space, FontLibrary& fonts, Scene& counts,
                    const std::function<void(const Artwork&)>& take) {
    EntityDrawer drawer(doc, space, fonts);
    Scene one;
    eachTopLevel(doc, drawer, [&](const std::vector<dxf::Record>& list, std::size_t i) {
        one.strokes.clear();
        one.inks.clear();
        one.fills.clear();
        one.runs.clear();
        const std::size_t next = drawer.draw(list, i, one);
        take(one);
        return next;
    });
    counts.drawn += one.drawn;
    for (const auto& [type, n] : one.skipped) counts.skipped[type] += n;
}

}  // namespace kestrin::render
