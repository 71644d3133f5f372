#include "render/Scene.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "render/EntityDrawer.h"
#include "render/TextLayout.h"

namespace kestrin::render {

extern const char kBuiltinFont[];
extern const std::size_t kBuiltinFontSize;

namespace {

constexpr int kMaxNesting = 16;            // blocks within blocks
constexpr std::size_t kMaxArrayCopies = 10000;  // columns x rows of one INSERT
constexpr double kArcStep = kPi / 36;      // 5 degrees a segment
// Entities drawn in all, nested copies included: arrays of blocks within
// arrays multiply, and a picture is no use once it would take hours.
constexpr std::size_t kMaxEntities = 2'000'000;

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The tags of one record, read by group code.
class Tags {
public:
    explicit Tags(const dxf::Record& r) : r_(r) {}
    std::string_view str(int code, std::string_view dflt = {}) const {
        const std::size_t i = r_.tags.find(code);
        return i == dxf::TagList::npos ? dflt : r_.tags[i].value;
    }
    bool has(int code) const { return r_.tags.find(code) != dxf::TagList::npos; }
    double num(int code, double dflt = 0) const {
        const std::size_t i = r_.tags.find(code);
        return i == dxf::TagList::npos ? dflt : parse(r_.tags[i].value, dflt);
    }
    long integer(int code, long dflt = 0) const { return static_cast<long>(num(code, static_cast<double>(dflt))); }
    Vec2 point(int code) const { return {num(code), num(code + 10)}; }

    static double parse(std::string_view v, double dflt) {
        while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
        while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
        if (!v.empty() && v.front() == '+') v.remove_prefix(1);
        double d = 0;
        const auto res = std::from_chars(v.data(), v.data() + v.size(), d);
        return res.ec == std::errc() && std::isfinite(d) ? d : dflt;
    }

private:
    const dxf::Record& r_;
};

void arcPoints(Polyline& out, Vec2 c, double r, double a0, double sweep) {
    const int steps = std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / kArcStep)));
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + sweep * i / steps;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
}

// From the last point of `out` to `to`, bowed by `bulge` (tan of a quarter of the sweep).
void bulgeTo(Polyline& out, Vec2 to, double bulge) {
    const Vec2 from = out.back();
    const double chord = std::hypot(to.x - from.x, to.y - from.y);
    if (bulge == 0 || chord == 0) {
        out.push_back(to);
        return;
    }
    const double sweep = 4 * std::atan(bulge);
    const double r = chord / (2 * std::sin(std::abs(sweep) / 2));
    const double toCenter = r * std::cos(sweep / 2);  // signed with the sweep
    const Vec2 mid = (from + to) * 0.5;
    const Vec2 left{-(to.y - from.y) / chord, (to.x - from.x) / chord};
    const Vec2 c = mid + left * (sweep > 0 ? toCenter : -toCenter);
    Polyline arc;
    arcPoints(arc, c, r, std::atan2(from.y - c.y, from.x - c.x), sweep);
    out.insert(out.end(), arc.begin() + 1, arc.end() - 1);
    out.push_back(to);
}

struct Style {
    std::string font;
    double widthFactor = 1;
    double obliqueDeg = 0;
    double fixedHeight = 0;
};

}  // namespace

// The drawing of single entities; the tables, styles and blocks are read once.
class EntityDrawer::Impl {
public:
    Impl(const dxf::Document& doc, Space space, FontLibrary& fonts) : space_(space), fonts_(fonts) {
        for (const dxf::Table& t : doc.tables) {
            const std::string kind = upper(Tags(t.head).str(2));
            for (const dxf::Record& e : t.entries) {
                const Tags tags(e);
                if (kind == "LAYER") {
                    const bool off = tags.integer(62, 7) < 0;
                    const bool frozen = (tags.integer(70) & 1) != 0;
                    if (off || frozen) hiddenLayers_.insert({upper(tags.str(2)), true});
                } else if (kind == "STYLE") {
                    Style s;
                    s.font = std::string(tags.str(3, "txt"));
                    s.widthFactor = tags.num(41, 1);
                    s.obliqueDeg = tags.num(50);
                    s.fixedHeight = tags.num(40);
                    styles_[upper(tags.str(2))] = s;
                }
            }
        }
        for (const dxf::Block& b : doc.blocks) blocks_[upper(Tags(b.begin).str(2))] = &b;
    }

