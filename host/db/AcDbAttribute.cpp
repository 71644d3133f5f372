#include "host/db/AcDbAttribute.h"

#include <cstdlib>
#include <cstring>

using namespace kestrin::db;

namespace {
const Subclass kAttribute{"AcDbAttribute", 0, {280, 2, 70, 73, 74}};
}

namespace kestrin::db {

Acad::ErrorStatus writeAttributeTag(dxf::Record& record, const Subclass& section, const char* tag) {
    if (tag == nullptr || *tag == '\0') return Acad::eInvalidInput;
    for (const char* c = tag; *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) <= ' ') return Acad::eInvalidInput;
    setTag(record, section, 2, tag);
    return Acad::eOk;
}

char* copyString(std::string_view text) {
    char* out = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return out;
}

}  // namespace kestrin::db

ACRX_DEFINE_MEMBERS(AcDbAttribute, AcDbText)

AcDbAttribute::AcDbAttribute() : AcDbText("ATTRIB", "AcDbAttribute") {
    auto& tags = writeRecord().tags;
    tags.push(100, "AcDbAttribute");
    tags.push(2, "TAG");
    tags.push(70, "0");
}

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const char* text, const char* tagText, AcDbObjectId style)
    : AcDbAttribute() {
    setPosition(position);
    setTextString(text != nullptr ? text : "");
    if (tagText != nullptr) setTag(tagText);
    if (!style.isNull()) setTextStyle(style);
}

char* AcDbAttribute::tag() const { return copyString(tagConst()); }

const char* AcDbAttribute::tagConst() const {
    const auto value = tagValue(readRecord(), kAttribute, 2);
    return value ? keptString(*value) : "";
}

Acad::ErrorStatus AcDbAttribute::setTag(const char* tagText) { return writeAttributeTag(writeRecord(), kAttribute, tagText); }
