#include "gui/DrawingView.h"

#include <QTimer>

#include <QLineF>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "gui/DrawingModel.h"
#include "platform/process/Parallel.h"
#include "render/AreaRaster.h"

namespace kestrin::gui {
namespace {

constexpr double kMinScale = 1e-9, kMaxScale = 1e9;
constexpr double kWheelStep = 1.25;  // zoom of one wheel notch
// Beyond this many pixels off the device a segment is clipped before it is
// handed to the painter, whose fixed-point coordinates would overflow.
constexpr double kFar = 1e5;

// Liang-Barsky: the part of a-b inside `r`; false when none.
bool clip(QPointF& a, QPointF& b, const QRectF& r) {
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y())) return false;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF from = a;
    a = from + QPointF(dx * t0, dy * t0);
    b = from + QPointF(dx * t1, dy * t1);
    return true;
}

bool farOff(const std::vector<render::Polyline>& rings) {
    for (const render::Polyline& ring : rings)
        for (const render::Vec2& p : ring)
            if (std::abs(p.x) > kFar || std::abs(p.y) > kFar) return true;
    return false;
}

// Rings clipped to the rectangle, each on its own, which keeps the areas
// inside as they were.
std::vector<render::Polyline> clipRings(const std::vector<render::Polyline>& rings, const QRectF& r) {
    std::vector<render::Polyline> out;
    for (render::Polyline ring : rings) {
        // Sutherland-Hodgman against each side of the rectangle.
        for (int side = 0; side < 4 && !ring.empty(); ++side) {
            auto inside = [&](render::Vec2 p) {
                switch (side) {
                    case 0: return p.x >= r.left();
                    case 1: return p.x <= r.right();
                    case 2: return p.y >= r.top();
                    default: return p.y <= r.bottom();
                }
            };
            auto cut = [&](render::Vec2 a, render::Vec2 b) {
                const double t = side < 2 ? ((side == 0 ? r.left() : r.right()) - a.x) / (b.x - a.x)
                                          : ((side == 2 ? r.top() : r.bottom()) - a.y) / (b.y - a.y);
                return a + (b - a) * t;
            };
            render::Polyline kept;
            for (std::size_t k = 0; k < ring.size(); ++k) {
                const render::Vec2 a = ring[k], b = ring[(k + 1) % ring.size()];
                if (inside(a)) {
                    kept.push_back(a);
                    if (!inside(b)) kept.push_back(cut(a, b));
                } else if (inside(b)) {
                    kept.push_back(cut(a, b));
                }
            }
            ring = std::move(kept);
        }
        if (ring.size() >= 3) out.push_back(std::move(ring));
    }
    return out;
}

// Drawing units to device pixels: x' = ox + s x, y' = oy - s y.
struct Placing {
    double s, ox, oy;
    explicit Placing(const ViewMapping& m)
        : s(m.pixelsPerUnit), ox(m.width / 2.0 - m.center.x * m.pixelsPerUnit), oy(m.height / 2.0 + m.center.y * m.pixelsPerUnit) {}
    render::Vec2 pixel(render::Vec2 p) const { return {ox + p.x * s, oy - p.y * s}; }
    QPointF operator()(render::Vec2 p) const {
        const render::Vec2 q = pixel(p);
        return {q.x, q.y};
    }
};

// Hands the entities drawn whole to `sink` in device pixels: first the
// areas, area(rings, rule, colour), then the strokes, colour(c) before
// line(a, b) and dot(a). Points closer than half a pixel to the last one
// drawn add nothing; a stroke that stays within half a pixel is a dot.
template <class Sink>
void traceWhole(const render::ViewContent& content, const Placing& at, Sink& sink) {
    std::vector<render::Polyline> rings;
    for (const render::Artwork* art : content.whole)
        for (const render::Fill& fill : art->fills) {
            rings = fill.rings;
            for (render::Polyline& r : rings)
                for (render::Vec2& p : r) p = at.pixel(p);
            sink.area(rings, fill.rule, fill.color);
        }
    for (const render::Artwork* art : content.whole)
        render::forEachStroke(*art, [&](const render::Polyline& stroke, render::Color color) {
            sink.color(color);
            QPointF last = at(stroke[0]);
            const std::size_t n = stroke.size();
            bool drew = false;
            for (std::size_t k = 1; k < n; ++k) {
                const QPointF q = at(stroke[k]);
                if (std::abs(q.x() - last.x()) < 0.5 && std::abs(q.y() - last.y()) < 0.5) continue;
                sink.line(last, q);
                last = q;
                drew = true;
            }
            if (!drew) sink.dot(last);
        });
}

