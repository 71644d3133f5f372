#include "host/db/AcDbTextStyleTable.h"

#include <cmath>
#include <numbers>

#include "host/db/AcDbAttribute.h"
#include "host/db/RecordTags.h"

using namespace kestrin::db;

namespace {
const Subclass kStyle{"AcDbTextStyleTableRecord", 0, {2, 70, 40, 41, 50, 71, 42, 3, 4}};
constexpr double kDegree = std::numbers::pi / 180.0;
}  // namespace

ACRX_DEFINE_MEMBERS(AcDbTextStyleTableRecord, AcDbSymbolTableRecord)

AcDbTextStyleTableRecord::AcDbTextStyleTableRecord() : AcDbSymbolTableRecord("STYLE", "AcDbTextStyleTableRecord") {
    auto& record = writeRecord();
    setRealTag(record, kStyle, 40, 0);
    setRealTag(record, kStyle, 41, 1);
    setRealTag(record, kStyle, 50, 0);
    setIntegerTag(record, kStyle, 71, 0);
    setRealTag(record, kStyle, 42, 2.5);
    setTag(record, kStyle, 3, "");
    setTag(record, kStyle, 4, "");
}

Acad::ErrorStatus AcDbTextStyleTableRecord::fileName(char*& name) const {
    name = copyString(tagValue(readRecord(), kStyle, 3).value_or(""));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::fileName(const char*& name) const {
    const auto value = tagValue(readRecord(), kStyle, 3);
    name = value ? keptString(*value) : "";
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const char* name) {
    if (name == nullptr) return Acad::eInvalidInput;
    setTag(writeRecord(), kStyle, 3, name);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::bigFontFileName(const char*& name) const {
    const auto value = tagValue(readRecord(), kStyle, 4);
    name = value ? keptString(*value) : "";
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const char* name) {
    if (name == nullptr) return Acad::eInvalidInput;
    setTag(writeRecord(), kStyle, 4, name);
    return Acad::eOk;
}

double AcDbTextStyleTableRecord::obliquingAngle() const { return realTag(readRecord(), kStyle, 50, 0) * kDegree; }

Acad::ErrorStatus AcDbTextStyleTableRecord::setObliquingAngle(double angle) {
    if (!std::isfinite(angle) || std::fabs(angle) > 85.0 * kDegree + 1e-12) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kStyle, 50, toDegrees(angle));
    return Acad::eOk;
}

double AcDbTextStyleTableRecord::xScale() const { return realTag(readRecord(), kStyle, 41, 1); }

Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double scale) {
    if (!std::isfinite(scale) || scale <= 0) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kStyle, 41, scale);
    return Acad::eOk;
}

double AcDbTextStyleTableRecord::textSize() const { return realTag(readRecord(), kStyle, 40, 0); }

Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size) {
    if (!std::isfinite(size) || size < 0) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kStyle, 40, size);
    return Acad::eOk;
}

double AcDbTextStyleTableRecord::priorSize() const { return realTag(readRecord(), kStyle, 42, 0); }

Acad::ErrorStatus AcDbTextStyleTableIterator::getRecord(AcDbTextStyleTableRecord*& record, AcDb::OpenMode mode, bool openErasedRecord) const {
    return openRecord(record, mode, openErasedRecord);
}

ACRX_DEFINE_MEMBERS(AcDbTextStyleTable, AcDbSymbolTable)

AcDbTextStyleTable::AcDbTextStyleTable() : AcDbSymbolTable("STYLE") {}

Acad::ErrorStatus AcDbTextStyleTable::getAt(const char* name, AcDbTextStyleTableRecord*& record, AcDb::OpenMode mode,
                                 bool openErasedRecord) const {
    return openNamed(name, record, mode, openErasedRecord);
}

Acad::ErrorStatus AcDbTextStyleTable::add(AcDbTextStyleTableRecord* record) {
    AcDbObjectId id;
    return add(id, record);
}

Acad::ErrorStatus AcDbTextStyleTable::add(AcDbObjectId& id, AcDbTextStyleTableRecord* record) {
    return addRecord(id, record);
}

Acad::ErrorStatus AcDbTextStyleTable::newIterator(AcDbTextStyleTableIterator*& iterator, bool atBeginning,
                                                  bool skipDeleted) const {
    iterator = new AcDbTextStyleTableIterator(records(), atBeginning, skipDeleted);
    return Acad::eOk;
}