    bool inSpace(const dxf::Record& r) const { return (Tags(r).integer(67) == 1) == (space_ == Space::Paper); }

    // Entities kept in the space's block record (some writers put them there).
    const dxf::Block* spaceBlock() const { return findBlock(space_ == Space::Paper ? "*PAPER_SPACE" : "*MODEL_SPACE"); }

    std::size_t draw(const std::vector<dxf::Record>& records, std::size_t i, Scene& out) {
        scene_ = &out;
        return entity(records, i, Affine{}, 0);
    }

    // Records that belong to the one at `i` (VERTEX, ATTRIB ... up to SEQEND): the index after them.
    static std::size_t pastFollowers(const std::vector<dxf::Record>& records, std::size_t i) {
        std::size_t j = i + 1;
        while (j < records.size() && records[j].type != "SEQEND" &&
               (records[j].type == "VERTEX" || records[j].type == "ATTRIB"))
            ++j;
        if (j < records.size() && records[j].type == "SEQEND") ++j;
        return j;
    }

    std::size_t visits_ = 0;

private:
    const dxf::Block* findBlock(const std::string& name) const {
        const auto it = blocks_.find(upper(name));
        return it == blocks_.end() ? nullptr : it->second;
    }

    bool hidden(const Tags& t) const { return hiddenLayers_.count(upper(t.str(8, "0"))) != 0; }

    void emit(Polyline&& p, const Affine& m) {
        if (p.empty()) return;
        for (Vec2& q : p) {
            q = m(q);
            if (!std::isfinite(q.x) || !std::isfinite(q.y)) return;
        }
        scene_->strokes.push_back(std::move(p));
    }

    // Draws the entity at `i`; answers the index of the next one.
    std::size_t entity(const std::vector<dxf::Record>& records, std::size_t i, const Affine& m, int depth) {
        const dxf::Record& r = records[i];
        const Tags t(r);
        const std::string& type = r.type;
        // A polyline's vertices are read with it; an insert's attributes are
        // entities of their own (in this space's coordinates) unless the insert is hidden.
        const std::size_t next = type == "POLYLINE" ? pastFollowers(records, i) : i + 1;
        if (type == "VERTEX" || type == "SEQEND") return i + 1;
        if (visits_ >= kMaxEntities) {
            scene_->skipped["(over " + std::to_string(kMaxEntities) + " entities, not drawn)"] = 1;
            return records.size();
        }
        ++visits_;
        if (hidden(t)) return type == "INSERT" ? pastFollowers(records, i) : next;
        // A 2D entity whose normal points down is seen mirrored.
        const Affine ocs = t.num(230, 1) < 0 ? m.after(Affine::scale(-1, 1)) : m;
        if (type == "LINE") {
            emit({t.point(10), t.point(11)}, m);
        } else if (type == "CIRCLE" || type == "ARC") {
            Polyline p;
            const double r0 = t.num(40);
            double a0 = 0, sweep = 2 * kPi;
            if (type == "ARC") {
                a0 = t.num(50) * kPi / 180;
                sweep = t.num(51) * kPi / 180 - a0;
                while (sweep <= 0) sweep += 2 * kPi;
                while (sweep > 2 * kPi) sweep -= 2 * kPi;
            }
            arcPoints(p, t.point(10), r0, a0, sweep);
            emit(std::move(p), ocs);
        } else if (type == "LWPOLYLINE") {
            lwpolyline(r, ocs);
        } else if (type == "POLYLINE") {
            if (!polyline(records, i, next, ocs)) {
                ++scene_->skipped["POLYLINE (mesh)"];
                return next;
            }
        } else if (type == "POINT") {
            emit({t.point(10)}, m);
        } else if (type == "TEXT" || type == "ATTRIB" || type == "ATTDEF") {
            // Attribute definitions show in a block only when constant.
            if (type == "ATTDEF" && depth > 0 && (t.integer(70) & 2) == 0) return next;
            if ((type != "TEXT") && (t.integer(70) & 1) != 0) return next;  // invisible
            text(t, type, ocs, depth);
        } else if (type == "MTEXT") {
            mtext(r, m);
        } else if (type == "INSERT") {
            insert(t, ocs, depth);
        } else {
            ++scene_->skipped[type];
            return next;
        }
        ++scene_->drawn;
        return next;
    }

