#include "render/OutlineFont.h"

#include <algorithm>
#include <cmath>

namespace kestrin::render {

namespace {

constexpr int kMaxCurveSteps = 32;

Vec2 vec(fonts::OutlinePoint p) { return {p.x, p.y}; }

// Steps for a curve whose control polygon strays `deviation` from its chord.
int stepsFor(double deviation, double tolerance) {
    if (!(deviation > tolerance)) return 1;
    return static_cast<int>(std::clamp(std::ceil(std::sqrt(deviation / tolerance)), 2.0, double(kMaxCurveSteps)));
}

double distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

Polyline flatten(const fonts::Contour& c, double tolerance) {
    Polyline ring{vec(c.start)};
    for (const fonts::OutlineSegment& s : c.segments) {
        const Vec2 p0 = ring.back(), p3 = vec(s.to);
        switch (s.kind) {
            case fonts::OutlineSegment::Kind::Line:
                break;
            case fonts::OutlineSegment::Kind::Quadratic: {
                const Vec2 c1 = vec(s.control1);
                const int n = stepsFor(distance(c1, (p0 + p3) * 0.5), tolerance);
                for (int k = 1; k < n; ++k) {
                    const double t = double(k) / n, u = 1 - t;
                    ring.push_back(p0 * (u * u) + c1 * (2 * u * t) + p3 * (t * t));
                }
                break;
            }
            case fonts::OutlineSegment::Kind::Cubic: {
                const Vec2 c1 = vec(s.control1), c2 = vec(s.control2);
                const double dev = std::max(distance(c1, p0 * (2.0 / 3) + p3 * (1.0 / 3)),
                                            distance(c2, p0 * (1.0 / 3) + p3 * (2.0 / 3)));
                const int n = stepsFor(dev, tolerance);
                for (int k = 1; k < n; ++k) {
                    const double t = double(k) / n, u = 1 - t;
                    ring.push_back(p0 * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + p3 * (t * t * t));
                }
                break;
            }
        }
        ring.push_back(p3);
    }
    return ring;
}

}  // namespace

OutlineFont::OutlineFont(std::shared_ptr<const fonts::OutlineFace> face, std::string name)
    : face_(std::move(face)), name_(std::move(name)) {
    const fonts::FaceMetrics& m = face_->metrics();
    tolerance_ = m.unitsPerEm / 1000;
    below_ = m.descender > 0 ? m.descender : m.unitsPerEm * 0.2;
    if (const Glyph* h = glyph(U'H'); h && !h->box.empty() && h->box.maxY > 0) above_ = h->box.maxY;
    else above_ = m.ascender > 0 ? m.ascender * 0.72 : m.unitsPerEm * 0.7;
}

const Glyph* OutlineFont::glyph(char32_t cp) const {
    const std::lock_guard<std::mutex> lock(cacheLock_);
    if (auto it = cache_.find(cp); it != cache_.end()) return it->second.get();
    std::unique_ptr<Glyph> g;
    if (const auto outline = face_->glyph(cp)) {
        g = std::make_unique<Glyph>();
        g->advance = {outline->advance, 0};
        for (const fonts::Contour& c : outline->contours) {
            Polyline ring = flatten(c, tolerance_);
            if (ring.size() < 3) continue;
            g->areas.push_back(std::move(ring));
        }
        measure(*g);
    }
    return cache_.emplace(cp, std::move(g)).first->second.get();
}

}  // namespace kestrin::render
