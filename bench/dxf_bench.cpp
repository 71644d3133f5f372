// Large-drawing benchmark of the DXF reader and writer.
//
//   dxf_bench generate FILE COUNT [VERSION]
//                                   the template with COUNT single-line texts;
//                                   with VERSION (R2018) written in it, the
//                                   texts in Cyrillic so that they are UTF-8
//   dxf_bench load FILE             read once; time, MB/s, entities/s, peak memory
//   dxf_bench save FILE OUT         read, then time the save alone
//
// Each run is its own process, so the peak resident size it reports belongs
// to that step alone.
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/dxf/DxfFile.h"
#include "host/dxf/Handles.h"
#include "host/dxf/Template.h"
#include "host/dxf/VersionChange.h"

using namespace kestrin::dxf;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double fileMb(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return static_cast<double>(st.st_size) / 1e6;
}

// Processor time of this process (user and system): on a shared machine it
// measures the work itself, where wall time also counts waiting for a core.
double cpuSeconds() {
    rusage ru{};
    ::getrusage(RUSAGE_SELF, &ru);
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return s(ru.ru_utime) + s(ru.ru_stime);
}

double peakMb() {
    rusage ru{};
    ::getrusage(RUSAGE_SELF, &ru);
    return static_cast<double>(ru.ru_maxrss) * 1024 / 1e6;
}

void generate(const std::string& path, long count, const char* version) {
    Document doc = newDrawingTemplate();
    doc.entities.reserve(static_cast<std::size_t>(count));
    char x[32], y[32], text[64];
    for (long i = 0; i < count; ++i) {
        std::snprintf(x, sizeof x, "%.4f", static_cast<double>(i % 1000) * 10.0);
        std::snprintf(y, sizeof y, "%.4f", static_cast<double>(i / 1000) * 5.0);
        if (version != nullptr)
            std::snprintf(text, sizeof text, "\xD1\xF2\xF0\xEE\xEA\xE0 %ld \xF7\xE5\xF0\xF2\xE5\xE6\xE0", i);  // CP1251
        else
            std::snprintf(text, sizeof text, "Line %ld of the benchmark", i);
        const std::string handle = nextHandleText(doc);
        const TagView tags[] = {{5, handle}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"},
                                {100, "AcDbText"},          {10, x},      {20, y},             {30, "0.0"},
                                {40, "2.5"},                {1, text},    {100, "AcDbText"}};
        doc.entities.push_back({"TEXT", TagList::fromViews(tags), 0});
    }
    if (version != nullptr) {
        const auto target = versionByName(version);
        if (!target) throw DxfError(std::string("unknown version ") + version);
        changeVersion(doc, *target);
    }
    saveDxfFile(doc, path);
    std::printf("generated %s: %ld texts, %.1f MB\n", path.c_str(), count, fileMb(path));
}

void load(const std::string& path) {
    const double cpu0 = cpuSeconds();
    const auto start = Clock::now();
    const Document doc = readDxfFile(path);
    const double s = seconds(start), cpu = cpuSeconds() - cpu0;
    const double mb = fileMb(path), n = static_cast<double>(doc.entities.size());
    std::printf("load: wall %.2f s = %.0f MB/s, %.0f entities/s; cpu %.2f s = %.0f MB/s, %.0f entities/s\n", s,
                mb / s, n / s, cpu, mb / cpu, n / cpu);
    std::printf("      peak %.0f MB = %.2f x file size (%.0f MB)\n", peakMb(), peakMb() / mb, mb);
}

void save(const std::string& path, const std::string& out) {
    const Document doc = readDxfFile(path);
    const double cpu0 = cpuSeconds();
    const auto start = Clock::now();
    saveDxfFile(doc, out);
    const double s = seconds(start), cpu = cpuSeconds() - cpu0, mb = fileMb(out);
    std::printf("save: wall %.2f s = %.0f MB/s; cpu %.2f s = %.0f MB/s (%.0f MB)\n", s, mb / s, cpu, mb / cpu, mb);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    try {
        if (cmd == "generate" && (argc == 4 || argc == 5)) generate(argv[2], std::atol(argv[3]), argc == 5 ? argv[4] : nullptr);
        else if (cmd == "load" && argc == 3) load(argv[2]);
        else if (cmd == "save" && argc == 4) save(argv[2], argv[3]);
        else {
            std::fprintf(stderr, "usage: dxf_bench generate FILE COUNT [VERSION] | load FILE | save FILE OUT\n");
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dxf_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
