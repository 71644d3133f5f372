#include "host/db/AcDbSymbolTable.h"

#include <cstring>

#include "host/db/AcDbAttribute.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"

using namespace kestrin::db;

namespace kestrin::db {
bool validSymbolName(const char* name) {
    if (name == nullptr || *name == '\0' || std::strlen(name) > 255) return false;
    if (std::strpbrk(name, "<>/\\\":;?*|,=`") != nullptr) return false;
    for (const char* c = name; *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) < ' ') return false;
    return name[0] != ' ' && name[std::strlen(name) - 1] != ' ';
}
}  // namespace kestrin::db

ACRX_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)

AcDbSymbolTableRecord::AcDbSymbolTableRecord(const char* dxfType, const char* marker)
    : AcDbObject(dxfType), marker_(marker) {
    auto& tags = writeRecord().tags;
    tags.push(100, "AcDbSymbolTableRecord");
    tags.push(100, marker);
    tags.push(2, "");
    tags.push(70, "0");
}

Subclass AcDbSymbolTableRecord::ownSection() const { return Subclass{marker_, 0, {2, 70}}; }

Acad::ErrorStatus AcDbSymbolTableRecord::getName(char*& name) const {
    name = copyString(tagValue(readRecord(), ownSection(), 2).value_or(""));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const char*& name) const {
    const auto value = tagValue(readRecord(), ownSection(), 2);
    name = value ? keptString(*value) : "";
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const char* name) {
    if (!validSymbolName(name)) return Acad::eInvalidSymbolTableName;
    auto& record = writeRecord();
    if (const Entry* self = objectId().entry()) {
        const Entry* other = self->store->findTableEntry(record.type, name, false);
        if (other != nullptr && other != self) return Acad::eDuplicateKey;
    }
    setTag(record, ownSection(), 2, name);
    return Acad::eOk;
}

AcDbSymbolTableIterator::AcDbSymbolTableIterator(std::vector<Entry*> records, bool atBeginning, bool skipDeleted)
    : records_(std::move(records)) {
    start(atBeginning, skipDeleted);
}

void AcDbSymbolTableIterator::skip(bool forward, bool skipDeleted) {
    while (!done() && skipDeleted && records_[at_]->erased) at_ = forward ? at_ + 1 : (at_ == 0 ? records_.size() : at_ - 1);
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
    at_ = atBeginning ? 0 : (records_.empty() ? 0 : records_.size() - 1);
    skip(atBeginning, skipDeleted);
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
    if (done()) return;
    at_ = forward ? at_ + 1 : (at_ == 0 ? records_.size() : at_ - 1);
    skip(forward, skipDeleted);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
    id = done() ? AcDbObjectId::kNull : AcDbObjectId(records_[at_]);
    return done() ? Acad::eInvalidInput : Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErasedRecord) const {
    record = nullptr;
    if (done()) return Acad::eInvalidInput;
    return acdbOpenObject(record, AcDbObjectId(records_[at_]), mode, openErasedRecord);
}

ACRX_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)

AcDbSymbolTable::AcDbSymbolTable(const char* table) : AcDbObject("TABLE"), table_(table) {}

std::vector<Entry*> AcDbSymbolTable::records() const {
    readRecord();
    const auto* entries = store() != nullptr ? store()->tableEntries(table_) : nullptr;
    return entries != nullptr ? *entries : std::vector<Entry*>{};
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* name, AcDbObjectId& id, bool getErasedRecord) const {
    id = AcDbObjectId::kNull;
    readRecord();
    if (name == nullptr || store() == nullptr) return Acad::eInvalidInput;
    Entry* found = store()->findTableEntry(table_, name, false);
    if (found == nullptr && getErasedRecord) found = store()->findTableEntry(table_, name, true);
    if (found == nullptr) return Acad::eKeyNotFound;
    id = AcDbObjectId(found);
    return Acad::eOk;
}

bool AcDbSymbolTable::has(const char* name) const {
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
    for (Entry* e : records())
        if (e == id.entry() && !e->erased) return true;
    return false;
}

Acad::ErrorStatus AcDbSymbolTable::openAt(const char* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                          bool openErased) const {
    record = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus es = getAt(name, id, openErased);
    if (es != Acad::eOk) return es;
    return acdbOpenObject(record, id, mode, openErased);
}

Acad::ErrorStatus AcDbSymbolTable::addRecord(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
    id = AcDbObjectId::kNull;
    if (record == nullptr) return Acad::eNullEntityPointer;
    if (!isDatabaseResident()) return Acad::eNotInDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (record->isDatabaseResident()) return Acad::eAlreadyInDb;
    const char* name = nullptr;
    record->getName(name);
    if (!validSymbolName(name)) return Acad::eInvalidSymbolTableName;
    if (store()->findTableEntry(table_, name, false) != nullptr) return Acad::eDuplicateKey;
    Entry* e = store()->addTableEntry(table_, *record);
    if (e == nullptr) return Acad::eNotApplicable;
    id = AcDbObjectId(e);
    return Acad::eOk;
}
