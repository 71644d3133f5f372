#include "render/Arcs.h"

#include <algorithm>
#include <cmath>

namespace kestrin::render {

double positiveSweep(double sweep, double turn) {
    if (!std::isfinite(sweep)) return turn;
    sweep = std::fmod(sweep, turn);
    return sweep <= 0 ? sweep + turn : sweep;
}

double arcStep(double radius, double pixel) {
    if (!(pixel > 0)) return kArcStep;
    constexpr double kStray = 0.25, kFinest = kPi / 1800, kCoarsest = kPi / 4;
    const double inPixels = std::abs(radius) / pixel;
    if (!(inPixels > kStray)) return kCoarsest;  // under a pixel across, or not a number
    return std::clamp(2 * std::acos(1 - kStray / inPixels), kFinest, kCoarsest);
}

void arcPoints(Polyline& out, Vec2 c, double r, double a0, double sweep, double step) {
    const double wanted = std::ceil(std::abs(sweep) / step);
    const int steps = wanted < 100000 ? std::max(2, static_cast<int>(wanted)) : 100000;  // NaN too: the most
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + sweep * i / steps;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
}

std::optional<Arc> bulgeArc(Vec2 from, Vec2 to, double bulge) {
    const double chord = std::hypot(to.x - from.x, to.y - from.y);
    if (bulge == 0 || chord == 0 || !std::isfinite(bulge)) return std::nullopt;
    const double sweep = 4 * std::atan(bulge);
    const double r = chord / (2 * std::sin(std::abs(sweep) / 2));
    const double toCenter = r * std::cos(sweep / 2);  // signed with the sweep
    const Vec2 mid = (from + to) * 0.5;
    const Vec2 left{-(to.y - from.y) / chord, (to.x - from.x) / chord};
    const Vec2 c = mid + left * (sweep > 0 ? toCenter : -toCenter);
    return Arc{c, r, std::atan2(from.y - c.y, from.x - c.x), sweep};
}

void bulgeTo(Polyline& out, Vec2 to, double bulge, double pixel) {
    const auto arc = bulgeArc(out.back(), to, bulge);
    if (!arc) {
        out.push_back(to);
        return;
    }
    Polyline points;
    arcPoints(points, arc->center, arc->radius, arc->start, arc->sweep, arcStep(arc->radius, pixel));
    out.insert(out.end(), points.begin() + 1, points.end() - 1);
    out.push_back(to);
}

}  // namespace kestrin::render