// Hands the small entities to `sink` (drawn after those drawn whole): the
// stand-ins, the streaks and the patches. One whose box the sink says lies
// off its rows (reachesRows(top, bottom), y down) is passed by.
template <class Sink>
void traceSmall(const render::ViewContent& content, const Placing& at, Sink& sink) {
    auto reaches = [&](const render::Box& box) {
        return sink.reachesRows(at.pixel({box.minX, box.maxY}).y, at.pixel({box.minX, box.minY}).y);
    };
    for (const render::ViewContent::StandIn& stand : content.standIns) {
        if (!reaches(*stand.box)) continue;
        sink.color(stand.color);
        if (stand.kind == render::ViewContent::StandIn::Kind::Dot) sink.dot(at(stand.a()));
        else sink.line(at(stand.a()), at(stand.b()));
    }
    // A streak's cells along its box's middle, each a pixel or less.
    for (const render::ViewContent::Streak& streak : content.streaks) {
        if (!reaches(*streak.box)) continue;
        sink.color(streak.color);
        const render::Box& box = *streak.box;
        const double along = (streak.upright ? box.maxY - box.minY : box.maxX - box.minX) * at.s;
        streak.forEachCell(along, [&](render::Vec2 from, render::Vec2 to) { sink.dot(at((from + to) * 0.5)); });
    }
    // A patch's cells, in the grid whose cells are a pixel or less.
    for (const render::ViewContent::Patch& patch : content.patches) {
        if (!reaches(*patch.box)) continue;
        sink.color(patch.color);
        const render::Box& box = *patch.box;
        const render::Vec2 corner = at.pixel({box.minX, box.minY});  // bottom left
        const double left = corner.x, bottom = corner.y;
        const double w = (box.maxX - box.minX) * at.s, h = (box.maxY - box.minY) * at.s;
        const double most = std::max(w, h);
        const int n = most <= 4 ? 4 : most <= 8 ? 8 : 16;
        const double cw = w / n, ch = h / n;
        const render::Coverage& c = *patch.cells;
        for (int row = 0; row < n; ++row) {
            unsigned bits = n == 16 ? c.rows16[row] : n == 8 ? c.rows8[row] : (c.cells4 >> (4 * row)) & 0xFu;
            const double y = bottom - (row + 0.5) * ch;
            for (int col = 0; bits != 0; ++col, bits >>= 1)
                if (bits & 1) sink.dot(QPointF(left + (col + 0.5) * cw, y));
        }
    }
}

QColor qColor(render::Color c) { return QColor(c.r, c.g, c.b); }

// Through QPainter, in batches.
class PainterSink {
public:
    PainterSink(QPainter& painter, int width, int height)
        : painter_(painter), device_(-2.0, -2.0, width + 4.0, height + 4.0) {
        lines_.reserve(kSize);
        dots_.reserve(kSize);
    }
    ~PainterSink() { flush(); }
    bool reachesRows(double, double) const { return true; }
    void line(QPointF a, QPointF b) {
        // Far off the device: clipped first, the painter's fixed-point coordinates would overflow.
        if (std::abs(a.x()) > kFar || std::abs(a.y()) > kFar || std::abs(b.x()) > kFar || std::abs(b.y()) > kFar) {
            if (!clip(a, b, device_)) return;
        }
        lines_.emplace_back(a, b);
        if (lines_.size() == kSize) flush();
    }
    void dot(QPointF p) {
        if (!device_.contains(p)) return;
        dots_.push_back(p);
        if (dots_.size() == kSize) flush();
    }
    void flush() {
        if (!lines_.empty()) painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
        if (!dots_.empty()) painter_.drawPoints(dots_.data(), static_cast<int>(dots_.size()));
        lines_.clear();
        dots_.clear();
    }
    void color(render::Color c) {
        if (c == color_) return;
        flush();
        color_ = c;
        QPen pen(qColor(c));
        pen.setWidth(0);  // one pixel at any scale
        painter_.setPen(pen);
    }
    void area(const std::vector<render::Polyline>& rings, render::FillRule rule, render::Color c) {
        flush();
        QPainterPath path;
        path.setFillRule(rule == render::FillRule::EvenOdd ? Qt::OddEvenFill : Qt::WindingFill);
        // Far off the device: clipped first, the painter's fixed-point coordinates would overflow.
        const bool far = farOff(rings);
        const std::vector<render::Polyline> clipped = far ? clipRings(rings, device_) : std::vector<render::Polyline>{};
        for (const render::Polyline& ring : far ? clipped : rings) {
            path.moveTo(ring[0].x, ring[0].y);
            for (std::size_t k = 1; k < ring.size(); ++k) path.lineTo(ring[k].x, ring[k].y);
            path.closeSubpath();
        }
        painter_.fillPath(path, qColor(c));
    }

private:
    static constexpr std::size_t kSize = 8192;
    QPainter& painter_;
    QRectF device_;
    std::vector<QLineF> lines_;
    std::vector<QPointF> dots_;
    render::Color color_{1, 2, 3};  // none set yet
};

