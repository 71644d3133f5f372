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

void Scene::addCounts(const Scene& other) {
    drawn += other.drawn;
    for (const auto& [type, n] : other.skipped) skipped[type] += n;
}

Scene buildScene(const dxf::Document& doc, Space space, FontLibrary& fonts) {
    EntityDrawer drawer(doc, space, fonts);
    Scene scene;
    drawer.forEachTopLevel(doc, [&](const std::vector<dxf::Record>& records, std::size_t i, std::size_t end, bool) {
        while (i < end) i = drawer.draw(records, i, scene);
    });
    return scene;
}

}  // namespace kestrin::render
