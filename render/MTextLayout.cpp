#include "render/MTextLayout.h"

#include <algorithm>
#include <cmath>

namespace kestrin::render {

namespace {

constexpr double kLineSpacing = 5.0 / 3.0;  // baseline to baseline, in text heights
constexpr double kTabStops = 4;             // text heights apart
constexpr double kUnderY = -0.2, kOverY = 1.2, kStrikeY = 0.5;  // of the height

// A piece of a line: a word, a space, a tab or a stack, at its own origin
// (the left end of its baseline), in drawing units.
struct Run {
    double width = 0;
    double height = 0;
    std::vector<Polyline> strokes;
    std::vector<Polyline> areas;
    std::optional<ColorChoice> color;
    int align = 0;
    bool space = false;  // a break may come here (and the run then goes)
    bool tab = false;
    MTextFormat format;  // of a tab, to draw its lines once placed
};

void appendMapped(std::vector<Polyline>& to, std::vector<Polyline>&& from, const Affine& m) {
    for (Polyline& p : from) {
        for (Vec2& q : p) q = m(q);
        to.push_back(std::move(p));
    }
}

// The lines under, over and through a run, as its format asks.
void addRules(Run& run, const MTextFormat& f) {
    if (run.width <= 0) return;
    const double h = f.height;
    for (auto [on, y] : {std::pair{f.underline, kUnderY}, {f.overline, kOverY}, {f.strike, kStrikeY}})
        if (on) run.strokes.push_back({{0, y * h}, {run.width, y * h}});
}

class Layout {
public:
    Layout(const MTextFrame& frame, const MTextFonts& fonts) : frame_(frame), fonts_(fonts) {}

    std::vector<MTextPiece> run(const std::vector<MTextToken>& tokens) {
        lines_.emplace_back();
        for (const MTextToken& t : tokens) {
            lastHeight_ = t.format.height;
            switch (t.kind) {
                case MTextToken::Text:
                    word_.push_back(text(t.text, t.format, t.format.height, 1));
                    break;
                case MTextToken::Stack:
                    word_.push_back(stack(t));
                    break;
                case MTextToken::Space:
                    if (t.nonBreaking) {
                        word_.push_back(space(t.format));
                    } else {
                        commitWord();
                        pending_.push_back(space(t.format));
                    }
                    break;
                case MTextToken::Tab: {
                    commitWord();
                    Run tab;
                    tab.space = tab.tab = true;
                    tab.format = t.format;
                    pending_.push_back(std::move(tab));
                    break;
                }
                case MTextToken::Paragraph:
                    commitWord();
                    pending_.clear();
                    newLine();
                    break;
            }
        }
        commitWord();
        return assemble();
    }

private:
    struct Placed {
        Run run;
        double x = 0;
    };
    struct Line {
        std::vector<Placed> runs;
        double x = 0;        // where the next run goes
        double height = 0;   // of its tallest run
        double emptyHeight = 0;
    };

    TextFonts fontsFor(const MTextFormat& f) const { return fonts_(f.font ? &*f.font : nullptr); }

    // `s` shaped at height `h` in format `f`; `scale` of the format's height (stacks).
    Run text(const std::string& s, const MTextFormat& f, double h, double scale) {
        const TextFonts fonts = fontsFor(f);
        ShapedLine line = shapeLine(s, fonts, f.tracking);
        const double sy = h * scale / fonts.above(), sx = sy * f.widthFactor;
        const Affine m{sx, 0, sy * std::tan(f.obliqueDeg * kPi / 180), sy, 0, 0};
        Run r;
        r.width = line.advance * sx;
        r.height = h * scale;
        appendMapped(r.strokes, std::move(line.strokes), m);
        appendMapped(r.areas, std::move(line.areas), m);
        r.color = f.color;
        r.align = f.align;
        if (scale == 1) addRules(r, f);
        return r;
    }

    Run space(const MTextFormat& f) {
        Run r = text(" ", f, f.height, 1);
        if (r.width <= 0) {  // a font without a space
            r.width = f.height * 0.5 * f.widthFactor;
            addRules(r, f);
        }
        r.space = true;
        return r;
    }