// Pixel by pixel into a 32-bit picture, into its rows from `top` to before
// `bottom` alone (each the same pixels as the whole picture has there): the
// pixels a line passes from the one holding its start to the one holding
// its end (Bresenham).
class PixelSink {
public:
    PixelSink(QImage& image, int top, int bottom)
        : bits_(reinterpret_cast<QRgb*>(image.bits())),
          stride_(image.bytesPerLine() / 4),
          width_(image.width()),
          height_(image.height()),
          top_(top),
          bottom_(bottom),
          inside_(0, 0, image.width() - 1e-6, image.height() - 1e-6) {}
    // Whether pixels from row `top` to row `bottom` may be among the sink's.
    bool reachesRows(double top, double bottom) const { return bottom >= top_ - 1 && top < bottom_ + 1; }
    void color(render::Color c) { ink_ = qRgb(c.r, c.g, c.b); }
    // The pixels the area covers at least half.
    void area(const std::vector<render::Polyline>& rings, render::FillRule rule, render::Color c) {
        const QRgb fill = qRgb(c.r, c.g, c.b);
        render::rasteriseArea(rings, rule, width_, height_, [&](int y, int x0, const std::vector<float>& cover) {
            if (y < top_ || y >= bottom_) return;
            QRgb* row = bits_ + static_cast<std::ptrdiff_t>(y) * stride_ + x0;
            for (std::size_t k = 0; k < cover.size(); ++k)
                if (cover[k] >= 0.5f) row[k] = fill;
        });
    }
    void dot(QPointF p) {
        if (p.x() >= 0 && p.y() >= top_ && p.x() < width_ && p.y() < bottom_)
            bits_[static_cast<std::ptrdiff_t>(p.y()) * stride_ + static_cast<std::ptrdiff_t>(p.x())] = ink_;
    }
    void line(QPointF a, QPointF b) {
        if (!(a.x() >= 0 && a.y() >= 0 && a.x() < width_ && a.y() < height_ && b.x() >= 0 && b.y() >= 0 &&
              b.x() < width_ && b.y() < height_)) {
            if (!clip(a, b, inside_)) return;
        }
        int x0 = std::clamp(static_cast<int>(a.x()), 0, width_ - 1), y0 = std::clamp(static_cast<int>(a.y()), 0, height_ - 1);
        const int x1 = std::clamp(static_cast<int>(b.x()), 0, width_ - 1), y1 = std::clamp(static_cast<int>(b.y()), 0, height_ - 1);
        if (std::max(y0, y1) < top_ || std::min(y0, y1) >= bottom_) return;  // off the sink's rows
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            if (y0 >= top_ && y0 < bottom_) bits_[static_cast<std::ptrdiff_t>(y0) * stride_ + x0] = ink_;
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }

private:
    QRgb* bits_;
    std::ptrdiff_t stride_;
    int width_, height_;
    int top_, bottom_;
    QRgb ink_ = qRgb(0, 0, 0);
    QRectF inside_;
};

