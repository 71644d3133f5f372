#include "host/db/AcDbBlockReference.h"

#include <cmath>
#include <numbers>

#include "host/db/AcDbAttribute.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"

using namespace kestrin::db;

namespace {
const Subclass kInsert{"AcDbBlockReference", 0, {66, 2, 10, 20, 30, 41, 42, 43, 50, 70, 71, 44, 45, 210, 220, 230}};
constexpr double kDegree = std::numbers::pi / 180.0;
}  // namespace

ACRX_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity)

AcDbBlockReference::AcDbBlockReference() : AcDbEntity("INSERT") {
    auto& tags = writeRecord().tags;
    tags.push(100, "AcDbBlockReference");
    tags.push(2, "");
    setPointTag(writeRecord(), kInsert, 10, AcGePoint3d::kOrigin);
}

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId record) : AcDbBlockReference() {
    setPosition(position);
    setBlockTableRecord(record);
}

AcGePoint3d AcDbBlockReference::position() const {
    return pointTag(readRecord(), kInsert, 10).value_or(AcGePoint3d::kOrigin);
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return Acad::eInvalidInput;
    setPointTag(writeRecord(), kInsert, 10, p);
    return Acad::eOk;
}

double AcDbBlockReference::rotation() const { return realTag(readRecord(), kInsert, 50, 0) * kDegree; }

Acad::ErrorStatus AcDbBlockReference::setRotation(double angle) {
    if (!std::isfinite(angle)) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kInsert, 50, toDegrees(angle));
    return Acad::eOk;
}

AcDbObjectId AcDbBlockReference::blockTableRecord() const {
    const std::string name = stringTag(readRecord(), kInsert, 2);
    if (store() == nullptr || name.empty()) return AcDbObjectId::kNull;
    return AcDbObjectId(store()->findTableEntry("BLOCK_RECORD", name, false));
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId record) {
    if (record.isNull()) return Acad::eNullObjectId;
    const Entry* e = record.entry();
    if (e->place != Place::TableEntry || e->record.type != "BLOCK_RECORD") return Acad::eNotThatKindOfClass;
    setTag(writeRecord(), kInsert, 2, DrawingStore::recordName(*e));
    return Acad::eOk;
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const {
    readRecord();
    std::vector<AcDbObjectId> ids;
    const Entry* self = objectId().entry();
    if (self != nullptr && self->children)
        for (Entry* child : *self->children)
            if (!child->erased && child->record.type == "ATTRIB") ids.emplace_back(child);
    return new AcDbObjectIterator(std::move(ids));
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* attribute) {
    AcDbObjectId id;
    return appendAttribute(id, attribute);
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute) {
    id = AcDbObjectId::kNull;
    if (attribute == nullptr) return Acad::eNullEntityPointer;
    if (!isDatabaseResident()) return Acad::eNotInDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (attribute->isDatabaseResident()) return Acad::eAlreadyInDb;
    id = AcDbObjectId(store()->appendSubEntity(objectId().entry(), *attribute));
    return Acad::eOk;
}
