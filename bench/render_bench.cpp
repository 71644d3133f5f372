// Rendering a drawing of 100,000 single-line texts (own font, control codes,
// every justification), with reading the same drawing as the reference:
//
//   build/bench/bin/render_bench [--benchmark_filter=...]
//
// ReadDxf is the reference; Layout is the scene (text layout and the block-
// free entity walk) from the read document; Png and Svg add the picture.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchDrawing.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/Template.h"
#include "render/Output.h"
#include "render/Scene.h"

namespace {

using namespace kestrin;

constexpr int kTexts = 100000;

const std::string& drawingBytes() {
    static const std::string bytes = [] {
        dxf::Document doc = dxf::newDrawingTemplate();
        bench::addOwnFontStyle(doc);
        const char* strings[] = {"Text %d", "%%c%d %%d45 %%p0,1", "S=%%128R%%1722%%173", "%%UUnder%%u %%OOver%%o",
                                 "\xd7\xe5\xf0\xf2\xe5\xe6 %d"};
        for (int k = 0; k < kTexts; ++k) {
            char text[64];
            std::snprintf(text, sizeof text, strings[k % 5], k);
            dxf::Record r{"TEXT", {}, 0};
            const std::string x = std::to_string((k % 100) * 40), y = std::to_string((k / 100) * 5);
            r.tags.push(8, "0");
            r.tags.push(7, k % 2 ? "ZOR" : "Standard");
            r.tags.push(10, x);
            r.tags.push(20, y);
            r.tags.push(40, "2.5");
            r.tags.push(1, text);
            r.tags.push(50, std::to_string(k % 7 * 5));
            r.tags.push(11, x);
            r.tags.push(21, y);
            r.tags.push(72, std::to_string(k % 3));
            r.tags.push(73, std::to_string(k % 4));
            doc.entities.push_back(std::move(r));
        }
        return dxf::writeDxf(doc);
    }();
    return bytes;
}

const dxf::Document& document() {
    static const dxf::Document doc = dxf::readDxf(drawingBytes(), "bench.dxf");
    return doc;
}

// The fonts live as long as the program: the scenes' texts refer to their glyphs.
render::FontLibrary& fonts() {
    static render::FontLibrary library("", {KESTRIN_DIST_DIR}, nullptr);
    return library;
}

render::Scene scene() { return render::buildScene(document(), render::Space::Model, fonts()); }

void ReadDxf(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(dxf::readDxf(drawingBytes(), "bench.dxf"));
    state.SetItemsProcessed(state.iterations() * kTexts);
    state.counters["MB"] = static_cast<double>(drawingBytes().size()) / 1e6;
}

void Layout(benchmark::State& state) {
    document();
    std::size_t strokes = 0;
    for (auto _ : state) {
        const render::Scene s = scene();
        strokes = render::strokeCount(s);
        benchmark::DoNotOptimize(strokes);
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
    state.counters["strokes"] = static_cast<double>(strokes);
}

void Png(benchmark::State& state) {
    document();
    for (auto _ : state) {
        const render::Scene s = scene();
        benchmark::DoNotOptimize(render::encodePng(render::rasterise(s, 2048, 1536)));
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
}

void Svg(benchmark::State& state) {
    document();
    for (auto _ : state) {
        render::Scene s = scene();
        benchmark::DoNotOptimize(render::svgText(render::fitted(std::move(static_cast<render::Artwork&>(s)), 2048, 1536), 2048, 1536));
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
}

BENCHMARK(ReadDxf)->Unit(benchmark::kMillisecond);
BENCHMARK(Layout)->Unit(benchmark::kMillisecond);
BENCHMARK(Png)->Unit(benchmark::kMillisecond);
BENCHMARK(Svg)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
