// AcDbAttributeDefinition: the template of an attribute inside a block
// definition: tag, prompt and default text (its text string).
#pragma once

#include "host/db/AcDbText.h"

class AcDbAttributeDefinition : public AcDbText {
public:
    ACRX_DECLARE_MEMBERS(AcDbAttributeDefinition)
    AcDbAttributeDefinition();
    AcDbAttributeDefinition(const AcGePoint3d& position, const char* defaultText, const char* tag,
                            const char* prompt, AcDbObjectId style = AcDbObjectId::kNull);

    char* tag() const;  // a copy the caller frees with free()
    const char* tagConst() const;
    Acad::ErrorStatus setTag(const char* tag);  // eInvalidInput for an empty tag or one with blanks
    char* prompt() const;
    const char* promptConst() const;
    Acad::ErrorStatus setPrompt(const char* prompt);
};