    void lwpolyline(const dxf::Record& r, const Affine& m) {
        Polyline p;
        std::vector<double> bulges;
        std::vector<Vec2> pts;
        for (const dxf::TagView tag : r.tags) {
            if (tag.code == 10) {
                pts.push_back({Tags::parse(tag.value, 0), 0});
                bulges.push_back(0);
            } else if (tag.code == 20 && !pts.empty()) {
                pts.back().y = Tags::parse(tag.value, 0);
            } else if (tag.code == 42 && !bulges.empty()) {
                bulges.back() = Tags::parse(tag.value, 0);
            }
        }
        const bool closed = (Tags(r).integer(70) & 1) != 0;
        vertices(pts, bulges, closed, m);
    }

    void vertices(const std::vector<Vec2>& pts, const std::vector<double>& bulges, bool closed, const Affine& m) {
        if (pts.empty()) return;
        Polyline p{pts[0]};
        for (std::size_t k = 1; k < pts.size(); ++k) bulgeTo(p, pts[k], bulges[k - 1]);
        if (closed && pts.size() > 1) bulgeTo(p, pts[0], bulges.back());
        emit(std::move(p), m);
    }

    bool polyline(const std::vector<dxf::Record>& records, std::size_t i, std::size_t end, const Affine& m) {
        const long flags = Tags(records[i]).integer(70);
        if (flags & (16 | 64)) return false;  // polygon and polyface meshes
        std::vector<Vec2> pts;
        std::vector<double> bulges;
        for (std::size_t k = i + 1; k < end; ++k) {
            if (records[k].type != "VERTEX") continue;
            const Tags v(records[k]);
            if (v.integer(70) & 16) continue;  // spline frame control point
            pts.push_back(v.point(10));
            bulges.push_back(v.num(42));
        }
        vertices(pts, bulges, (flags & 1) != 0, m);
        return true;
    }

    TextFonts fontsOf(std::string_view styleName, Style& style) {
        const auto it = styles_.find(upper(styleName.empty() ? "Standard" : styleName));
        if (it != styles_.end()) style = it->second;
        else style.font = "txt";
        TextFonts f;
        f.style = &fonts_.font(style.font);
        f.fallback = &fonts_.builtin();
        f.replaced = fonts_.replaced(style.font);
        return f;
    }

    void text(const Tags& t, const std::string& type, const Affine& m, int depth) {
        Style style;
        const TextFonts f = fontsOf(t.str(7), style);
        TextParams p;
        // A definition shows its tag in a space, its (constant) value in a block.
        p.text = std::string(type == "ATTDEF" && depth == 0 ? t.str(2) : t.str(1));
        p.first = t.point(10);
        p.second = t.has(11) ? t.point(11) : p.first;
        p.height = t.num(40, style.fixedHeight);
        p.widthFactor = t.num(41, style.widthFactor);
        p.obliqueDeg = t.num(51, style.obliqueDeg);
        p.rotationDeg = t.num(50);
        const long h = t.integer(72), v = t.integer(type == "TEXT" ? 73 : 74);
        p.h = h >= 0 && h <= 5 ? static_cast<HAlign>(h) : HAlign::Left;
        p.v = v >= 0 && v <= 3 ? static_cast<VAlign>(v) : VAlign::Baseline;
        const long g = t.integer(71);
        p.backward = (g & 2) != 0;
        p.upsideDown = (g & 4) != 0;
        if (p.height <= 0) return;
        PlacedText placed = placeText(p, f);
        for (Polyline& s : placed.strokes) emit(std::move(s), m);
    }