bool directFormat(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

render::ViewWindow ViewMapping::window() const {
    const render::Vec2 a = toWorld(QPointF(0, height)), b = toWorld(QPointF(width, 0));
    return {{a.x, a.y, b.x, b.y}, pixelsPerUnit};
}

ViewMapping ViewMapping::part(const QRect& rect) const {
    ViewMapping m = *this;
    m.width = rect.width();
    m.height = rect.height();
    m.center = toWorld(QPointF(rect.x() + rect.width() / 2.0, rect.y() + rect.height() / 2.0));
    return m;
}

QRect ViewMapping::pixelsOf(const render::Box& box, int margin) const {
    const QPointF a = toPixel({box.minX, box.maxY}), b = toPixel({box.maxX, box.minY});
    const QRect covered(QPoint(static_cast<int>(std::floor(a.x())) - margin, static_cast<int>(std::floor(a.y())) - margin),
                        QPoint(static_cast<int>(std::ceil(b.x())) + margin, static_cast<int>(std::ceil(b.y())) + margin));
    return covered & QRect(0, 0, width, height);
}

ViewMapping ViewMapping::fit(const render::Box& extents, int width, int height) {
    ViewMapping m;
    m.width = width;
    m.height = height;
    if (extents.empty()) return m;
    m.center = extents.center();
    const double w = extents.maxX - extents.minX, h = extents.maxY - extents.minY;
    const double sx = w > 0 ? width * 0.95 / w : kMaxScale, sy = h > 0 ? height * 0.95 / h : kMaxScale;
    const double s = std::min(sx, sy);
    m.pixelsPerUnit = s < kMaxScale && s > 0 ? std::max(s, kMinScale) : 1;
    return m;
}

PaintResult paintScene(QPaintDevice& device, const render::ViewScene& scene, const ViewMapping& mapping,
                       const PaintOptions& options, QImage* kept) {
    if (kept != nullptr) *kept = QImage();
    PaintResult result;
    const render::ViewContent content = scene.query(mapping.window(), options.how);
    for (const render::Artwork* art : content.whole) {
        result.strokes += render::strokeCount(*art);
        result.areas += art->fills.size();
    }
    result.standIns = content.standIns.size();
    result.patches = content.patches.size() + content.streaks.size();
    result.antialiased = result.strokes + result.areas + result.standIns + result.patches <= options.antialiasStrokes;

    if (result.antialiased) {
        QPainter painter(&device);
        painter.fillRect(QRect(0, 0, device.width(), device.height()), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing, true);
        PainterSink sink(painter, mapping.width, mapping.height);
        const Placing at(mapping);
        traceWhole(content, at, sink);
        traceSmall(content, at, sink);
        return result;
    }
    QImage* image = device.devType() == QInternal::Image ? static_cast<QImage*>(&device) : nullptr;
    QImage own;
    if (image == nullptr || !directFormat(image->format())) {
        own = QImage(device.width(), device.height(), QImage::Format_RGB32);
        image = &own;
    }
    image->fill(Qt::white);
    // The entities drawn whole, then the small ones in bands of rows painted
    // at once, each band passing by what lies off its rows.
    const Placing at(mapping);
    {
        PixelSink sink(*image, 0, image->height());
        traceWhole(content, at, sink);
    }
    const int height = image->height();
    constexpr std::size_t kBandsFrom = 2048;  // small entities: fewer are not worth a thread
    const int atOnce = result.standIns + result.patches < kBandsFrom ? 1 : static_cast<int>(process::cores());
    const int bands = std::clamp(options.bands > 0 ? options.bands : atOnce, 1, std::max(1, height / 64));
    process::inParallel(static_cast<std::size_t>(bands), 1, [&](std::size_t first, std::size_t end) {
        for (std::size_t band = first; band < end; ++band) {
            PixelSink sink(*image, static_cast<int>(height * band / bands), static_cast<int>(height * (band + 1) / bands));
            traceSmall(content, at, sink);
        }
    });
    if (image == &own) {
        QPainter(&device).drawImage(0, 0, own);
        if (kept != nullptr) *kept = std::move(own);
    }
    return result;
}

DrawingView::DrawingView(DrawingModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::WheelFocus);
    setMouseTracking(true);  // the status bar shows the cursor's coordinates
    mapping_.width = width();
    mapping_.height = height();
    changed_ = model_.changed.connectScoped([this] { changed(); });
    // A drawing is drawn into the scene a part at a time between the
    // person's input, and painted as it grows: the view stays responsive.
    buildTimer_ = new QTimer(this);
    buildTimer_->setSingleShot(true);
    buildTimer_->setInterval(0);
    connect(buildTimer_, &QTimer::timeout, this, &DrawingView::buildOn);
}

