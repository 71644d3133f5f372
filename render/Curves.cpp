#include "render/Curves.h"

#include "render/Arcs.h"

#include <algorithm>
#include <cmath>

namespace kestrin::render {

namespace {

constexpr int kSegmentsPerSpan = 12;
constexpr std::size_t kMaxControls = 100000;
constexpr int kMaxDegree = 10;
// Interpolation solves a dense system: past this many fit points the curve
// goes straight from one to the next.
constexpr std::size_t kMaxInterpolated = 400;

// Uniform clamped knots for `n` control points.
std::vector<double> clampedKnots(std::size_t n, int p) {
    std::vector<double> k;
    const std::size_t inner = n - static_cast<std::size_t>(p);  // spans
    for (int i = 0; i <= p; ++i) k.push_back(0);
    for (std::size_t i = 1; i < inner; ++i) k.push_back(static_cast<double>(i) / static_cast<double>(inner));
    for (int i = 0; i <= p; ++i) k.push_back(1);
    return k;
}

// de Boor in homogeneous coordinates: the point at `t` in span `span`
// (knots[span] <= t < knots[span + 1]).
Vec2 deBoor(const std::vector<double>& knots, const std::vector<Vec2>& ctl, const std::vector<double>& w, int p,
            std::size_t span, double t) {
    struct H {
        double x, y, w;
    };
    H d[kMaxDegree + 1];
    for (int j = 0; j <= p; ++j) {
        const std::size_t i = span - static_cast<std::size_t>(p) + static_cast<std::size_t>(j);
        const double wi = w.empty() ? 1 : w[i];
        d[static_cast<std::size_t>(j)] = {ctl[i].x * wi, ctl[i].y * wi, wi};
    }
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            const std::size_t i = span - static_cast<std::size_t>(p) + static_cast<std::size_t>(j);
            const double den = knots[i + static_cast<std::size_t>(p - r) + 1] - knots[i];
            const double a = den == 0 ? 0 : (t - knots[i]) / den;
            H& cur = d[static_cast<std::size_t>(j)];
            const H& prev = d[static_cast<std::size_t>(j) - 1];
            cur = {(1 - a) * prev.x + a * cur.x, (1 - a) * prev.y + a * cur.y, (1 - a) * prev.w + a * cur.w};
        }
    const H& h = d[static_cast<std::size_t>(p)];
    return h.w == 0 ? Vec2{h.x, h.y} : Vec2{h.x / h.w, h.y / h.w};
}

// The point at `t` of a curve over knots[p] .. knots[n].
Vec2 pointAt(const std::vector<double>& knots, const std::vector<Vec2>& ctl, const std::vector<double>& w, int p, double t) {
    const std::size_t n = ctl.size();
    std::size_t span = static_cast<std::size_t>(p);
    while (span + 1 < n && knots[span + 1] <= t) ++span;
    return deBoor(knots, ctl, w, p, span, t);
}

Polyline fromControls(const Spline& s) {
    const int p = s.degree;
    const std::vector<double> knots = s.knots.size() == s.controls.size() + static_cast<std::size_t>(p) + 1
                                          ? s.knots
                                          : clampedKnots(s.controls.size(), p);
    const std::vector<double>& w = s.weights.size() == s.controls.size() ? s.weights : std::vector<double>{};
    Polyline out;
    // The curve runs over knots[p] .. knots[n]; each non-empty span in steps.
    const std::size_t n = s.controls.size();
    for (std::size_t span = static_cast<std::size_t>(p); span < n; ++span) {
        const double a = knots[span], b = knots[span + 1];
        if (!(b > a)) continue;
        for (int k = out.empty() ? 0 : 1; k <= kSegmentsPerSpan; ++k) {
            const double t = a + (b - a) * k / kSegmentsPerSpan;
            // The span's last point is evaluated in the span itself (t = b).
            out.push_back(deBoor(knots, s.controls, w, p, span, t));
        }
    }
    return out;
}

// Solves the interpolation's system (one row a fit point) by Gaussian
// elimination with partial pivoting.
bool solve(std::vector<std::vector<double>>& a, std::vector<Vec2>& rhs) {
    const std::size_t n = rhs.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
        if (std::abs(a[pivot][c]) < 1e-12) return false;
        std::swap(a[c], a[pivot]);
        std::swap(rhs[c], rhs[pivot]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            if (f == 0) continue;
            for (std::size_t k = c; k < n; ++k) a[r][k] -= f * a[c][k];
            rhs[r] = rhs[r] - rhs[c] * f;
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        Vec2 v = rhs[c];
        for (std::size_t k = c + 1; k < n; ++k) v = v - rhs[k] * a[c][k];
        rhs[c] = v * (1 / a[c][c]);
    }
    return true;
}

// The basis functions of degree p at t (Cox-de Boor), one per control point.
std::vector<double> basis(const std::vector<double>& knots, std::size_t n, int p, double t) {
    std::vector<double> N(knots.size() - 1, 0.0);
    for (std::size_t i = 0; i + 1 < knots.size(); ++i) {
        const bool last = t >= knots.back() && knots[i] < knots[i + 1] && knots[i + 1] == knots.back();
        N[i] = (t >= knots[i] && t < knots[i + 1]) || last ? 1 : 0;
    }
    for (int d = 1; d <= p; ++d)
        for (std::size_t i = 0; i + static_cast<std::size_t>(d) + 1 < knots.size(); ++i) {
            double v = 0;
            const double l = knots[i + static_cast<std::size_t>(d)] - knots[i];
            const double r = knots[i + static_cast<std::size_t>(d) + 1] - knots[i + 1];
            if (l > 0) v += (t - knots[i]) / l * N[i];
            if (r > 0) v += (knots[i + static_cast<std::size_t>(d) + 1] - t) / r * N[i + 1];
            N[i] = v;
        }
    N.resize(n);
    return N;
}

// Global interpolation: a B-spline of degree up to 3 through every fit
// point, parameters by chord length, knots averaged.
Polyline fromFits(const Spline& s) {
    std::vector<Vec2> q;
    for (const Vec2& f : s.fits)
        if (q.empty() || std::hypot(f.x - q.back().x, f.y - q.back().y) > 1e-12) q.push_back(f);
    if (q.size() < 2 || q.size() > kMaxInterpolated) return q;
    const std::size_t n = q.size();
    const int p = static_cast<int>(std::min<std::size_t>(3, n - 1));
    std::vector<double> u(n, 0);
    double total = 0;
    for (std::size_t k = 1; k < n; ++k) total += std::hypot(q[k].x - q[k - 1].x, q[k].y - q[k - 1].y);
    for (std::size_t k = 1; k < n; ++k) u[k] = u[k - 1] + std::hypot(q[k].x - q[k - 1].x, q[k].y - q[k - 1].y) / total;
    u[n - 1] = 1;
    std::vector<double> knots(static_cast<std::size_t>(p) + 1, 0.0);
    for (std::size_t j = 1; j + static_cast<std::size_t>(p) < n; ++j) {
        double sum = 0;
        for (std::size_t i = j; i < j + static_cast<std::size_t>(p); ++i) sum += u[i];
        knots.push_back(sum / p);
    }
    knots.insert(knots.end(), static_cast<std::size_t>(p) + 1, 1.0);
    std::vector<std::vector<double>> a(n);
    for (std::size_t k = 0; k < n; ++k) a[k] = basis(knots, n, p, u[k]);
    std::vector<Vec2> controls = q;
    if (!solve(a, controls)) return q;  // degenerate: through the points straight
    // Sampled between the fit points' parameters, so that it passes each.
    Polyline out{q.front()};
    for (std::size_t k = 1; k < n; ++k) {
        for (int j = 1; j < kSegmentsPerSpan; ++j)
            out.push_back(pointAt(knots, controls, {}, p, u[k - 1] + (u[k] - u[k - 1]) * j / kSegmentsPerSpan));
        out.push_back(q[k]);
    }
    return out;
}

}  // namespace

