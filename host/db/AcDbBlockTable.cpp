#include "host/db/AcDbBlockTable.h"

#include "host/db/AcDbEntity.h"
#include "host/db/DrawingStore.h"

using namespace kestrin::db;

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(std::vector<Entry*> entities, bool atBeginning,
                                                           bool skipDeleted)
    : entities_(std::move(entities)) {
    start(atBeginning, skipDeleted);
}

void AcDbBlockTableRecordIterator::skip(bool forward, bool skipDeleted) {
    while (!done() && skipDeleted && entities_[at_]->erased)
        at_ = forward ? at_ + 1 : (at_ == 0 ? entities_.size() : at_ - 1);
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
    at_ = atBeginning ? 0 : (entities_.empty() ? 0 : entities_.size() - 1);
    skip(atBeginning, skipDeleted);
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
    if (done()) return;
    at_ = forward ? at_ + 1 : (at_ == 0 ? entities_.size() : at_ - 1);
    skip(forward, skipDeleted);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
    id = done() ? AcDbObjectId::kNull : AcDbObjectId(entities_[at_]);
    return done() ? Acad::eInvalidInput : Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErasedEntity) const {
    entity = nullptr;
    if (done()) return Acad::eInvalidInput;
    return acdbOpenObject(entity, AcDbObjectId(entities_[at_]), mode, openErasedEntity);
}

ACRX_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord)

AcDbBlockTableRecord::AcDbBlockTableRecord() : AcDbSymbolTableRecord("BLOCK_RECORD", "AcDbBlockTableRecord") {}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
    AcDbObjectId id;
    return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
    id = AcDbObjectId::kNull;
    if (entity == nullptr) return Acad::eNullEntityPointer;
    if (!isDatabaseResident()) return Acad::eNotInDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (entity->isDatabaseResident()) return Acad::eAlreadyInDb;
    Entry* e = store()->appendEntity(objectId().entry(), *entity);
    if (e == nullptr) return Acad::eNotApplicable;  // a block record without its block
    id = AcDbObjectId(e);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const {
    readRecord();
    iterator = new AcDbBlockTableRecordIterator(store() != nullptr ? store()->entitiesOf(objectId().entry())
                                                                   : std::vector<Entry*>{},
                                                atBeginning, skipDeleted);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableIterator::getRecord(AcDbBlockTableRecord*& record, AcDb::OpenMode mode, bool openErasedRecord) const {
    return openRecord(record, mode, openErasedRecord);
}

ACRX_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable)

AcDbBlockTable::AcDbBlockTable() : AcDbSymbolTable("BLOCK_RECORD") {}

Acad::ErrorStatus AcDbBlockTable::getAt(const char* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                                 bool openErasedRecord) const {
    return openNamed(name, record, mode, openErasedRecord);
}

Acad::ErrorStatus AcDbBlockTable::newIterator(AcDbBlockTableIterator*& iterator, bool atBeginning,
                                              bool skipDeleted) const {
    iterator = new AcDbBlockTableIterator(records(), atBeginning, skipDeleted);
    return Acad::eOk;
}