// How often what was drawn is painted while it grows.
constexpr qint64 kGrowingRepaintMs = 250;

// Draws on for about `budget`, says how far the drawing is, and keeps
// drawing between input events while some is left.
bool DrawingView::buildSlice(std::chrono::steady_clock::duration budget) {
    const bool growing = model_.buildProgress().has_value();
    const bool more = model_.buildSome(budget);
    if (more) {
        Q_EMIT building(model_.buildProgress().value_or(0));
        if (!buildTimer_->isActive()) buildTimer_->start();
    } else {
        buildTimer_->stop();
        if (growing) Q_EMIT building(1.0);
    }
    return more;
}

const render::ViewScene& DrawingView::sceneNow() {
    buildSlice(slice_);
    return model_.partialScene();
}

std::optional<double> DrawingView::buildProgress() const { return model_.buildProgress(); }

void DrawingView::finishDrawing() {
    buildSlice(std::chrono::hours(1));
    refit_ = following_ && fitted_;
    update();
}

void DrawingView::buildOn() {
    const bool more = buildSlice(slice_);
    if (!more || !sincePaint_.isValid() || sincePaint_.elapsed() >= kGrowingRepaintMs) {
        refit_ = following_ && fitted_;
        update();
    }
}

DrawingView::~DrawingView() = default;

void DrawingView::zoomExtents() {
    following_ = true;
    mapping_ = ViewMapping::fit(sceneNow().extents(), width(), height());
    update();
}

void DrawingView::zoomBy(double factor) {
    following_ = refit_ = false;
    mapping_.pixelsPerUnit = std::clamp(mapping_.pixelsPerUnit * factor, kMinScale, kMaxScale);
    update();
}

void DrawingView::panBy(double acrossWidths, double upHeights) {
    following_ = refit_ = false;
    scrollBy(QPoint(qRound(acrossWidths * mapping_.width), -qRound(upHeights * mapping_.height)));
}

// The drawing moved by whole pixels: what was painted moves with it and only
// the strip that comes into view is painted (the feedback, which stays with
// the cursor, is painted anew with the rest).
void DrawingView::scrollBy(QPoint pixels) {
    if (pixels.isNull()) return;
    mapping_.center.x -= pixels.x() / mapping_.pixelsPerUnit;
    mapping_.center.y += pixels.y() / mapping_.pixelsPerUnit;
    if (feedback_.highlight || feedback_.bandFrom || feedback_.snap) update();
    else scroll(pixels.x(), pixels.y());
}

QPointF DrawingView::worldToPixel(double x, double y) const { return mapping_.toPixel({x, y}); }

QPointF DrawingView::pixelToWorld(const QPointF& pixel) const {
    const render::Vec2 w = mapping_.toWorld(pixel);
    return {w.x, w.y};
}

// One entity changed (a keystroke in the palette's line): its old and new
// boxes are painted again, unless the view follows the drawing's extents and
// the entity grew out of the window; anything else paints everything.
void DrawingView::changed() {
    const auto& area = model_.changedArea();
    if (area && fitted_ && !refit_) {
        if (area->empty()) return;  // it drew nothing before or after
        const render::ViewWindow shown = mapping_.window();
        const bool inside = area->minX >= shown.world.minX && area->maxX <= shown.world.maxX &&
                            area->minY >= shown.world.minY && area->maxY <= shown.world.maxY;
        if (!following_ || inside) {
            update(mapping_.pixelsOf(*area, 2));
            return;
        }
    }
    refit_ = following_ && fitted_;  // at the next paint, so that many changes fit once
    update();
}

