// Windows: installed fonts found and read by GDI. A font of the system is
// named "gdi:FAMILY" (with ":b" and ":i" for its style); a font file is
// added to the process for as long as its face lives.
#include <windows.h>

#include <cstring>
#include <mutex>

#include "platform/fonts/FontService.h"
#include "platform/fs/FileSystem.h"

namespace kestrin::fonts {

namespace {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

constexpr std::string_view kPrefix = "gdi:";

std::string systemName(const std::string& family, FontStyle style) {
    return std::string(kPrefix) + family + (style.bold ? ":b" : "") + (style.italic ? ":i" : "");
}

int CALLBACK noteTrueType(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM found) {
    if (type & TRUETYPE_FONTTYPE) *reinterpret_cast<bool*>(found) = true;
    return 1;
}

// Whether an outline font of the family is installed.
bool installed(const std::string& family) {
    if (family.empty() || family.size() >= LF_FACESIZE) return false;
    LOGFONTW want{};
    want.lfCharSet = DEFAULT_CHARSET;
    const std::wstring name = wide(family);
    std::wcsncpy(want.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    HDC dc = CreateCompatibleDC(nullptr);
    bool found = false;
    EnumFontFamiliesExW(dc, &want, reinterpret_cast<FONTENUMPROCW>(&noteTrueType), reinterpret_cast<LPARAM>(&found), 0);
    DeleteDC(dc);
    return found;
}

std::uint16_t big16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
std::uint32_t big32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The family name of a TrueType or OpenType file (its name table's entry 1
// for Windows Unicode), or empty.
std::string familyOfFile(const std::string& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    if (size < 12) return {};
    const std::size_t tables = big16(data + 4);
    for (std::size_t t = 0; t < tables && 12 + 16 * (t + 1) <= size; ++t) {
        const unsigned char* entry = data + 12 + 16 * t;
        if (std::memcmp(entry, "name", 4) != 0) continue;
        const std::size_t at = big32(entry + 8), length = big32(entry + 12);
        if (at + 6 > size || at + length > size) return {};
        const unsigned char* name = data + at;
        const std::size_t count = big16(name + 2), strings = at + big16(name + 4);
        for (std::size_t r = 0; r < count && at + 6 + 12 * (r + 1) <= size; ++r) {
            const unsigned char* rec = name + 6 + 12 * r;
            if (big16(rec) != 3 || big16(rec + 6) != 1) continue;  // Windows platform, family name
            const std::size_t len = big16(rec + 8), off = strings + big16(rec + 10);
            if (off + len > size) return {};
            std::wstring w;
            for (std::size_t i = 0; i + 1 < len; i += 2) w.push_back(static_cast<wchar_t>(big16(data + off + i)));
            return narrow(w);
        }
    }
    return {};
}

double fixed(const FIXED& f) { return f.value + f.fract / 65536.0; }
OutlinePoint point(const POINTFX& p) { return {fixed(p.x), fixed(p.y)}; }

class GdiFace final : public OutlineFace {
public:
    GdiFace(const std::string& family, FontStyle style, HANDLE added) : added_(added) {
        dc_ = CreateCompatibleDC(nullptr);
        LOGFONTW want{};
        want.lfCharSet = DEFAULT_CHARSET;
        want.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
        want.lfItalic = style.italic ? TRUE : FALSE;
        want.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        const std::wstring name = wide(family);
        std::wcsncpy(want.lfFaceName, name.c_str(), LF_FACESIZE - 1);
        // First at any size to learn the em square, then at it: outlines in font units.
        want.lfHeight = -1000;
        HFONT probe = CreateFontIndirectW(&want);
        HGDIOBJ old = SelectObject(dc_, probe);
        OUTLINETEXTMETRICW m{};
        m.otmSize = sizeof m;
        const bool ok = GetOutlineTextMetricsW(dc_, sizeof m, &m) != 0;
        SelectObject(dc_, old);
        DeleteObject(probe);
        if (!ok) return;
        want.lfHeight = -static_cast<LONG>(m.otmEMSquare);
        font_ = CreateFontIndirectW(&want);
        SelectObject(dc_, font_);
        metrics_.unitsPerEm = m.otmEMSquare;
        metrics_.ascender = m.otmAscent;
        metrics_.descender = -static_cast<double>(m.otmDescent);
        metrics_.family = family;
    }
    ~GdiFace() override {
        if (dc_) DeleteDC(dc_);
        if (font_) DeleteObject(font_);
        if (added_) RemoveFontMemResourceEx(added_);
    }
    GdiFace(const GdiFace&) = delete;
    GdiFace& operator=(const GdiFace&) = delete;

    bool usable() const { return font_ != nullptr; }
    const FaceMetrics& metrics() const override { return metrics_; }

    std::optional<GlyphOutline> glyph(char32_t cp) const override {
        if (cp > 0xFFFF) return std::nullopt;
        const std::lock_guard<std::mutex> hold(lock_);
        WORD index = 0;
        const wchar_t ch = static_cast<wchar_t>(cp);
        if (GetGlyphIndicesW(dc_, &ch, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR || index == 0xFFFF)
            return std::nullopt;
        const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GLYPHMETRICS gm{};
        const UINT flags = GGO_NATIVE | GGO_UNHINTED | GGO_GLYPH_INDEX;
        const DWORD size = GetGlyphOutlineW(dc_, index, flags, &gm, 0, nullptr, &identity);
        if (size == GDI_ERROR) return std::nullopt;
        GlyphOutline out;
        out.advance = gm.gmCellIncX;
        if (size == 0) return out;  // a blank
        std::string buffer(size, '\0');
        if (GetGlyphOutlineW(dc_, index, flags, &gm, size, buffer.data(), &identity) == GDI_ERROR) return out;
        out.advance = gm.gmCellIncX;
        const char* p = buffer.data();
        const char* end = p + size;
        while (p + sizeof(TTPOLYGONHEADER) <= end) {
            TTPOLYGONHEADER head;
            std::memcpy(&head, p, sizeof head);
            if (head.cb < sizeof head || p + head.cb > end) break;
            Contour contour{point(head.pfxStart), {}};
            const char* c = p + sizeof head;
            while (c + sizeof(WORD) * 2 <= p + head.cb) {
                WORD type, count;
                std::memcpy(&type, c, sizeof type);
                std::memcpy(&count, c + sizeof type, sizeof count);
                const char* points = c + 2 * sizeof(WORD);
                if (points + count * sizeof(POINTFX) > p + head.cb) break;
                std::vector<POINTFX> apfx(count);
                std::memcpy(apfx.data(), points, count * sizeof(POINTFX));
                if (type == TT_PRIM_LINE) {
                    for (const POINTFX& q : apfx) contour.segments.push_back({OutlineSegment::Kind::Line, {}, {}, point(q)});
                } else if (type == TT_PRIM_QSPLINE) {
                    // A quadratic B-spline: between two controls lies their midpoint.
                    for (std::size_t i = 0; i + 1 < apfx.size(); ++i) {
                        const OutlinePoint a = point(apfx[i]), b = point(apfx[i + 1]);
                        const OutlinePoint to = i + 2 == apfx.size() ? b : OutlinePoint{(a.x + b.x) / 2, (a.y + b.y) / 2};
                        contour.segments.push_back({OutlineSegment::Kind::Quadratic, a, {}, to});
                    }
                } else if (type == TT_PRIM_CSPLINE) {
                    for (std::size_t i = 0; i + 2 < apfx.size(); i += 3)
                        contour.segments.push_back(
                            {OutlineSegment::Kind::Cubic, point(apfx[i]), point(apfx[i + 1]), point(apfx[i + 2])});
                }
                c = points + count * sizeof(POINTFX);
            }
            // GDI leaves the closing line to the reader.
            if (!contour.segments.empty()) {
                const OutlinePoint last = contour.segments.back().to;
                if (last.x != contour.start.x || last.y != contour.start.y)
                    contour.segments.push_back({OutlineSegment::Kind::Line, {}, {}, contour.start});
            }
            out.contours.push_back(std::move(contour));
            p += head.cb;
        }
        return out;
    }

private:
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HANDLE added_ = nullptr;
    FaceMetrics metrics_;
    mutable std::mutex lock_;  // a device context draws one glyph at a time
};

class GdiFontService final : public FontService {
public:
    std::optional<FontFile> findFile(const std::string& fileName) override {
        wchar_t windows[MAX_PATH];
        const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
        if (n == 0 || n >= MAX_PATH || fileName.find_first_of("\\/") != std::string::npos) return std::nullopt;
        const std::wstring path = std::wstring(windows, n) + L"\\Fonts\\" + wide(fileName);
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        return FontFile{narrow(path), 0, {}};
    }

    std::optional<FontFile> findFamily(const std::string& family, FontStyle style) override {
        if (!installed(family)) return std::nullopt;
        return FontFile{systemName(family, style), 0, family};
    }

    std::optional<FontFile> substitute(const std::string& family, FontStyle style) override {
        if (installed(family)) return findFamily(family, style);
        for (const char* common : {"Arial", "Liberation Sans", "DejaVu Sans", "Tahoma", "Segoe UI", "Microsoft Sans Serif"})
            if (installed(common)) return FontFile{systemName(common, style), 0, common};
        return std::nullopt;
    }

    fs::Result<std::shared_ptr<const OutlineFace>> load(const std::string& path, int face) override {
        std::lock_guard<std::mutex> hold(lock_);
        if (path.starts_with(kPrefix)) {
            std::string family = path.substr(kPrefix.size());
            FontStyle style;
            for (;;) {
                if (family.ends_with(":i")) style.italic = true;
                else if (family.ends_with(":b")) style.bold = true;
                else break;
                family.resize(family.size() - 2);
            }
            auto loaded = std::make_shared<GdiFace>(family, style, nullptr);
            if (!loaded->usable()) return fs::Error{path, "cannot read the font", "the system has no outline font of it", 0};
            return std::shared_ptr<const OutlineFace>(std::move(loaded));
        }
        auto bytes = fs::FileSystem::current().readFile(path);
        if (!bytes) return bytes.error();
        const std::string family = familyOfFile(*bytes);
        if (family.empty()) return fs::Error{path, "cannot read the font", "no family name in its name table", 0};
        DWORD fonts = 0;
        HANDLE added = AddFontMemResourceEx(bytes->data(), static_cast<DWORD>(bytes->size()), nullptr, &fonts);
        if (added == nullptr || fonts == 0 || face >= static_cast<int>(fonts))
            return fs::Error{path, "cannot read the font", "the system does not take it as a font", 0};
        auto loaded = std::make_shared<GdiFace>(family, FontStyle{}, added);
        if (!loaded->usable()) return fs::Error{path, "cannot read the font", "not an outline font", 0};
        return std::shared_ptr<const OutlineFace>(std::move(loaded));
    }

private:
    std::mutex lock_;
};

}  // namespace

FontService& FontService::system() {
    static GdiFontService service;
    return service;
}

}  // namespace kestrin::fonts