    void mtext(const dxf::Record& r, const Affine& m) {
        const Tags t(r);
        std::string content;
        for (const dxf::TagView tag : r.tags)
            if (tag.code == 3) content += tag.value;
        content += t.str(1);
        Style style;
        const TextFonts f = fontsOf(t.str(7), style);
        const double height = t.num(40, style.fixedHeight);
        if (height <= 0) return;
        double rotation = t.num(50) * kPi / 180;
        if (t.has(11)) rotation = std::atan2(t.num(21), t.num(11));
        const long attach = std::clamp(t.integer(71, 1), 1L, 9L);
        const int column = static_cast<int>((attach - 1) % 3), row = static_cast<int>((attach - 1) / 3);
        const std::vector<std::string> lines = plainParagraphs(content);
        const double step = height * 5.0 / 3.0 * t.num(44, 1);
        const double total = height + step * static_cast<double>(lines.size() - 1);
        // Baseline of the first line below the insertion point.
        const double firstBaseline = row == 0 ? -height : row == 1 ? total / 2 - height : total - height;
        const Affine place = m.after(Affine::translate(t.point(10))).after(Affine::rotate(rotation));
        for (std::size_t k = 0; k < lines.size(); ++k) {
            TextParams p;
            p.text = lines[k];
            p.height = height;
            p.h = static_cast<HAlign>(column);
            p.first = p.second = {0, firstBaseline - step * static_cast<double>(k)};
            PlacedText placed = placeText(p, f);
            for (Polyline& s : placed.strokes) emit(std::move(s), place);
        }
    }

    void insert(const Tags& t, const Affine& m, int depth) {
        const dxf::Block* block = findBlock(std::string(t.str(2)));
        if (!block || depth >= kMaxNesting) {
            ++scene_->skipped[block ? "INSERT (nested too deep)" : "INSERT (no block)"];
            --scene_->drawn;  // counted back by the caller
            return;
        }
        const Vec2 base = Tags(block->begin).point(10);
        const double sx = t.num(41, 1), sy = t.num(42, 1);
        const long cols = std::max(1L, t.integer(70, 1)), rows = std::max(1L, t.integer(71, 1));
        const double colStep = t.num(44), rowStep = t.num(45);
        const Affine placed = m.after(Affine::translate(t.point(10))).after(Affine::rotate(t.num(50) * kPi / 180));
        std::size_t copies = 0;
        for (long row = 0; row < rows; ++row) {
            for (long col = 0; col < cols; ++col) {
                if (++copies > kMaxArrayCopies) return;
                const Affine each = placed.after(Affine::translate({col * colStep, row * rowStep}))
                                        .after(Affine::scale(sx, sy))
                                        .after(Affine::translate(base * -1));
                for (std::size_t k = 0; k < block->entities.size();) k = entity(block->entities, k, each, depth + 1);
            }
        }
    }

    Space space_;
    FontLibrary& fonts_;
    Scene* scene_ = nullptr;
    std::unordered_map<std::string, bool> hiddenLayers_;
    std::unordered_map<std::string, Style> styles_;
    std::unordered_map<std::string, const dxf::Block*> blocks_;
};

EntityDrawer::EntityDrawer(const dxf::Document& doc, Space space, FontLibrary& fonts)
    : impl_(std::make_unique<Impl>(doc, space, fonts)) {}
EntityDrawer::~EntityDrawer() = default;

