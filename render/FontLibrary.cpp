#include "render/FontLibrary.h"

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"

namespace kestrin::render {

extern const char kBuiltinFont[];
extern const std::size_t kBuiltinFontSize;

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool endsWith(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The file name without its folder, either kind of separator.
std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string keyOf(const FontRequest& r) {
    return lower(r.file) + '\n' + lower(r.family) + (r.style.bold ? "\nb" : "\n") + (r.style.italic ? "i" : "");
}

}  // namespace

FontLibrary::FontLibrary(std::string drawingFolder, std::vector<std::string> supportFolders,
                         std::function<void(const std::string&)> note)
    : drawingFolder_(std::move(drawingFolder)), supportFolders_(std::move(supportFolders)), note_(std::move(note)) {}

void FontLibrary::setAlternate(const std::string& fileName) {
    const std::lock_guard<std::recursive_mutex> hold(lock_);
    if (lower(fileName) == lower(alternate_)) return;
    alternate_ = fileName;
    resolved_.clear();  // what stood in for missing fonts may change
}

bool FontLibrary::outlineName(const std::string& fileName) {
    const std::string name = lower(fileName);
    return endsWith(name, ".ttf") || endsWith(name, ".otf") || endsWith(name, ".ttc");
}

const ShxFont& FontLibrary::builtin() {
    const std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!builtin_) builtin_ = ShxFont::parse(std::string_view(kBuiltinFont, kBuiltinFontSize), "built-in font");
    return *builtin_;
}

std::string FontLibrary::find(const std::string& fileName) const {
    fs::FileSystem& files = fs::FileSystem::current();
    std::string name = baseName(fileName);
    if (name.empty()) return {};
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

std::shared_ptr<const ShxFont> FontLibrary::loadShape(const std::string& fileName, std::string& why) {
    const std::string key = lower(fileName);
    if (auto it = shapes_.find(key); it != shapes_.end()) {
        if (!it->second) why = "font '" + fileName + "' not found";
        return it->second;
    }
    std::shared_ptr<const ShxFont> font;
    const std::string path = find(fileName);
    if (path.empty()) {
        why = "font '" + fileName + "' not found";
    } else {
        auto bytes = fs::FileSystem::current().readFile(path);
        try {
            if (!bytes) throw FontError(bytes.error().message());
            font = ShxFont::parse(*bytes, path);
        } catch (const FontError& e) {
            why = e.what();
        }
    }
    shapes_[key] = font;
    return font;
}

std::shared_ptr<const OutlineFont> FontLibrary::loadOutline(const fonts::FontFile& file, std::string& why) {
    const std::string key = file.path + '\n' + std::to_string(file.face);
    if (auto it = faces_.find(key); it != faces_.end()) return it->second;
    auto face = fonts::FontService::current().load(file.path, file.face);
    if (!face) {
        why = face.error().message();
        return nullptr;
    }
    const std::string family = (*face)->metrics().family;
    auto font = std::make_shared<const OutlineFont>(*face, family.empty() ? fs::fileName(file.path) : family);
    faces_[key] = font;
    return font;
}

const OutlineFont* FontLibrary::outline(const FontRequest& r, const std::string& key) {
    if (auto it = outlines_.find(key); it != outlines_.end()) return it->second.get();
    fonts::FontService& system = fonts::FontService::current();
    const std::string shown = r.file.empty() ? r.family : r.file;
    std::string why;
    std::shared_ptr<const OutlineFont> font;
    std::vector<fonts::FontFile> candidates;
    if (!r.file.empty()) {
        if (const std::string path = find(r.file); !path.empty()) candidates.push_back({path, 0, {}});
        if (auto f = system.findFile(baseName(r.file))) candidates.push_back(*f);
    }
    if (!r.family.empty())
        if (auto f = system.findFamily(r.family, r.style)) candidates.push_back(*f);
    for (const fonts::FontFile& f : candidates)
        if ((font = loadOutline(f, why))) break;
    if (!font) {
        const std::string reason = why.empty() ? "font '" + shown + "' not found" : why;
        if (auto f = system.substitute(r.family, r.style)) font = loadOutline(*f, why);
        if (note_)
            note_(reason + "; its texts are drawn with " + (font ? font->name() : std::string("the built-in font")));
    }
    outlines_[key] = font;
    return font.get();
}

TextFonts FontLibrary::fonts(const FontRequest& r) {
    const std::lock_guard<std::recursive_mutex> hold(lock_);
    const std::string key = keyOf(r);
    if (auto it = resolved_.find(key); it != resolved_.end()) return it->second;
    TextFonts f;
    f.fallback = &builtin();
    f.style = &builtin();
    if (outlineName(r.file) || (r.file.empty() && !r.family.empty())) {
        f.outline = outline(r, key);
        f.replaced = f.outline == nullptr;
        return resolved_[key] = f;
    }
    const std::string file = r.file.empty() ? "txt" : r.file;
    std::string why;
    if (auto shape = loadShape(file, why)) {
        f.style = shape.get();
        return resolved_[key] = f;
    }
    // The drawing's alternate font, when it is another one and there.
    std::string alternateWhy;
    if (!alternate_.empty() && lower(alternate_) != lower(file)) {
        if (outlineName(alternate_)) {
            const FontRequest a{alternate_, {}, {}};
            f.outline = outline(a, keyOf(a));
        } else if (auto shape = loadShape(alternate_, alternateWhy)) {
            f.style = shape.get();
        }
    }
    const bool stood = f.outline != nullptr || f.style != &builtin();
    f.replaced = !stood;
    if (note_)
        note_(why + "; its texts are drawn with " +
              (stood ? "the drawing's alternate font '" + alternate_ + "'" : std::string("the built-in font")));
    return resolved_[key] = f;
}

const ShxFont& FontLibrary::font(const std::string& fileName) { return *fonts({fileName, {}, {}}).style; }

bool FontLibrary::replaced(const std::string& fileName) { return fonts({fileName, {}, {}}).replaced; }

}  // namespace kestrin::render