    Run stack(const MTextToken& t) {
        const MTextFormat& f = t.format;
        const double h = f.height;
        Run up = text(t.text, f, h, kStackScale), down = text(t.lower, f, h, kStackScale);
        Run r;
        r.height = h;
        r.color = f.color;
        r.align = f.align;
        auto put = [&r](Run& part, double dx, double dy) {
            appendMapped(r.strokes, std::move(part.strokes), Affine::translate({dx, dy}));
            appendMapped(r.areas, std::move(part.areas), Affine::translate({dx, dy}));
        };
        const double gap = 0.1 * h, bar = 0.5 * h;
        if (t.stack == '#') {
            // Side by side: the upper part raised, a slash, the lower part lowered.
            const double slant = 0.4 * h;
            put(up, 0, bar - 0.05 * h);
            r.strokes.push_back({{up.width + 0.05 * h, -0.25 * h}, {up.width + slant - 0.05 * h, 1.15 * h}});
            put(down, up.width + slant, -0.25 * h);
            r.width = up.width + slant + down.width;
        } else {
            // One over the other: centred across a bar (a/b), or from the left without one (a^b).
            const double pad = t.stack == '/' ? 0.1 * h : 0;
            r.width = std::max(up.width, down.width) + 2 * pad;
            const bool centred = t.stack == '/';
            put(up, centred ? (r.width - up.width) / 2 : 0, bar + gap);
            put(down, centred ? (r.width - down.width) / 2 : 0, bar - gap - kStackScale * h);
            if (t.stack == '/') r.strokes.push_back({{0, bar}, {r.width, bar}});
        }
        addRules(r, f);
        return r;
    }

    Line& line() { return lines_.back(); }

    void newLine() {
        line().emptyHeight = lastHeight_;
        lines_.emplace_back();
    }

    double tabWidth(double x) const {
        const double step = kTabStops * frame_.height;
        if (!(step > 0)) return 0;
        return (std::floor(x / step + 1e-9) + 1) * step - x;
    }

    void place(Run&& r) {
        Line& l = line();
        if (r.tab) {
            r.width = tabWidth(l.x);
            addRules(r, r.format);
        }
        l.runs.push_back({std::move(r), l.x});
        l.x += l.runs.back().run.width;
        if (!l.runs.back().run.space) l.height = std::max(l.height, l.runs.back().run.height);
    }

    // The word so far (runs without a break between them) onto the line,
    // after the spaces before it, or onto a new line when it would pass the
    // width (the spaces then go).
    void commitWord() {
        if (word_.empty()) return;
        double spaces = 0, x = line().x;
        for (const Run& s : pending_) {
            const double w = s.tab ? tabWidth(x) : s.width;
            spaces += w;
            x += w;
        }
        double width = 0;
        for (const Run& r : word_) width += r.width;
        const bool hasText = std::any_of(line().runs.begin(), line().runs.end(), [](const Placed& p) { return !p.run.space; });
        if (frame_.width > 0 && hasText && line().x + spaces + width > frame_.width * (1 + 1e-9)) {
            newLine();
        } else {
            for (Run& s : pending_) place(std::move(s));
        }
        pending_.clear();
        for (Run& r : word_) place(std::move(r));
        word_.clear();
    }

    std::vector<MTextPiece> assemble() {
        const int column = (std::clamp(frame_.attachment, 1, 9) - 1) % 3;
        const int row = (std::clamp(frame_.attachment, 1, 9) - 1) / 3;
        // Baselines from the top of the first line down.
        std::vector<double> baselines;
        double y = 0;
        for (std::size_t k = 0; k < lines_.size(); ++k) {
            Line& l = lines_[k];
            if (l.height <= 0) l.height = l.emptyHeight > 0 ? l.emptyHeight : lastHeight_;
            const double h = frame_.exactSpacing ? frame_.height : std::max(l.height, frame_.height);
            y = k == 0 ? -l.height : y - frame_.spacing * kLineSpacing * h;
            baselines.push_back(y);
        }
        const double total = -baselines.back();
        const double dy = row == 0 ? 0 : row == 1 ? total / 2 : total;
        std::vector<MTextPiece> pieces;
        for (std::size_t k = 0; k < lines_.size(); ++k) {
            Line& l = lines_[k];
            double width = 0;  // to the end of its last visible run
            for (const Placed& p : l.runs)
                if (!p.run.space) width = p.x + p.run.width;
            const double dx = column == 0 ? 0 : column == 1 ? -width / 2 : -width;
            for (Placed& p : l.runs) {
                const Run& r = p.run;
                const double lift = r.align == 1 ? (l.height - r.height) / 2 : r.align == 2 ? l.height - r.height : 0;
                const Affine at = Affine::translate({p.x + dx, baselines[k] + dy + lift});
                if (pieces.empty() || pieces.back().color != r.color) pieces.push_back({{}, {}, r.color});
                appendMapped(pieces.back().strokes, std::move(p.run.strokes), at);
                appendMapped(pieces.back().areas, std::move(p.run.areas), at);
            }
        }
        return pieces;
    }

    const MTextFrame& frame_;
    const MTextFonts& fonts_;
    std::vector<Line> lines_;
    std::vector<Run> word_;
    std::vector<Run> pending_;
    double lastHeight_ = 0;
};

}  // namespace

std::vector<MTextPiece> layoutMText(const std::vector<MTextToken>& tokens, const MTextFrame& frame,
                                    const MTextFonts& fonts) {
    return Layout(frame, fonts).run(tokens);
}

}  // namespace kestrin::render
