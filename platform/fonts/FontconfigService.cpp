// Linux: installed fonts found through fontconfig, faces read by FreeType.
#include <fontconfig/fontconfig.h>

#include <mutex>

#include "platform/fonts/FontService.h"
#include "platform/fonts/FreeTypeFace.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"

namespace kestrin::fonts {

namespace {

std::string text(FcPattern* p, const char* object, int n = 0) {
    FcChar8* v = nullptr;
    return FcPatternGetString(p, object, n, &v) == FcResultMatch && v ? reinterpret_cast<const char*>(v) : "";
}

int integer(FcPattern* p, const char* object) {
    int v = 0;
    return FcPatternGetInteger(p, object, 0, &v) == FcResultMatch ? v : 0;
}

// Whether any of the pattern's family names is `family`.
bool hasFamily(FcPattern* p, const std::string& family) {
    for (int n = 0;; ++n) {
        const std::string name = text(p, FC_FAMILY, n);
        if (name.empty()) return false;
        if (fs::sameNameIgnoringCase(name, family)) return true;
    }
}

FontFile fileOf(FcPattern* p) { return {text(p, FC_FILE), integer(p, FC_INDEX), text(p, FC_FAMILY)}; }

bool outline(FcPattern* p) {
    FcBool scalable = FcFalse;
    return FcPatternGetBool(p, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable;
}

class FontconfigService final : public FontService {
public:
    ~FontconfigService() override {
        if (config_) FcConfigDestroy(config_);
    }

    std::optional<FontFile> findFile(const std::string& fileName) override {
        std::lock_guard<std::mutex> hold(lock_);
        if (!start()) return std::nullopt;
        if (!listed_) list();
        for (const FontFile& f : installed_)
            if (f.face == 0 && fs::sameNameIgnoringCase(fs::fileName(f.path), fileName)) return f;
        return std::nullopt;
    }

    std::optional<FontFile> findFamily(const std::string& family, FontStyle style) override {
        std::lock_guard<std::mutex> hold(lock_);
        FcPattern* found = match(family, style);
        if (!found) return std::nullopt;
        std::optional<FontFile> out;
        if (hasFamily(found, family)) out = fileOf(found);
        FcPatternDestroy(found);
        return out;
    }

    std::optional<FontFile> substitute(const std::string& family, FontStyle style) override {
        std::lock_guard<std::mutex> hold(lock_);
        FcPattern* found = match(family.empty() ? "sans-serif" : family, style);
        if (!found) return std::nullopt;
        const FontFile out = fileOf(found);
        FcPatternDestroy(found);
        if (out.path.empty()) return std::nullopt;
        return out;
    }

    fs::Result<std::shared_ptr<const OutlineFace>> load(const std::string& path, int face) override {
        auto bytes = fs::FileSystem::current().readFile(path);
        if (!bytes) return bytes.error();
        return freeTypeFace(std::move(*bytes), path, face);
    }

private:
    bool start() {
        if (!started_) {
            started_ = true;
            config_ = FcInitLoadConfigAndFonts();
        }
        return config_ != nullptr;
    }

    void list() {
        listed_ = true;
        FcPattern* any = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_SCALABLE, nullptr);
        FcFontSet* set = FcFontList(config_, any, objects);
        if (set) {
            for (int k = 0; k < set->nfont; ++k)
                if (outline(set->fonts[k])) installed_.push_back(fileOf(set->fonts[k]));
            FcFontSetDestroy(set);
        }
        FcObjectSetDestroy(objects);
        FcPatternDestroy(any);
    }

    // The best outline font for the family and style, as fontconfig ranks them.
    FcPattern* match(const std::string& family, FontStyle style) {
        if (!start() || family.empty()) return nullptr;
        FcPattern* want = FcPatternCreate();
        FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(want, FC_WEIGHT, style.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(want, FC_SLANT, style.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(want, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config_, want, FcMatchPattern);
        FcDefaultSubstitute(want);
        FcResult result = FcResultNoMatch;
        FcPattern* found = FcFontMatch(config_, want, &result);
        FcPatternDestroy(want);
        if (found && (!outline(found) || text(found, FC_FILE).empty())) {
            FcPatternDestroy(found);
            found = nullptr;
        }
        return found;
    }

    std::mutex lock_;
    bool started_ = false;
    FcConfig* config_ = nullptr;
    bool listed_ = false;
    std::vector<FontFile> installed_;
};

}  // namespace

FontService& FontService::system() {
    static FontconfigService service;
    return service;
}

}  // namespace kestrin::fonts
