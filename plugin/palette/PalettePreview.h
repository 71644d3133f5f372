// The palette's preview: the text properties record, the preview entity it
// names (record.entity), the record's text style and the system variables
// TEXTSTYLE and TEXTSIZE. It works on plain field values and knows no
// controls; the palette moves those values between its controls and here.
#pragma once

#include <string>
#include <vector>

#include "host/api/AdsTypes.h"
#include "plugin/palette/TextProperties.h"

// The palette's property fields as typed (numbers are parsed where used).
struct PaletteFields {
    std::string text, height, rotation, style, oblique, width, offsetX, offsetY;
};

class PalettePreview {
public:
    explicit PalettePreview(TextProperties& record) : r_(record) {}
    TextProperties& record() { return r_; }

    // Record to fields: the offsets when they are not 0, the rotation in
    // whole degrees, the style (looked up again; when it is gone, TEXTSTYLE),
    // the height (TEXTSIZE while it is 0), the slant and the width factor
    // (the style record's while they are 0, which the record then keeps)
    // and the text. A width factor of its own clears the picked flag.
    void show(PaletteFields& fields);

    // Fields to record, record to the preview entity, then the style name,
    // TEXTSTYLE, TEXTSIZE, the style record's slant and width factor, the
    // display and the whole-number offsets. A preview that cannot be opened
    // is skipped. Answers false, after taking only the text, when the
    // preview is not a text.
    bool apply(const PaletteFields& fields);

    // Erases the preview when `fieldText` is empty and it is a text; the
    // record's text becomes empty either way.
    void eraseIfEmpty(const std::string& fieldText, const ads_name entity);
    // Erases the preview when it is a text; answers whether it did.
    bool eraseText();
    // Moves the preview, when it is a text, by `to` minus `from`: the same
    // entity with every property and its handle. Answers whether it moved.
    bool moveText(const AcGePoint3d& from, const AcGePoint3d& to);

    // Whether the preview is a text the user picked from the drawing (the
    // palette moves it in place) rather than a line the palette made.
    bool pickedFromDrawing() const { return pickedFromDrawing_; }
    void setPickedFromDrawing(bool picked) { pickedFromDrawing_ = picked; }

    // The style chosen from the list becomes the record's.
    void chooseStyle(const std::string& name);
    // The kept style name taken afresh from the record's style id.
    const std::string& refreshStyleName();
    // Typed slant and width write the style record at once.
    void setSlantDegrees(double degrees);
    void setWidthOfStyle(double widthFactor, const std::string& styleName);

    // The names of the drawing's text styles, in table order (erased records
    // and records without a name left out).
    static std::vector<std::string> styleNames();

private:
    TextProperties& r_;
    bool pickedFromDrawing_ = false;
};
