// The block table and its records: "*Model_Space", "*Paper_Space" and the
// user's blocks. Entities are added to a record with appendAcDbEntity.
#pragma once

#include <vector>

#include "host/db/AcDbSymbolTable.h"

class AcDbEntity;

class AcDbBlockTableRecordIterator {
public:
    AcDbBlockTableRecordIterator(std::vector<kestrin::db::Entry*> entities, bool atBeginning, bool skipDeleted);
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const { return at_ >= entities_.size(); }
    void step(bool forward = true, bool skipDeleted = true);
    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErasedEntity = false) const;

private:
    void skip(bool forward, bool skipDeleted);
    std::vector<kestrin::db::Entry*> entities_;
    std::size_t at_ = 0;
};

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord)
    AcDbBlockTableRecord();

    // The record must be in a database and open for write; the entity is
    // then in the database, open for write, and must be closed.
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    // The caller deletes the iterator.
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
};

class AcDbBlockTableIterator : public AcDbSymbolTableIterator {
public:
    using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
    using AcDbSymbolTableIterator::getRecord;
    Acad::ErrorStatus getRecord(AcDbBlockTableRecord*& record, AcDb::OpenMode mode, bool openErasedRecord = false) const;
};

class AcDbBlockTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockTable)
    AcDbBlockTable();

    using AcDbSymbolTable::getAt;
    Acad::ErrorStatus getAt(const char* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                            bool openErasedRecord = false) const;
    Acad::ErrorStatus newIterator(AcDbBlockTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
};

// Names of the two layout blocks.
inline constexpr const char* ACDB_MODEL_SPACE = "*Model_Space";
inline constexpr const char* ACDB_PAPER_SPACE = "*Paper_Space";
