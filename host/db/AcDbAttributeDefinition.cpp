#include "host/db/AcDbAttributeDefinition.h"

#include "host/db/AcDbAttribute.h"

using namespace kestrin::db;

namespace {
const Subclass kDefinition{"AcDbAttributeDefinition", 0, {280, 3, 2, 70, 73, 74}};
}

ACRX_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText)

AcDbAttributeDefinition::AcDbAttributeDefinition() : AcDbText("ATTDEF", "AcDbAttributeDefinition") {
    auto& tags = writeRecord().tags;
    tags.push(100, "AcDbAttributeDefinition");
    tags.push(3, "");
    tags.push(2, "TAG");
    tags.push(70, "0");
}

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const char* defaultText,
                                                 const char* tagText, const char* promptText, AcDbObjectId style)
    : AcDbAttributeDefinition() {
    setPosition(position);
    setTextString(defaultText != nullptr ? defaultText : "");
    if (tagText != nullptr) setTag(tagText);
    if (promptText != nullptr) setPrompt(promptText);
    if (!style.isNull()) setTextStyle(style);
}

char* AcDbAttributeDefinition::tag() const { return copyString(tagConst()); }

const char* AcDbAttributeDefinition::tagConst() const {
    const auto value = tagValue(readRecord(), kDefinition, 2);
    return value ? keptString(*value) : "";
}

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const char* tagText) {
    return writeAttributeTag(writeRecord(), kDefinition, tagText);
}

char* AcDbAttributeDefinition::prompt() const { return copyString(promptConst()); }

const char* AcDbAttributeDefinition::promptConst() const {
    const auto value = tagValue(readRecord(), kDefinition, 3);
    return value ? keptString(*value) : "";
}

Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const char* promptText) {
    if (promptText == nullptr || std::string_view(promptText).find_first_of("\r\n") != std::string_view::npos)
        return Acad::eInvalidInput;
    kestrin::db::setTag(writeRecord(), kDefinition, 3, promptText);
    return Acad::eOk;
}
