#include "host/db/AcDbEntity.h"

#include <cstdlib>
#include <cstring>

#include "host/db/RecordTags.h"

namespace {
const kestrin::db::Subclass kEntity{"AcDbEntity", 0, {67, 8, 6, 62, 370, 48, 60}};

char* copyOf(const std::string& text) {
    char* out = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}
}  // namespace

ACRX_DEFINE_MEMBERS(AcDbEntity, AcDbObject)

AcDbEntity::AcDbEntity(const char* dxfType) : AcDbObject(dxfType) {
    if (*dxfType == '\0') return;  // an unmodelled entity gets its record from the store
    auto& tags = writeRecord().tags;
    tags.push(100, "AcDbEntity");
    tags.push(8, "0");
}

char* AcDbEntity::layer() const { return copyOf(kestrin::db::stringTag(readRecord(), kEntity, 8, "0")); }

Acad::ErrorStatus AcDbEntity::setLayer(const char* layerName) {
    if (layerName == nullptr || *layerName == '\0') return Acad::eInvalidInput;
    kestrin::db::setTag(writeRecord(), kEntity, 8, layerName);
    return Acad::eOk;
}
