#include "render/Program.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <set>
#include <type_traits>

#include "host/dxf/DxfFile.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "render/DrawingSketch.h"
#include "render/Output.h"
#include "render/Scene.h"

namespace kestrin::render {

namespace {

constexpr const char* kUsage =
    "usage: kestrin-render DRAWING.dxf OUT.png|OUT.svg [--size WxH] [--space model|paper] [--support DIR]...";
constexpr int kMaxSide = 16384;

struct Options {
    std::string drawing, output;
    int width = 1024, height = 768;
    Space space = Space::Model;
    std::vector<std::string> support;
    bool svg = false;
};

class Usage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool endsWithIgnoringCase(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    for (std::size_t k = 0; k < tail.size(); ++k) {
        char c = s[s.size() - tail.size() + k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != tail[k]) return false;
    }
    return true;
}

int side(const std::string& text, const std::string& whole) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        throw Usage("--size " + whole + ": expected WIDTHxHEIGHT in pixels, such as 800x600");
    const int v = std::stoi(text);
    if (v < 16 || v > kMaxSide)
        throw Usage("--size " + whole + ": each side must lie between 16 and " + std::to_string(kMaxSide) + " pixels");
    return v;
}

Options parse(const std::vector<std::string>& args) {
    Options o;
    std::vector<std::string> files;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& a = args[k];
        auto value = [&]() -> const std::string& {
            if (k + 1 >= args.size()) throw Usage(a + ": a value is missing");
            return args[++k];
        };
        if (a == "--size") {
            const std::string& v = value();
            const std::size_t x = v.find_first_of("xX");
            if (x == std::string::npos) throw Usage("--size " + v + ": expected WIDTHxHEIGHT in pixels, such as 800x600");
            o.width = side(v.substr(0, x), v);
            o.height = side(v.substr(x + 1), v);
        } else if (a == "--space") {
            const std::string& v = value();
            if (v == "model") o.space = Space::Model;
            else if (v == "paper") o.space = Space::Paper;
            else throw Usage("--space " + v + ": expected model or paper");
        } else if (a == "--support") {
            const std::string& v = value();
            auto st = fs::FileSystem::current().status(v);
            if (!st || !st->isDirectory()) throw Usage("--support " + v + ": no such folder");
            o.support.push_back(v);
        } else if (a.size() > 1 && a[0] == '-') {
            throw Usage(a + ": unknown option");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) throw Usage(files.size() < 2 ? "a drawing and an output file are needed" : files[2] + ": one drawing and one output file only");
    o.drawing = files[0];
    o.output = files[1];
    if (endsWithIgnoringCase(o.output, ".svg")) o.svg = true;
    else if (!endsWithIgnoringCase(o.output, ".png")) throw Usage(o.output + ": the output must end in .png or .svg");
    return o;
}

// The picture drawn again entity by entity: the areas of those that have
// them, then the strokes of all, each straight into the picture; an SVG is
// written as it is made, into a file that replaces the old one at the end.
// In a PNG an entity too small there for its strokes to be told apart (the
// window shows a stand-in or a streak for it) is drawn from its sketch
// alone: the cells of its streak, each across its box. An SVG, which can be
// looked at closer, has every stroke. The passes share the last two thirds
// of the work.
struct Progress {
    const std::function<void(double)>& tell;
    std::size_t entities;
    int passes;
    mutable std::size_t drawn = 0;
    void step() const {
        if (!tell || ++drawn % 1024 != 0) return;
        const double all = static_cast<double>(std::max<std::size_t>(entities, 1)) * passes;
        tell(1.0 / 3 + std::min(1.0, drawn / all) * 2 / 3);
    }
};

bool drawnSmall(Detail d) { return d != Detail::Patch && d != Detail::Whole; }

// Its streak's cells, each across the whole box, cells next to each other
// as one band.
void drawSmall(Picture& picture, const Sketch& s, double ppu) {
    const ViewContent::Streak streak{&s.box, s.streak, upright(s.box), s.color};
    const double along = (streak.upright ? s.box.maxY - s.box.minY : s.box.maxX - s.box.minX) * ppu;
    double from = 0, to = 0;
    bool open = false;
    auto band = [&] {
        if (!open) return;
        picture.addBand(streak.upright ? Box{s.box.minX, from, s.box.maxX, to} : Box{from, s.box.minY, to, s.box.maxY},
                        streak.upright, s.color);
        open = false;
    };
    streak.forEachCell(along, [&](Vec2 a, Vec2 b) {
        const double start = streak.upright ? a.y : a.x, end = streak.upright ? b.y : b.x;
        if (!open || start != to) {
            band();
            from = start;
            open = true;
        }
        to = end;
    });
    band();
}

// The areas, then the strokes, into a Picture or an SvgPicture; entities in
// less detail at `ppu` pixels a drawing unit (0: every one whole).
template <class Into>
void drawInto(Into& into, DrawingSketch& sketch, double ppu, const Progress& progress) {
    auto detail = [&](std::size_t k) { return ppu > 0 ? detailOf(sketch[k].box, ppu) : Detail::Whole; };
    if (sketch.hasAreas())
        for (std::size_t k = 0; k < sketch.size(); ++k) {
            if (sketch.hasAreas(k) && !drawnSmall(detail(k))) into.addAreas(sketch.draw(k));
            progress.step();
        }
    for (std::size_t k = 0; k < sketch.size(); ++k) {
        progress.step();
        if (sketch[k].box.empty()) continue;
        const Detail d = detail(k);
        if constexpr (std::is_same_v<Into, Picture>) {
            if (drawnSmall(d)) {
                drawSmall(into, sketch[k], ppu);
                continue;
            }
        }
        into.addStrokes(sketch.draw(k));
    }
}

fs::Status writePicture(const Options& o, DrawingSketch& sketch, const Affine& toPixels, const Progress& progress) {
    if (o.svg) {
        return fs::FileSystem::current().writeAtomically(o.output, [&](const fs::ByteSink& sink) {
            SvgPicture svg(toPixels, o.width, o.height, sink);
            drawInto(svg, sketch, 0, progress);
            svg.finish();
        });
    }
    Picture picture(toPixels, o.width, o.height, sketch.hasAreas());
    drawInto(picture, sketch, std::hypot(toPixels.a, toPixels.b), progress);
    return fs::FileSystem::current().writeFile(o.output, encodePng(picture.image()));
}

}  // namespace

int runRenderProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const std::function<void(double)>& progress) {
    Options o;
    try {
        o = parse(args);
    } catch (const Usage& e) {
        err << "kestrin-render: " << e.what() << "\n" << kUsage << "\n";
        return 2;
    }
    try {
        const dxf::Document doc = dxf::readDxfFile(o.drawing);
        std::set<std::string> told;
        FontLibrary fonts(fs::parentPath(o.drawing), o.support, [&](const std::string& note) {
            if (told.insert(note).second) err << "kestrin-render: " << note << "\n";
        });
        // The drawing is sketched first, for the box of everything and the
        // size of each entity in the picture, then drawn into the picture
        // entity by entity, keeping nothing drawn. The sketch is the first
        // third of the work.
        DrawingSketch sketch(doc, o.space, fonts, [&](double share) {
            if (progress) progress(share / 3);
        });
        const std::string summary = sketch.counts().skippedSummary();
        if (!summary.empty()) out << summary << "\n";
        const char* spaceName = o.space == Space::Model ? "model" : "paper";
        if (sketch.extents().empty()) {
            err << "kestrin-render: " << o.drawing << ": nothing to draw in " << spaceName << " space\n";
            return 1;
        }
        const Progress passes{progress, sketch.size(), sketch.hasAreas() ? 2 : 1};
        const auto written = writePicture(o, sketch, fitToPicture(sketch.extents(), o.width, o.height), passes);
        if (progress) progress(1);
        if (!written) {
            err << "kestrin-render: " << written.error().message() << "\n";
            return 1;
        }
        out << "drew " << sketch.counts().drawn << " entities of " << spaceName << " space into " << o.output << "\n";
        return 0;
    } catch (const dxf::DxfError& e) {
        err << "kestrin-render: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << "kestrin-render: " << o.drawing << ": " << e.what() << "\n";
        return 1;
    }
}

}  // namespace kestrin::render
