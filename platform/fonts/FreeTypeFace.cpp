#include "platform/fonts/FreeTypeFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <mutex>

namespace kestrin::fonts {

namespace {

// Collects FreeType's outline walk as contours in font units.
struct Walk {
    std::vector<Contour> contours;

    static OutlinePoint at(const FT_Vector* v) { return {static_cast<double>(v->x), static_cast<double>(v->y)}; }
    static Walk& of(void* user) { return *static_cast<Walk*>(user); }

    static int move(const FT_Vector* to, void* user) {
        of(user).contours.push_back({at(to), {}});
        return 0;
    }
    static int line(const FT_Vector* to, void* user) {
        return add(user, {OutlineSegment::Kind::Line, {}, {}, at(to)});
    }
    static int conic(const FT_Vector* control, const FT_Vector* to, void* user) {
        return add(user, {OutlineSegment::Kind::Quadratic, at(control), {}, at(to)});
    }
    static int cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        return add(user, {OutlineSegment::Kind::Cubic, at(c1), at(c2), at(to)});
    }
    static int add(void* user, OutlineSegment s) {
        Walk& w = of(user);
        if (w.contours.empty()) return 1;  // a segment before any start: a broken outline
        w.contours.back().segments.push_back(s);
        return 0;
    }
};

class FreeTypeOutlineFace final : public OutlineFace {
public:
    explicit FreeTypeOutlineFace(std::string bytes) : bytes_(std::move(bytes)) {}
    ~FreeTypeOutlineFace() override {
        if (face_) FT_Done_Face(face_);
        if (library_) FT_Done_FreeType(library_);
    }
    FreeTypeOutlineFace(const FreeTypeOutlineFace&) = delete;
    FreeTypeOutlineFace& operator=(const FreeTypeOutlineFace&) = delete;

    // Empty when the face was read; else why not.
    std::string open(int face) {
        if (FT_Init_FreeType(&library_) != 0) return "FreeType could not start";
        // FreeType reads the face from the bytes held here for the face's whole life.
        const auto* data = reinterpret_cast<const FT_Byte*>(bytes_.data());
        if (FT_New_Memory_Face(library_, data, static_cast<FT_Long>(bytes_.size()), face, &face_) != 0) {
            face_ = nullptr;
            return "not a font file FreeType can read (face " + std::to_string(face) + ")";
        }
        if (!FT_IS_SCALABLE(face_)) return "not an outline font";
        metrics_.unitsPerEm = face_->units_per_EM > 0 ? face_->units_per_EM : 1000;
        metrics_.ascender = face_->ascender;
        metrics_.descender = -static_cast<double>(face_->descender);
        metrics_.family = face_->family_name ? face_->family_name : "";
        return {};
    }

    const FaceMetrics& metrics() const override { return metrics_; }

    std::optional<GlyphOutline> glyph(char32_t cp) const override {
        const std::lock_guard<std::mutex> hold(lock_);
        const FT_UInt index = FT_Get_Char_Index(face_, cp);
        if (index == 0) return std::nullopt;
        if (FT_Load_Glyph(face_, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0)
            return std::nullopt;
        GlyphOutline out;
        out.advance = static_cast<double>(face_->glyph->advance.x);
        if (face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return out;
        FT_Outline_Funcs funcs{};
        funcs.move_to = &Walk::move;
        funcs.line_to = &Walk::line;
        funcs.conic_to = &Walk::conic;
        funcs.cubic_to = &Walk::cubic;
        Walk walk;
        if (FT_Outline_Decompose(&face_->glyph->outline, &funcs, &walk) != 0) return out;
        out.contours = std::move(walk.contours);
        return out;
    }

private:
    const std::string bytes_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    FaceMetrics metrics_;
    mutable std::mutex lock_;  // a FreeType face loads one glyph at a time
};

}  // namespace

fs::Result<std::shared_ptr<const OutlineFace>> freeTypeFace(std::string bytes, const std::string& path, int face) {
    auto loaded = std::make_shared<FreeTypeOutlineFace>(std::move(bytes));
    const std::string why = loaded->open(face);
    if (!why.empty()) return fs::Error{path, "cannot read the font", why, 0};
    return std::shared_ptr<const OutlineFace>(std::move(loaded));
}

}  // namespace kestrin::fonts
