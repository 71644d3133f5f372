// The drawing view: what the current drawing draws (strokes and areas in
// their colours) on white. The wheel
// zooms about the cursor, the middle button pans; a left click and a right
// click are told as signals (the window turns them into the person's
// actions). What it shows comes from the DrawingModel, and it repaints when
// the model says the scene changed.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/db/ObjectSnap.h"
#include "host/db/SpatialIndex.h"

#include "base/Signal.h"
#include "render/ViewScene.h"

class QPaintDevice;
class QTimer;

namespace kestrin::gui {

class DrawingModel;

// Drawing units <-> device pixels (y down): the drawing point at the middle
// of the device and the scale.
struct ViewMapping {
    render::Vec2 center;
    double pixelsPerUnit = 1;
    int width = 0;
    int height = 0;

    QPointF toPixel(render::Vec2 p) const {
        return {(p.x - center.x) * pixelsPerUnit + width / 2.0, height / 2.0 - (p.y - center.y) * pixelsPerUnit};
    }
    render::Vec2 toWorld(QPointF p) const {
        return {center.x + (p.x() - width / 2.0) / pixelsPerUnit, center.y - (p.y() - height / 2.0) / pixelsPerUnit};
    }
    // The mapping of a part of the device: drawn there, it matches the
    // whole device's pixels.
    ViewMapping part(const QRect& rect) const;
    // The pixels a box of the drawing covers, with `margin` pixels around.
    QRect pixelsOf(const render::Box& box, int margin) const;
    // The part of the drawing the device shows.
    render::ViewWindow window() const;
    // Fitted to `extents` with a margin of a twentieth; a mapping at scale 1
    // about the origin when there is nothing.
    static ViewMapping fit(const render::Box& extents, int width, int height);
    bool operator==(const ViewMapping&) const = default;
};

struct PaintOptions {
    render::ViewScene::Query how;         // culling and level of detail (off for a reference)
    std::size_t antialiasStrokes = 20000;  // up to this many strokes are drawn anti-aliased
    int bands = 0;  // pixel by pixel: bands of rows (64 at least) the small entities are painted in at once (0: one a core)
};

struct PaintResult {
    std::size_t strokes = 0;   // strokes drawn whole
    std::size_t areas = 0;     // filled areas (hatches, wide polylines, outline-font texts)
    std::size_t standIns = 0;  // small entities drawn as stand-ins
    std::size_t patches = 0;   // entities of a few pixels drawn as their cells (patches and streaks)
    bool antialiased = false;
};

// Paints the scene on the device as the mapping places it: white, the
// areas, then one-pixel strokes in their colours (stand-ins and patches for
// small entities, see ViewContent). Few strokes go through QPainter,
// anti-aliased; many are set pixel by pixel into a 32-bit picture (the device
// itself when it is one, else a picture then drawn on the device), the small
// entities in bands of rows at once, one a core, areas by the pixels they
// cover at least half. The view and the benchmark share it.
// When the pixels were set into a picture of their own, it is left in
// `kept` (else `kept` is emptied): drawn again, it paints the same.
PaintResult paintScene(QPaintDevice& device, const render::ViewScene& scene, const ViewMapping& mapping,
                       const PaintOptions& options = {}, QImage* kept = nullptr);

// What the view shows over the drawing while the host asks: the entity a
// click would pick, a rubber band from the request's base point to the
// cursor, entities a command drags (drawn where the cursor takes them), and
// the object snap a click would take.
struct ViewFeedback {
    struct Ghost {
        std::vector<std::uint64_t> handles;
        std::array<double, 6> transform{1, 0, 0, 0, 1, 0};  // x' = a x + b y + c, y' = d x + e y + f
    };
    std::optional<db::Outline> highlight;
    std::optional<Ghost> ghost;
    std::optional<QPointF> bandFrom;  // drawing units
    std::optional<QPointF> cursor;    // drawing units: where the band ends (the snap, when there is one)
    std::optional<db::SnapPoint> snap;
};

class DrawingView : public QWidget {
    Q_OBJECT
public:
    explicit DrawingView(DrawingModel& model, QWidget* parent = nullptr);
    ~DrawingView() override;

    // The whole drawing in the view; the view then keeps the whole drawing in
    // sight as it changes, until the person zooms or pans.
    void zoomExtents();
    // The view's scale times `factor` (above 1 nearer), about its centre.
    void zoomBy(double factor);
    // The drawing moved by a fraction of the view's width and height (0.25,
    // 0: a quarter of the view to the right).
    void panBy(double acrossWidths, double upHeights);
    QPointF worldToPixel(double x, double y) const;
    QPointF pixelToWorld(const QPointF& pixel) const;
    const ViewMapping& mapping() const { return mapping_; }
    // While the drawing is drawn for the first time or again (a part at a
    // time, between the person's input): the share done.
    std::optional<double> buildProgress() const;
    // Draws what is left of the drawing into the scene now.
    void finishDrawing();
    // How long one part of the drawing is drawn for, between input events.
    void setDrawingSlice(std::chrono::milliseconds slice) { slice_ = slice; }

    // Shown over the drawing until replaced; an empty one clears it.
    void setFeedback(ViewFeedback feedback);
    const ViewFeedback& feedback() const { return feedback_; }

Q_SIGNALS:
    // The left button pressed at a drawing point (drawing units).
    void leftClicked(double x, double y);
    // The right button pressed: the screen position for a context menu.
    void contextMenuRequested(const QPoint& globalPos);
    // The cursor moved over the view, at a drawing point.
    void cursorMoved(double x, double y);
    // The cursor left the view: no feedback follows it any more.
    void cursorLeft();
    // A part more of the drawing is in the scene (`done` the share of it);
    // `done` is 1 once all of it is.
    void building(double done);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    DrawingModel& model_;
    ScopedConnection changed_;
    ViewMapping mapping_;
    ViewFeedback feedback_;
    void paintFeedback();
    QRect feedbackPixels(const ViewFeedback& feedback) const;  // where it is drawn
    void changed();
    void scrollBy(QPoint pixels);
    // The scene as far as it is built, built on a little first.
    const render::ViewScene& sceneNow();
    bool buildSlice(std::chrono::steady_clock::duration budget);
    void buildOn();
    QTimer* buildTimer_ = nullptr;
    std::chrono::milliseconds slice_{40};
    QElapsedTimer sincePaint_;
    // The scene as last painted whole, pixel by pixel (a drawing of many
    // strokes): painted again while neither the scene nor the mapping has
    // changed since (a screenshot, a window uncovered).
    struct Frame {
        QImage image;
        std::uint64_t revision = 0;
        ViewMapping mapping;
    } frame_;
    bool fitted_ = false;     // zoomed to extents once, at the first show
    bool following_ = true;   // fits the drawing as it grows, until the person zooms or pans
    bool refit_ = false;      // the drawing or the view's size changed while following
    bool panning_ = false;
    QPointF panFrom_;
};

}  // namespace kestrin::gui