void DrawingView::paintEvent(QPaintEvent* event) {
    model_.setShown(mapping_.window().world);  // drawn first when the drawing is drawn again
    const render::ViewScene& scene = sceneNow();
    if (refit_) {
        refit_ = false;
        mapping_ = ViewMapping::fit(scene.extents(), width(), height());
    }
    const QRect dirty = event->rect() & rect();
    if (dirty == rect() || dirty.isEmpty()) {
        if (!frame_.image.isNull() && frame_.revision == scene.revision() && frame_.mapping == mapping_ &&
            frame_.image.size() == size()) {
            QPainter(this).drawImage(0, 0, frame_.image);
        } else {
            paintScene(*this, scene, mapping_, {}, &frame_.image);
            frame_.revision = scene.revision();
            frame_.mapping = mapping_;
        }
    } else {
        // Only the part asked for, as the whole would paint it.
        QImage part(dirty.size(), QImage::Format_RGB32);
        paintScene(part, scene, mapping_.part(dirty));
        QPainter(this).drawImage(dirty.topLeft(), part);
    }
    paintFeedback();
    sincePaint_.start();
}

void DrawingView::setFeedback(ViewFeedback feedback) {
    const QRect before = feedbackPixels(feedback_);
    feedback_ = std::move(feedback);
    const QRect after = feedbackPixels(feedback_);
    if (!before.isEmpty()) update(before);
    if (!after.isEmpty()) update(after);
}

namespace {
render::Vec2 placed(const std::array<double, 6>& t, render::Vec2 p) {
    return {t[0] * p.x + t[1] * p.y + t[2], t[3] * p.x + t[4] * p.y + t[5]};
}
}  // namespace

QRect DrawingView::feedbackPixels(const ViewFeedback& f) const {
    render::Box box;
    if (f.ghost)
        for (std::uint64_t h : f.ghost->handles)
            if (const render::Box b = model_.partialScene().boxOf(h); !b.empty())
                for (const render::Vec2 corner : {render::Vec2{b.minX, b.minY}, render::Vec2{b.maxX, b.minY},
                                                  render::Vec2{b.minX, b.maxY}, render::Vec2{b.maxX, b.maxY}})
                    box.add(placed(f.ghost->transform, corner));
    if (f.highlight) {
        for (const auto& [x, y] : f.highlight->points) box.add(render::Vec2{x, y});
        if (f.highlight->kind == db::Outline::Kind::Arc) {
            const auto [cx, cy] = f.highlight->points.front();
            box.add(render::Vec2{cx - f.highlight->radius, cy - f.highlight->radius});
            box.add(render::Vec2{cx + f.highlight->radius, cy + f.highlight->radius});
        }
    }
    if (f.bandFrom && f.cursor) {
        box.add(render::Vec2{f.bandFrom->x(), f.bandFrom->y()});
        box.add(render::Vec2{f.cursor->x(), f.cursor->y()});
    }
    if (f.snap) box.add(render::Vec2{f.snap->x, f.snap->y});
    return box.empty() ? QRect() : mapping_.pixelsOf(box, 10);  // the marker's size and the pens' width
}

