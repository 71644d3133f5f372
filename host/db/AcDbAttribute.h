// AcDbAttribute: a text owned by a block reference, named by its tag.
#pragma once

#include "host/db/AcDbText.h"

class AcDbAttribute : public AcDbText {
public:
    ACRX_DECLARE_MEMBERS(AcDbAttribute)
    AcDbAttribute();
    AcDbAttribute(const AcGePoint3d& position, const char* text, const char* tag,
                  AcDbObjectId style = AcDbObjectId::kNull);

    // A copy the caller frees with free().
    char* tag() const;
    const char* tagConst() const;
    // eInvalidInput for an empty tag or one with blanks.
    Acad::ErrorStatus setTag(const char* tag);
};

// Checks and writes an attribute tag (group 2) in the given section.
namespace kestrin::db {
Acad::ErrorStatus writeAttributeTag(dxf::Record& record, const Subclass& section, const char* tag);
char* copyString(std::string_view text);
}  // namespace kestrin::db