std::size_t EntityDrawer::draw(const std::vector<dxf::Record>& records, std::size_t i, Scene& out) {
    return impl_->draw(records, i, out);
}
bool EntityDrawer::inSpace(const dxf::Record& record) const { return impl_->inSpace(record); }
const std::vector<dxf::Record>* EntityDrawer::spaceBlockEntities() const {
    const dxf::Block* own = impl_->spaceBlock();
    return own ? &own->entities : nullptr;
}
std::size_t EntityDrawer::visits() const { return impl_->visits_; }
void EntityDrawer::setVisits(std::size_t visits) { impl_->visits_ = visits; }
std::size_t EntityDrawer::pastFollowers(const std::vector<dxf::Record>& records, std::size_t i) {
    return Impl::pastFollowers(records, i);
}

FontLibrary::FontLibrary(std::string drawingFolder, std::vector<std::string> supportFolders,
                         std::function<void(const std::string&)> note)
    : drawingFolder_(std::move(drawingFolder)), supportFolders_(std::move(supportFolders)), note_(std::move(note)) {}

const ShxFont& FontLibrary::builtin() {
    if (!builtin_) builtin_ = ShxFont::parse(std::string_view(kBuiltinFont, kBuiltinFontSize), "built-in font");
    return *builtin_;
}

std::string FontLibrary::find(const std::string& fileName) const {
    fs::FileSystem& files = fs::FileSystem::current();
    std::string name = fileName;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    if (name.find('.') == std::string::npos) name += ".shx";
    std::vector<std::string> folders;
    if (!drawingFolder_.empty()) folders.push_back(drawingFolder_);
    if (auto cwd = files.currentDirectory()) folders.push_back(*cwd);
    folders.insert(folders.end(), supportFolders_.begin(), supportFolders_.end());
    for (const std::string& dir : folders) {
        auto found = files.findIgnoringCase(dir, name);
        if (!found) continue;
        auto st = files.status(*found);
        if (st && st->isRegular()) return *found;
    }
    return {};
}

const ShxFont& FontLibrary::font(const std::string& fileName) {
    const std::string key = lower(fileName);
    if (auto it = loaded_.find(key); it != loaded_.end()) return it->second ? *it->second : builtin();
    std::shared_ptr<const ShxFont> font;
    const std::string path = find(fileName);
    if (path.empty()) {
        if (note_) note_("font '" + fileName + "' not found; its texts are drawn with the built-in font");
    } else {
        auto bytes = fs::FileSystem::current().readFile(path);
        try {
            if (!bytes) throw FontError(bytes.error().message());
            font = ShxFont::parse(*bytes, path);
        } catch (const FontError& e) {
            if (note_) note_(std::string(e.what()) + "; its texts are drawn with the built-in font");
        }
    }
    loaded_[key] = font;
    return font ? *font : builtin();
}

bool FontLibrary::replaced(const std::string& fileName) {
    font(fileName);
    return loaded_[lower(fileName)] == nullptr;
}

std::string Scene::skippedSummary() const {
    if (skipped.empty()) return {};
    std::vector<std::pair<std::string, std::size_t>> list(skipped.begin(), skipped.end());
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string out = "skipped:";
    for (std::size_t k = 0; k < list.size(); ++k) {
        out += k ? ", " : " ";
        out += std::to_string(list[k].second);
        out += ' ';
        out += list[k].first;
    }
    return out;
}

Scene buildScene(const dxf::Document& doc, Space space, FontLibrary& fonts) {
    EntityDrawer drawer(doc, space, fonts);
    Scene scene;
    for (std::size_t i = 0; i < doc.entities.size();) {
        if (drawer.inSpace(doc.entities[i])) i = drawer.draw(doc.entities, i, scene);
        else ++i;
    }
    if (const auto* own = drawer.spaceBlockEntities())
        for (std::size_t i = 0; i < own->size();) i = drawer.draw(*own, i, scene);
    return scene;
}

}  // namespace kestrin::render
