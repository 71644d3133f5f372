#include "host/db/AcDbDatabase.h"

#include <utility>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"
#include "host/db/HeaderVariables.h"
#include "host/dxf/DxfFile.h"

using namespace kestrin::db;

ACRX_DEFINE_MEMBERS(AcDbDatabase, AcRxObject)

AcDbDatabase::AcDbDatabase()
    : events_(std::make_unique<kestrin::db::DatabaseEvents>()), store_(std::make_unique<DrawingStore>(*this)) {}

AcDbDatabase::~AcDbDatabase() = default;

AcDbObjectId AcDbDatabase::blockTableId() const { return AcDbObjectId(store_->tableHead("BLOCK_RECORD")); }
AcDbObjectId AcDbDatabase::textStyleTableId() const { return AcDbObjectId(store_->tableHead("STYLE")); }

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode) const {
    table = nullptr;
    const AcDbObjectId id = blockTableId();
    if (id.isNull()) return Acad::eKeyNotFound;
    return acdbOpenObject(table, id, mode);
}

Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode) const {
    table = nullptr;
    const AcDbObjectId id = textStyleTableId();
    if (id.isNull()) return Acad::eKeyNotFound;
    return acdbOpenObject(table, id, mode);
}

AcDbObjectId AcDbDatabase::textstyle() const {
    const auto v = readVariable(std::as_const(*store_).header(), "TEXTSTYLE");
    return AcDbObjectId(store_->findTableEntry("STYLE", v ? v->text : "Standard", false));
}

Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId style) {
    if (style.isNull()) return Acad::eNullObjectId;
    if (style.entry()->store != store_.get() || style.entry()->record.type != "STYLE") return Acad::eNotThatKindOfClass;
    VariableValue v;
    v.kind = VariableValue::Kind::String;
    v.text = std::string(DrawingStore::recordName(*style.entry()));
    return writeVariable(store_->header(), "TEXTSTYLE", v) == VariableWrite::Done ? Acad::eOk : Acad::eKeyNotFound;
}

double AcDbDatabase::textsize() const {
    const auto v = readVariable(std::as_const(*store_).header(), "TEXTSIZE");
    return v ? v->real : 0;
}

Acad::ErrorStatus AcDbDatabase::setTextsize(double size) {
    VariableValue v;
    v.kind = VariableValue::Kind::Real;
    v.real = size;
    switch (writeVariable(store_->header(), "TEXTSIZE", v)) {
        case VariableWrite::Done: return Acad::eOk;
        case VariableWrite::Unknown: return Acad::eKeyNotFound;
        default: return Acad::eInvalidInput;
    }
}

bool AcDbDatabase::tilemode() const {
    const auto v = readVariable(std::as_const(*store_).header(), "TILEMODE");
    return !v || v->integer != 0;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool, const AcDbHandle& handle) const {
    id = AcDbObjectId(store_->byHandle(handle.value()));
    return id.isNull() ? Acad::eUnknownHandle : Acad::eOk;
}

void AcDbDatabase::fromDocument(kestrin::dxf::Document&& document) {
    auto fresh = std::make_unique<DrawingStore>(*this);
    fresh->load(std::move(document));  // throws before anything is replaced
    fresh->journal().forget();          // undo goes back to the drawing as loaded, no further
    store_ = std::move(fresh);
    events_->replaced.emit();
}

kestrin::dxf::Document AcDbDatabase::toDocument() const { return store_->save(); }

Acad::ErrorStatus AcDbDatabase::dxfIn(const char* fileName) {
    if (fileName == nullptr) return Acad::eInvalidInput;
    try {
        fromDocument(kestrin::dxf::readDxfFile(fileName));
        lastError_.clear();
        return Acad::eOk;
    } catch (const std::exception& e) {
        lastError_ = e.what();
        return Acad::eInvalidInput;
    }
}

Acad::ErrorStatus AcDbDatabase::dxfOut(const char* fileName) const {
    if (fileName == nullptr) return Acad::eInvalidInput;
    try {
        kestrin::dxf::saveDxfFile(toDocument(), fileName);
        lastError_.clear();
        return Acad::eOk;
    } catch (const std::exception& e) {
        lastError_ = e.what();
        return Acad::eInvalidInput;
    }
}

std::size_t AcDbDatabase::openObjectCount() const { return store_->openEntries().size(); }
