// One redraw of the drawing view over a drawing of 100,000 single-line texts
// (varied contents, heights and rotations, in a grid 250 texts wide; the
// environment's VIEW_BENCH_TEXTS sets another count), into a 1200 x 800
// picture through the view's own painting code:
//
//   build/bench/bin/view_bench [--benchmark_filter=...]
//
// The scene is built once. Reference draws every stroke at the extents,
// without culling or level of detail; Extents, Zoom10, Zoom100 and Panned
// are the view's redraws (Panned: zoomed 10x, then moved half a window);
// Working and WorkingPanned the same at a working scale of 1.2 px a unit,
// whatever the drawing's size. Counters: strokes drawn whole, stand-ins,
// patches (entities drawn as the cells their strokes pass). The CPU time is
// the whole process's: a redraw of many small entities paints them in bands
// of rows on every core, and its CPU time is then above the elapsed. Keystroke
// draws one text anew and repaints its boxes, as the view does after a
// palette keystroke, against the same on 1,000 texts.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchDrawing.h"
#include "gui/DrawingView.h"
#include "host/dxf/Template.h"
#include "render/ViewScene.h"

namespace {

using namespace kestrin;

constexpr int kColumns = 250;
constexpr double kWorking = 1.2;  // px a unit

int textCount() {
    const char* n = std::getenv("VIEW_BENCH_TEXTS");
    return n != nullptr && std::atoi(n) > 0 ? std::atoi(n) : 100000;
}
constexpr int kWidth = 1200, kHeight = 800;

// The k-th text of the drawing (handle 0x1000 + k).
dxf::Record text(int k, const char* style, render::Vec2 at, double height, const char* value, double degrees) {
    char handle[17];
    std::snprintf(handle, sizeof handle, "%X", 0x1000 + k);
    dxf::Record r{"TEXT", {}, 0};
    r.tags.push(5, handle);
    r.tags.push(8, "0");
    r.tags.push(7, style);
    r.tags.push(10, std::to_string(at.x));
    r.tags.push(20, std::to_string(at.y));
    r.tags.push(40, std::to_string(height));
    r.tags.push(1, value);
    r.tags.push(50, std::to_string(degrees));
    return r;
}

dxf::Document drawing(int texts) {
    dxf::Document doc = dxf::newDrawingTemplate();
    bench::addOwnFontStyle(doc);
    const char* strings[] = {"Text %d", "%%c%d %%d45 %%p0,1", "Room %d", "%%UUnder%%u %d", "\xd7\xe5\xf0\xf2\xe5\xe6 %d",
                             "W-%d-A", "Level +%d.000"};
    for (int k = 0; k < texts; ++k) {
        char value[64];
        std::snprintf(value, sizeof value, strings[k % 7], k);
        doc.entities.push_back(text(k, k % 2 ? "ZOR" : "Standard", {(k % kColumns) * 40.0, (k / kColumns) * 12.0},
                                    1.0 + (k % 5) * 0.75,  // 1 to 4
                                    value, (k % 13) * 7.5));  // 0 to 90 degrees
    }
    return doc;
}

struct Fixture {
    render::FontLibrary fonts{"", {KESTRIN_DIST_DIR}, nullptr};
    render::ViewScene scene{fonts};
    gui::ViewMapping extents;
    explicit Fixture(int texts) {
        scene.build(drawing(texts));
        extents = gui::ViewMapping::fit(scene.extents(), kWidth, kHeight);
    }
};

Fixture& fixture() {
    static Fixture f(textCount());
    return f;
}

Fixture& smallFixture() {
    static Fixture f(1000);
    return f;
}

void redraw(benchmark::State& state, gui::ViewMapping mapping, render::ViewScene::Query how) {
    const Fixture& f = fixture();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    gui::PaintResult r;
    for (auto _ : state) {
        r = gui::paintScene(image, f.scene, mapping, {how});
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["strokes"] = static_cast<double>(r.strokes);
    state.counters["standIns"] = static_cast<double>(r.standIns);
    state.counters["patches"] = static_cast<double>(r.patches);
    state.counters["scale"] = mapping.pixelsPerUnit;
}

gui::ViewMapping zoomed(double factor) {
    gui::ViewMapping m = fixture().extents;
    m.pixelsPerUnit *= factor;
    return m;
}

void Reference(benchmark::State& state) { redraw(state, fixture().extents, {false, false}); }
void Extents(benchmark::State& state) { redraw(state, fixture().extents, {}); }
void Zoom10(benchmark::State& state) { redraw(state, zoomed(10), {}); }
void Zoom100(benchmark::State& state) { redraw(state, zoomed(100), {}); }
void Panned(benchmark::State& state) {
    gui::ViewMapping m = zoomed(10);
    m.center.x += kWidth / 2.0 / m.pixelsPerUnit;
    redraw(state, m, {});
}
gui::ViewMapping working() {
    gui::ViewMapping m = fixture().extents;
    m.pixelsPerUnit = kWorking;
    return m;
}
void Working(benchmark::State& state) { redraw(state, working(), {}); }
void WorkingPanned(benchmark::State& state) {
    gui::ViewMapping m = working();
    m.center.x += kWidth / 2.0 / m.pixelsPerUnit;
    redraw(state, m, {});
}

// A keystroke in the palette: the scene draws the preview text anew (one
// character more or less each time), and the view repaints its old and new
// boxes (with the view's margin) at a zoom where it is read, 25 px high.
// The text is one of the first row, whose neighbours are the same on the
// large drawing and on a 1,000-text one, so that both do the same work.
void keystroke(benchmark::State& state, Fixture& f) {
    gui::ViewMapping m = f.extents;
    m.pixelsPerUnit = 10;
    m.center = {120, 6};
    const std::uint64_t handle = 0x1000 + 3;
    auto typed = [](const char* value) { return std::vector<dxf::Record>{text(3, "ZOR", {120, 0}, 2.5, value, 0)}; };
    const std::vector<dxf::Record> shorter = typed("Text 3"), longer = typed("Text 3a");
    QImage image;
    gui::PaintResult r;
    bool grow = true;
    for (auto _ : state) {
        render::Box area = f.scene.boxOf(handle);
        f.scene.replace(handle, grow ? longer : shorter);
        area.add(f.scene.boxOf(handle));
        grow = !grow;
        const QRect dirty = m.pixelsOf(area, 2);
        if (image.size() != dirty.size()) image = QImage(dirty.size(), QImage::Format_RGB32);
        r = gui::paintScene(image, f.scene, m.part(dirty));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["strokes"] = static_cast<double>(r.strokes);
}

void Keystroke(benchmark::State& state) { keystroke(state, fixture()); }
void KeystrokeOn1k(benchmark::State& state) { keystroke(state, smallFixture()); }

void Build(benchmark::State& state) {
    const dxf::Document doc = drawing(textCount());
    for (auto _ : state) {
        render::FontLibrary fonts("", {KESTRIN_DIST_DIR}, nullptr);
        render::ViewScene scene(fonts);
        scene.build(doc);
        state.PauseTiming();
        state.counters["strokes"] = static_cast<double>(scene.strokeCount());
        state.ResumeTiming();
    }
}

BENCHMARK(Build)->Unit(benchmark::kMillisecond)->Iterations(1)->MeasureProcessCPUTime();
BENCHMARK(Reference)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Extents)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Zoom10)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Zoom100)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Panned)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Working)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(WorkingPanned)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Keystroke)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK(KeystrokeOn1k)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
