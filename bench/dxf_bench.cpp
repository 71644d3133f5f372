// Large-drawing benchmark of the DXF reader and writer.
//
//   dxf_bench generate FILE COUNT [VERSION]
//                                   the template with COUNT single-line texts;
//                                   with VERSION (R2018) written in it, the
//                                   texts in Cyrillic so that they are UTF-8
//   dxf_bench generate-labels FILE COUNT
//                                   the same with short labels (a letter and
//                                   a number, two to four characters)
//   dxf_bench generate-mixed FILE COUNT
//                                   COUNT entities of every kind a drawing
//                                   mostly holds: of every ten, three lines,
//                                   a light polyline, an arc, a circle, an
//                                   INSERT with two attributes, three texts
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

void generate(const std::string& path, long count, const char* version, bool labels = false) {
    Document doc = newDrawingTemplate();
    doc.entities.reserve(static_cast<std::size_t>(count));
    char x[32], y[32], text[64];
    for (long i = 0; i < count; ++i) {
        std::snprintf(x, sizeof x, "%.4f", static_cast<double>(i % 1000) * 10.0);
        std::snprintf(y, sizeof y, "%.4f", static_cast<double>(i / 1000) * 5.0);
        if (labels)
            std::snprintf(text, sizeof text, "%c%ld", static_cast<char>('A' + i % 26), i % 1000);
        else if (version != nullptr)
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

Record entity(const char* type, std::initializer_list<TagView> tags) {
    std::vector<TagView> all(tags);
    return {type, TagList::fromViews(all), 0};
}

std::string num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    return buf;
}

// A block "TAG": a closed frame and two attribute definitions.
void addTagBlock(Document& doc) {
    const std::string record = nextHandleText(doc);
    for (Table& t : doc.tables)
        if (t.head.tags.find(2) != TagList::npos && t.head.tags[t.head.tags.find(2)].value == "BLOCK_RECORD")
            t.entries.push_back(entity("BLOCK_RECORD", {{5, record}, {330, "1"}, {100, "AcDbSymbolTableRecord"},
                                                        {100, "AcDbBlockTableRecord"}, {2, "TAG"}}));
    Block b;
    const std::string begin = nextHandleText(doc);
    b.begin = entity("BLOCK", {{5, begin}, {330, record}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockBegin"},
                               {2, "TAG"}, {70, "2"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {3, "TAG"}, {1, ""}});
    const std::string frame = nextHandleText(doc);
    b.entities.push_back(entity("LWPOLYLINE", {{5, frame}, {330, record}, {100, "AcDbEntity"}, {8, "0"},
                                               {100, "AcDbPolyline"}, {90, "4"}, {70, "1"}, {10, "0"}, {20, "0"},
                                               {10, "8"}, {20, "0"}, {10, "8"}, {20, "4"}, {10, "0"}, {20, "4"}}));
    for (const char* tag : {"NUMBER", "NAME"}) {
        const std::string h = nextHandleText(doc);
        const bool first = tag[1] == 'U';
        b.entities.push_back(entity("ATTDEF", {{5, h}, {330, record}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbText"},
                                               {10, "0.5"}, {20, first ? "2.5" : "0.5"}, {30, "0.0"}, {40, "1.2"},
                                               {1, ""}, {100, "AcDbAttributeDefinition"}, {3, tag}, {2, tag},
                                               {70, "0"}}));
    }
    const std::string end = nextHandleText(doc);
    b.end = entity("ENDBLK", {{5, end}, {330, record}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockEnd"}});
    doc.blocks.push_back(std::move(b));
}

void generateMixed(const std::string& path, long count) {
    Document doc = newDrawingTemplate();
    addTagBlock(doc);
    doc.entities.reserve(static_cast<std::size_t>(count) * 13 / 10);
    char text[64];
    for (long i = 0; i < count; ++i) {
        const double x0 = static_cast<double>(i % 1000) * 10.0, y0 = static_cast<double>(i / 1000) * 5.0;
        const std::string x = num(x0), y = num(y0), h = nextHandleText(doc);
        const TagView common[] = {{5, h}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"}};
        auto with = [&](const char* type, std::initializer_list<TagView> own) {
            std::vector<TagView> all(std::begin(common), std::end(common));
            all.insert(all.end(), own);
            doc.entities.push_back({type, TagList::fromViews(all), 0});
        };
        switch (i % 10) {
            case 0: case 1: case 2:
                with("LINE", {{100, "AcDbLine"}, {10, x}, {20, y}, {30, "0.0"}, {11, num(x0 + 6 + i % 3)},
                              {21, num(y0 + 1.5 * (i % 3))}, {31, "0.0"}});
                break;
            case 3:
                with("LWPOLYLINE", {{100, "AcDbPolyline"}, {90, "4"}, {70, "0"}, {10, x}, {20, y}, {10, num(x0 + 3)},
                                    {20, num(y0 + 2)}, {42, "0.5"}, {10, num(x0 + 6)}, {20, y}, {10, num(x0 + 8)},
                                    {20, num(y0 + 3)}});
                break;
            case 4:
                with("ARC", {{100, "AcDbCircle"}, {10, x}, {20, y}, {30, "0.0"}, {40, "2.5"}, {100, "AcDbArc"},
                             {50, "15"}, {51, "200"}});
                break;
            case 5:
                with("CIRCLE", {{100, "AcDbCircle"}, {10, x}, {20, y}, {30, "0.0"}, {40, num(1 + i % 4 * 0.5)}});
                break;
            case 6: {
                with("INSERT", {{66, "1"}, {100, "AcDbBlockReference"}, {2, "TAG"}, {10, x}, {20, y}, {30, "0.0"}});
                std::snprintf(text, sizeof text, "%ld", i);
                const std::string owner = h;
                for (int a = 0; a < 2; ++a) {
                    const std::string ah = nextHandleText(doc), ax = num(x0 + 0.5), ay = num(y0 + (a == 0 ? 2.5 : 0.5));
                    const TagView tags[] = {{5, ah}, {330, owner}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbText"},
                                            {10, ax}, {20, ay}, {30, "0.0"},
                                            {40, "1.2"}, {1, a == 0 ? text : "Part"}, {100, "AcDbAttribute"},
                                            {2, a == 0 ? "NUMBER" : "NAME"}, {70, "0"}};
                    doc.entities.push_back({"ATTRIB", TagList::fromViews(tags), 0});
                }
                const std::string sh = nextHandleText(doc);
                const TagView end[] = {{5, sh}, {330, owner}, {100, "AcDbEntity"}, {8, "0"}};
                doc.entities.push_back({"SEQEND", TagList::fromViews(end), 0});
                break;
            }
            default:
                std::snprintf(text, sizeof text, "Line %ld of the benchmark", i);
                with("TEXT", {{100, "AcDbText"}, {10, x}, {20, y}, {30, "0.0"}, {40, "2.5"}, {1, text},
                              {100, "AcDbText"}});
        }
    }
    saveDxfFile(doc, path);
    std::printf("generated %s: %ld entities of every kind, %.1f MB\n", path.c_str(), count, fileMb(path));
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
        else if (cmd == "generate-labels" && argc == 4) generate(argv[2], std::atol(argv[3]), nullptr, true);
        else if (cmd == "generate-mixed" && argc == 4) generateMixed(argv[2], std::atol(argv[3]));
        else if (cmd == "load" && argc == 3) load(argv[2]);
        else if (cmd == "save" && argc == 4) save(argv[2], argv[3]);
        else {
            std::fprintf(stderr, "usage: dxf_bench generate FILE COUNT [VERSION] | generate-labels FILE COUNT | generate-mixed FILE COUNT | load FILE | save FILE OUT\n");
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dxf_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
