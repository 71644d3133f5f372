// What the block table and the text style table share: records found by
// name without regard to case (erased records only when asked), and an
// iterator over the records.
#pragma once

#include <vector>

#include "host/db/AcDbObject.h"
#include "host/db/RecordTags.h"

class AcDbSymbolTableRecord : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord)

    // A copy the caller frees with free().
    Acad::ErrorStatus getName(char*& name) const;
    // The record's own text, valid while the record is open and unchanged.
    Acad::ErrorStatus getName(const char*& name) const;
    // eInvalidSymbolTableName for an empty name or one with characters names
    // cannot hold; eDuplicateKey when another record of the table has it.
    Acad::ErrorStatus setName(const char* name);

protected:
    AcDbSymbolTableRecord(const char* dxfType, const char* marker);
    kestrin::db::Subclass ownSection() const;

private:
    const char* marker_;
};

class AcDbSymbolTableIterator {
public:
    AcDbSymbolTableIterator(std::vector<kestrin::db::Entry*> records, bool atBeginning, bool skipDeleted);
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const { return at_ >= records_.size(); }
    void step(bool forward = true, bool skipDeleted = true);
    Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
    Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode, bool openErasedRecord = false) const;

protected:
    // The record at the iterator opened as its table's own class (the
    // typed getRecord of each table's iterator).
    template <class Record>
    Acad::ErrorStatus openRecord(Record*& record, AcDb::OpenMode mode, bool openErasedRecord) const {
        record = nullptr;
        AcDbObjectId id;
        if (getRecordId(id) != Acad::eOk) return Acad::eInvalidInput;
        return acdbOpenObject(record, id, mode, openErasedRecord);
    }

private:
    void skip(bool forward, bool skipDeleted);
    std::vector<kestrin::db::Entry*> records_;
    std::size_t at_ = 0;
};

class AcDbSymbolTable : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTable)

    Acad::ErrorStatus getAt(const char* name, AcDbObjectId& id, bool getErasedRecord = false) const;
    bool has(const char* name) const;
    bool has(AcDbObjectId id) const;

protected:
    explicit AcDbSymbolTable(const char* table);
    Acad::ErrorStatus openAt(const char* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode, bool openErased) const;
    Acad::ErrorStatus addRecord(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    // The record of that name opened as the table's own class (the typed
    // getAt of each table).
    template <class Record>
    Acad::ErrorStatus openNamed(const char* name, Record*& record, AcDb::OpenMode mode, bool openErasedRecord) const {
        record = nullptr;
        AcDbObjectId id;
        const Acad::ErrorStatus es = getAt(name, id, openErasedRecord);
        if (es != Acad::eOk) return es;
        return acdbOpenObject(record, id, mode, openErasedRecord);
    }
    std::vector<kestrin::db::Entry*> records() const;

private:
    const char* table_;
};

namespace kestrin::db {
// True when `name` can name a table record.
bool validSymbolName(const char* name);
}