double ellipseParameter(double ratio, double angle) {
    if (ratio == 0) return angle;
    return std::atan2(std::sin(angle) / ratio, std::cos(angle));
}

Polyline ellipsePoints(const Ellipse& e, double pixel) {
    double sweep = e.end - e.start;
    sweep = std::abs(sweep) <= 1e-12 ? 2 * kPi : positiveSweep(sweep);
    const Vec2 minor = e.mirrored ? Vec2{e.major.y * e.ratio, -e.major.x * e.ratio}
                                  : Vec2{-e.major.y * e.ratio, e.major.x * e.ratio};
    const double wanted = std::ceil(sweep / arcStep(std::hypot(e.major.x, e.major.y), pixel));
    const int steps = wanted < 100000 ? std::max(4, static_cast<int>(wanted)) : 100000;
    Polyline out;
    out.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double t = e.start + sweep * i / steps;
        out.push_back(e.center + e.major * std::cos(t) + minor * std::sin(t));
    }
    return out;
}

Polyline splinePoints(const Spline& s) {
    if (s.degree >= 1 && s.degree <= kMaxDegree && s.controls.size() > static_cast<std::size_t>(s.degree) &&
        s.controls.size() <= kMaxControls) {
        Polyline out = fromControls(s);
        if (s.closed && !out.empty() && (out.front().x != out.back().x || out.front().y != out.back().y))
            out.push_back(out.front());
        return out;
    }
    if (s.fits.size() > kMaxControls) return {};
    Polyline out = fromFits(s);
    if (s.closed && out.size() > 2) out.push_back(out.front());
    return out;
}

}  // namespace kestrin::render
