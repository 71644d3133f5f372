#include "render/AreaRaster.h"

#include <algorithm>
#include <cmath>

namespace kestrin::render {

namespace {

constexpr int kSubRows = 4;

struct Edge {
    double x0, y0, x1, y1;  // y0 < y1
    int winding;            // +1 going down, -1 going up
    double xAt(double y) const { return x0 + (x1 - x0) * (y - y0) / (y1 - y0); }
};

struct Crossing {
    double x;
    int winding;
};

}  // namespace

void rasteriseArea(const std::vector<Polyline>& rings, FillRule rule, int width, int height, const CoverRow& row) {
    if (width <= 0 || height <= 0) return;
    std::vector<Edge> edges;
    double top = INFINITY, bottom = -INFINITY, left = INFINITY, right = -INFINITY;
    for (const Polyline& ring : rings) {
        const std::size_t n = ring.size();
        if (n < 3) continue;
        for (std::size_t k = 0; k < n; ++k) {
            const Vec2 a = ring[k], b = ring[(k + 1) % n];  // closed whether or not the last point repeats the first
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) return;
            if (a.y == b.y) continue;
            edges.push_back(a.y < b.y ? Edge{a.x, a.y, b.x, b.y, 1} : Edge{b.x, b.y, a.x, a.y, -1});
            top = std::min(top, std::min(a.y, b.y));
            bottom = std::max(bottom, std::max(a.y, b.y));
            left = std::min(left, std::min(a.x, b.x));
            right = std::max(right, std::max(a.x, b.x));
        }
    }
    if (edges.empty()) return;
    // Pixel y covers y - 0.5 .. y + 0.5.
    auto pixel = [](double v, int last) { return static_cast<int>(std::clamp(std::floor(v + 0.5), -1.0, last + 1.0)); };
    const int y0 = std::max(0, pixel(top, height)), y1 = std::min(height - 1, pixel(bottom, height));
    const int x0 = std::max(0, pixel(left, width)), x1 = std::min(width - 1, pixel(right, width));
    if (y0 > y1 || x0 > x1) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    std::vector<float> cover(static_cast<std::size_t>(x1 - x0 + 1));
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t next = 0;
    const double share = 1.0 / kSubRows;
    // Adds the span a..b of one sub-row to the pixels it passes.
    auto span = [&](double a, double b) {
        a = std::max(a, x0 - 0.5);
        b = std::min(b, x1 + 0.5);
        if (!(b > a)) return;
        const int first = static_cast<int>(std::floor(a + 0.5)), last = static_cast<int>(std::floor(b + 0.5));
        for (int x = first; x <= last && x <= x1; ++x) {
            const double lo = std::max(a, x - 0.5), hi = std::min(b, x + 0.5);
            if (hi > lo) cover[static_cast<std::size_t>(x - x0)] += static_cast<float>((hi - lo) * share);
        }
    };
    for (int y = y0; y <= y1; ++y) {
        std::fill(cover.begin(), cover.end(), 0.0f);
        bool any = false;
        for (int s = 0; s < kSubRows; ++s) {
            const double sy = y - 0.5 + (s + 0.5) * share;
            while (next < edges.size() && edges[next].y0 <= sy) active.push_back(&edges[next++]);
            active.erase(std::remove_if(active.begin(), active.end(), [&](const Edge* e) { return e->y1 <= sy; }),
                         active.end());
            crossings.clear();
            for (const Edge* e : active)
                if (e->y0 <= sy && sy < e->y1) crossings.push_back({e->xAt(sy), e->winding});
            if (crossings.size() < 2) continue;
            std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
            int winding = 0;
            for (std::size_t k = 0; k + 1 < crossings.size(); ++k) {
                winding += rule == FillRule::EvenOdd ? 1 : crossings[k].winding;
                const bool inside = rule == FillRule::EvenOdd ? (winding & 1) != 0 : winding != 0;
                if (inside) {
                    span(crossings[k].x, crossings[k + 1].x);
                    any = true;
                }
            }
        }
        if (any) row(y, x0, cover);
    }
}

}  // namespace kestrin::render
