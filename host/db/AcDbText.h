// AcDbText: a single line of text. Angles are in radians (the DXF record
// keeps degrees). Every setter needs the object open for write and refuses a
// value the host cannot draw with eInvalidInput.
#pragma once

#include "host/db/AcDbEntity.h"
#include "host/db/RecordTags.h"

class AcDbText : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbText)

    AcDbText();
    // A height of 0 (or less) becomes the drawing's TEXTSIZE, and the null
    // style its TEXTSTYLE, when the text is added to a database.
    AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId style = AcDbObjectId::kNull,
             double height = 0.0, double rotation = 0.0);

    AcGePoint3d position() const;
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    // The alignment point; the position when the record has none.
    AcGePoint3d alignmentPoint() const;
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);

    // A copy the caller frees with free().
    char* textString() const;
    const char* textStringConst() const;
    Acad::ErrorStatus setTextString(const char* text);

    AcDbObjectId textStyle() const;
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);  // eNotThatKindOfClass for an id of no text style

    double height() const;
    Acad::ErrorStatus setHeight(double height);  // eInvalidInput for 0 or less
    double widthFactor() const;
    Acad::ErrorStatus setWidthFactor(double factor);  // eInvalidInput for 0 or less
    double oblique() const;
    Acad::ErrorStatus setOblique(double angle);  // eInvalidInput for NaN and beyond +-85 degrees
    double rotation() const;
    Acad::ErrorStatus setRotation(double angle);  // eInvalidInput for NaN, infinity or no finite value in degrees

    AcDb::TextHorzMode horizontalMode() const;
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    AcDb::TextVertMode verticalMode() const;
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);

protected:
    // For attributes and attribute definitions: their record type and the
    // subclass section that holds their vertical mode (group 74).
    AcDbText(const char* dxfType, const char* ownMarker);
    void onAppend(kestrin::db::DrawingStore& store) override;

private:
    kestrin::db::Subclass verticalSection() const;
    int verticalCode() const;
    const char* ownMarker_ = nullptr;  // null for TEXT
};
