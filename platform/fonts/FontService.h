// Outline fonts of the system (TrueType, OpenType): finding an installed
// font file by its file name or by its family, and reading a face's glyph
// outlines and metrics by code point. Linux answers through fontconfig and
// FreeType; the font file's bytes are read through platform/fs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fs/Result.h"

namespace kestrin::fonts {

// Font units, y up.
struct OutlinePoint {
    double x = 0;
    double y = 0;
};

// One piece of a contour, from where the previous one ended (or the
// contour's start) to `to`: straight, or a Bezier curve through its
// control point(s).
struct OutlineSegment {
    enum class Kind { Line, Quadratic, Cubic };
    Kind kind = Kind::Line;
    OutlinePoint control1;
    OutlinePoint control2;  // cubic only
    OutlinePoint to;
};

// A closed contour: the area is inside by the non-zero winding rule.
struct Contour {
    OutlinePoint start;
    std::vector<OutlineSegment> segments;
};

struct GlyphOutline {
    std::vector<Contour> contours;  // none for a blank (a space)
    double advance = 0;             // where the next glyph starts, font units
};

struct FaceMetrics {
    double unitsPerEm = 1000;
    double ascender = 800;   // above the baseline
    double descender = 200;  // below the baseline, positive
    std::string family;
};

// A loaded face. Safe to use from several threads.
class OutlineFace {
public:
    virtual ~OutlineFace() = default;
    virtual const FaceMetrics& metrics() const = 0;
    // Null when the face has no glyph for `cp`.
    virtual std::optional<GlyphOutline> glyph(char32_t cp) const = 0;
};

// An installed font: its file and the face in it.
struct FontFile {
    std::string path;
    int face = 0;
    std::string family;
};

struct FontStyle {
    bool bold = false;
    bool italic = false;
};

class FontService {
public:
    virtual ~FontService() = default;

    static FontService& system();
    static FontService& current();
    // Makes `service` the current one (null: the system's again).
    static void install(FontService* service);

    // The installed font whose file is called `fileName` (no folder; any
    // letter case).
    virtual std::optional<FontFile> findFile(const std::string& fileName) = 0;
    // The installed font of `family` (any letter case) in that style, the
    // nearest style when that one is missing; none when the family is not
    // installed.
    virtual std::optional<FontFile> findFamily(const std::string& family, FontStyle style) = 0;
    // The font the system puts in place of `family` when it is not
    // installed: a metric-compatible one, else a common sans font (any sans
    // font for an empty family); none when there is no outline font at all.
    virtual std::optional<FontFile> substitute(const std::string& family, FontStyle style) = 0;
    // Face `face` of the font file `path` (read through platform/fs); the
    // error names the file.
    virtual fs::Result<std::shared_ptr<const OutlineFace>> load(const std::string& path, int face) = 0;
};

}  // namespace kestrin::fonts