// The snap marker's shape tells its kind, as CAD programs draw them: a
// square for an endpoint, a triangle for a midpoint, a circle for a centre,
// a cross for an intersection, a diamond for a quadrant, and so on.
void DrawingView::paintFeedback() {
    if (!feedback_.highlight && !feedback_.ghost && !feedback_.bandFrom && !feedback_.snap) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    auto pixel = [this](double x, double y) { return mapping_.toPixel({x, y}); };
    if (const auto& g = feedback_.ghost) {
        painter.setPen(QPen(QColor(0, 120, 215), 1));
        for (std::uint64_t h : g->handles) {
            const std::optional<std::vector<render::Polyline>> strokes = model_.partialScene().strokesOf(h);
            if (!strokes) continue;
            for (const render::Polyline& stroke : *strokes) {
                QPolygonF line;
                for (const render::Vec2 p : stroke) {
                    const render::Vec2 q = placed(g->transform, p);
                    line << pixel(q.x, q.y);
                }
                if (line.size() == 1) painter.drawPoint(line.front());
                else painter.drawPolyline(line);
            }
        }
    }
    if (const auto& o = feedback_.highlight) {
        QPen pen(QColor(0, 120, 215), 2, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (o->kind == db::Outline::Kind::Arc) {
            const auto [cx, cy] = o->points.front();
            const double r = o->radius * mapping_.pixelsPerUnit;
            const QPointF c = pixel(cx, cy);
            double span = std::fmod(o->end - o->start, 2 * std::numbers::pi);
            if (span <= 0) span += 2 * std::numbers::pi;
            painter.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), static_cast<int>(o->start * 180 / std::numbers::pi * 16),
                            static_cast<int>(span * 180 / std::numbers::pi * 16));
        } else if (o->points.size() == 1) {
            painter.drawEllipse(pixel(o->points[0].first, o->points[0].second), 5, 5);
        } else {
            QPolygonF line;
            for (const auto& [x, y] : o->points) line << pixel(x, y);
            if (o->closed || o->kind == db::Outline::Kind::Quad) painter.drawPolygon(line);
            else painter.drawPolyline(line);
        }
    }
    if (feedback_.bandFrom && feedback_.cursor) {
        painter.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
        painter.drawLine(pixel(feedback_.bandFrom->x(), feedback_.bandFrom->y()),
                         pixel(feedback_.cursor->x(), feedback_.cursor->y()));
    }
    if (const auto& s = feedback_.snap) {
        constexpr double r = 6;
        const QPointF c = pixel(s->x, s->y);
        painter.setPen(QPen(QColor(230, 130, 0), 2));
        painter.setBrush(Qt::NoBrush);
        switch (s->mode) {
            case db::kSnapEndpoint: painter.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r)); break;
            case db::kSnapMidpoint:
                painter.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(r, r), c + QPointF(-r, r)}));
                break;
            case db::kSnapCenter: painter.drawEllipse(c, r, r); break;
            case db::kSnapQuadrant:
                painter.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(r, 0), c + QPointF(0, r), c + QPointF(-r, 0)}));
                break;
            case db::kSnapIntersection:
                painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
                painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
                break;
            case db::kSnapNode:
                painter.drawEllipse(c, r, r);
                painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
                painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
                break;
            case db::kSnapInsertion:
                painter.drawPolyline(QPolygonF({c + QPointF(-r, -r), c + QPointF(0, -r), c + QPointF(0, 0), c + QPointF(r, 0),
                                                c + QPointF(r, r), c + QPointF(-r, r), c + QPointF(-r, -r)}));
                break;
            case db::kSnapPerpendicular:
                painter.drawPolyline(QPolygonF({c + QPointF(-r, -r), c + QPointF(-r, r), c + QPointF(r, r)}));
                painter.drawPolyline(QPolygonF({c + QPointF(-r, 0), c + QPointF(0, 0), c + QPointF(0, r)}));
                break;
            case db::kSnapNearest:
            case db::kSnapOff:
                painter.drawPolygon(QPolygonF({c + QPointF(-r, -r), c + QPointF(r, -r), c + QPointF(-r, r), c + QPointF(r, r)}));
                break;
        }
    }
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    mapping_.width = width();
    mapping_.height = height();
    refit_ = following_ && fitted_;
}

void DrawingView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!fitted_) {
        fitted_ = true;
        zoomExtents();
    }
}

void DrawingView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0) return;
    const QPointF pos = event->position();
    const render::Vec2 under = mapping_.toWorld(pos);
    const double s = std::clamp(mapping_.pixelsPerUnit * std::pow(kWheelStep, steps), kMinScale, kMaxScale);
    following_ = refit_ = false;
    mapping_.pixelsPerUnit = s;
    // The drawing point under the cursor stays there.
    mapping_.center = {under.x - (pos.x() - mapping_.width / 2.0) / s, under.y + (pos.y() - mapping_.height / 2.0) / s};
    event->accept();
    update();
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    switch (event->button()) {
        case Qt::MiddleButton:
            following_ = refit_ = false;
            panning_ = true;
            panFrom_ = pos;
            break;
        case Qt::LeftButton: {
            const render::Vec2 w = mapping_.toWorld(pos);
            Q_EMIT leftClicked(w.x, w.y);
            break;
        }
        case Qt::RightButton:
            Q_EMIT contextMenuRequested(event->globalPosition().toPoint());
            break;
        default:
            QWidget::mousePressEvent(event);
            return;
    }
    event->accept();
}

void DrawingView::mouseMoveEvent(QMouseEvent* event) {
    const render::Vec2 at = mapping_.toWorld(event->position());
    Q_EMIT cursorMoved(at.x, at.y);
    if (!panning_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint moved = (event->position() - panFrom_).toPoint();
    panFrom_ += QPointF(moved);
    scrollBy(moved);
    event->accept();
}

void DrawingView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Q_EMIT cursorLeft();
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && panning_) {
        panning_ = false;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace kestrin::gui
