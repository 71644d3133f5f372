#include "render/DrawingTables.h"

#include "render/TagReader.h"

namespace kestrin::render {

namespace {

constexpr long kItalic = 0x1000000, kBold = 0x2000000;  // of the style's font flags (1071)

// The family and flags a style's extended data of the application "ACAD" holds.
void readFontData(const dxf::Record& r, TextStyle& s) {
    bool acad = false;
    for (const dxf::TagView tag : r.tags) {
        if (tag.code == 1001) acad = DrawingTables::upper(tag.value) == "ACAD";
        else if (acad && tag.code == 1000 && s.font.family.empty()) s.font.family = std::string(tag.value);
        else if (acad && tag.code == 1071) {
            const long flags = wholeNumber(parseNumber(tag.value, 0));
            s.font.style.italic = (flags & kItalic) != 0;
            s.font.style.bold = (flags & kBold) != 0;
        }
    }
}

}  // namespace

std::string DrawingTables::upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

DrawingTables::DrawingTables(const dxf::Document& doc) {
    missingStyle_.font.file = "txt";
    for (const dxf::Table& t : doc.tables) {
        const std::string kind = upper(TagReader(t.head).str(2));
        for (const dxf::Record& e : t.entries) {
            const TagReader tags(e);
            if (kind == "LAYER") {
                const long number = tags.integer(62, 7);
                Layer layer;
                layer.hidden = number < 0 || (tags.integer(70) & 1) != 0;
                const ColorChoice choice = ColorChoice::fromTags(number < 0 ? -number : number, tags.optionalInteger(420));
                layer.color = resolveColor(choice, kDark, kDark);
                layers_[upper(tags.str(2))] = layer;
            } else if (kind == "STYLE") {
                TextStyle s;
                s.font.file = std::string(tags.str(3));
                s.widthFactor = tags.num(41, 1);
                s.obliqueDeg = tags.num(50);
                s.fixedHeight = tags.num(40);
                readFontData(e, s);
                if (s.font.file.empty() && s.font.family.empty()) s.font.file = "txt";
                styles_[upper(tags.str(2))] = s;
            }
        }
    }
    for (const dxf::Block& b : doc.blocks) blocks_[upper(TagReader(b.begin).str(2))] = &b;
    for (std::size_t k = 0; k + 1 < doc.header.size(); ++k)
        if (doc.header[k].code == 9 && upper(doc.header[k].value) == "$FONTALT") {
            alternateFont_ = std::string(doc.header[k + 1].value);
            break;
        }
}

bool DrawingTables::hidden(std::string_view layer) const {
    const auto it = layers_.find(upper(layer));
    return it != layers_.end() && it->second.hidden;
}

Color DrawingTables::layerColor(std::string_view layer) const {
    const auto it = layers_.find(upper(layer));
    return it == layers_.end() ? kDark : it->second.color;
}

const TextStyle& DrawingTables::style(std::string_view name) const {
    const auto it = styles_.find(upper(name.empty() ? "Standard" : name));
    return it != styles_.end() ? it->second : missingStyle_;
}

const dxf::Block* DrawingTables::block(std::string_view name) const {
    const auto it = blocks_.find(upper(name));
    return it == blocks_.end() ? nullptr : it->second;
}

}  // namespace kestrin::render
