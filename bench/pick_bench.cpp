// Cost of a pick by position (`pick at X,Y`) in drawings of 1k, 100k and 1M
// lines spread evenly (the same density everywhere): through the spatial
// index, and by looking at every entity as a pick did before the index. Each
// figure is also given as a ratio against the full scan at 1k entities,
// measured in the same run, so runs on different machines compare.
//
//   pick_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/SpatialIndex.h"
#include "host/dxf/Handles.h"
#include "host/dxf/Template.h"

using namespace kestrin;

namespace {

constexpr double kSpacing = 10;     // drawing units between neighbouring lines
constexpr double kTolerance = 0.9;  // the pick box of the new-drawing template

std::string handleOfModelSpace(const dxf::Document& doc) {
    for (const dxf::Table& table : doc.tables)
        for (const dxf::Record& r : table.entries) {
            if (r.type != "BLOCK_RECORD") continue;
            std::string name, handle;
            for (const auto& tag : r.tags) {
                if (tag.code == 2) name = std::string(tag.value);
                if (tag.code == 5) handle = std::string(tag.value);
            }
            if (name == "*Model_Space") return handle;
        }
    return "1F";
}

// A drawing of `count` short lines on a square grid, slightly jittered.
AcDbDatabase& drawing(std::size_t count) {
    static std::map<std::size_t, std::unique_ptr<AcDbDatabase>> made;
    auto& slot = made[count];
    if (slot) return *slot;
    dxf::Document doc = dxf::newDrawingTemplate();
    const std::string owner = handleOfModelSpace(doc);
    const auto side = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(count))));
    std::mt19937 random(1);
    std::uniform_real_distribution<double> jitter(-2, 2), length(0.5, 4);
    char buffer[64];
    auto real = [&buffer](double v) {
        std::snprintf(buffer, sizeof buffer, "%.6f", v);
        return std::string(buffer);
    };
    for (std::size_t i = 0; i < count; ++i) {
        const double x = static_cast<double>(i % side) * kSpacing + jitter(random);
        const double y = static_cast<double>(i / side) * kSpacing + jitter(random);
        dxf::Record line;
        line.type = "LINE";
        line.tags.push(5, dxf::formatHandle(0x10000 + i));
        line.tags.push(330, owner);
        line.tags.push(100, "AcDbEntity");
        line.tags.push(8, "0");
        line.tags.push(100, "AcDbLine");
        line.tags.push(10, real(x));
        line.tags.push(20, real(y));
        line.tags.push(30, "0.0");
        line.tags.push(11, real(x + length(random)));
        line.tags.push(21, real(y + length(random)));
        line.tags.push(31, "0.0");
        doc.entities.push_back(std::move(line));
    }
    slot = std::make_unique<AcDbDatabase>();
    slot->fromDocument(std::move(doc));
    return *slot;
}

// The points picked: anywhere over the drawing, hits and misses alike.
struct Probes {
    explicit Probes(std::size_t count) : extent(std::sqrt(static_cast<double>(count)) * kSpacing) {}
    double extent;
    std::mt19937 random{2};
    std::pair<double, double> next() {
        std::uniform_real_distribution<double> at(0, extent);
        return {at(random), at(random)};
    }
};

void indexedPick(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    db::DrawingStore& store = drawing(count).store();
    db::SpatialIndex& index = store.spatialIndex();
    index.visitNear(0, 0, 0, [](db::Entry*) {});  // built outside the timing
    Probes probes(count);
    std::size_t hits = 0;
    for (auto _ : state) {
        const auto [x, y] = probes.next();
        const db::Entry* best = nullptr;
        double nearest = kTolerance;
        index.visitNear(x, y, kTolerance, [&](db::Entry* e) {
            const auto o = db::outlineOf(*e);
            if (!o) return;
            const double d = db::distanceTo(*o, x, y);
            if (d <= nearest) {
                nearest = d;
                best = e;
            }
        });
        hits += best != nullptr;
        benchmark::DoNotOptimize(best);
    }
    state.counters["hit%"] = 100.0 * static_cast<double>(hits) / static_cast<double>(state.iterations());
}

void fullScan(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    db::DrawingStore& store = drawing(count).store();
    Probes probes(count);
    for (auto _ : state) {
        const auto [x, y] = probes.next();
        const db::Entry* best = nullptr;
        double nearest = kTolerance;
        for (db::Entry* e : store.topLevelEntities()) {
            const auto o = db::outlineOf(*e);
            if (!o) continue;
            const double d = db::distanceTo(*o, x, y);
            if (d <= nearest) {
                nearest = d;
                best = e;
            }
        }
        benchmark::DoNotOptimize(best);
    }
}

BENCHMARK(fullScan)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(indexedPick)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Prints the usual table, then each benchmark against the full scan at 1k.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times_.emplace_back(run.benchmark_name(), run.GetAdjustedRealTime());
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        double reference = 0;
        for (const auto& [name, t] : times_)
            if (name == "fullScan/1000") reference = t;
        if (reference <= 0) return;
        std::printf("\nagainst fullScan/1000 (%.3f us = 1.0):\n", reference);
        for (const auto& [name, t] : times_) std::printf("  %-22s %10.4f\n", name.c_str(), t / reference);
    }

private:
    std::vector<std::pair<std::string, double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
