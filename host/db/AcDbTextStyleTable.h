// The text style table and its records. Angles in radians.
#pragma once

#include "host/db/AcDbSymbolTable.h"

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord)
    AcDbTextStyleTableRecord();

    Acad::ErrorStatus fileName(char*& name) const;  // a copy the caller frees with free()
    Acad::ErrorStatus fileName(const char*& name) const;
    Acad::ErrorStatus setFileName(const char* name);
    Acad::ErrorStatus bigFontFileName(const char*& name) const;
    Acad::ErrorStatus setBigFontFileName(const char* name);
    double obliquingAngle() const;
    Acad::ErrorStatus setObliquingAngle(double angle);  // eInvalidInput beyond +-85 degrees
    double xScale() const;
    Acad::ErrorStatus setXScale(double scale);  // eInvalidInput for 0 or less
    double textSize() const;
    Acad::ErrorStatus setTextSize(double size);  // 0 is a style of free height; eInvalidInput below
    double priorSize() const;
};

class AcDbTextStyleTableIterator : public AcDbSymbolTableIterator {
public:
    using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
    using AcDbSymbolTableIterator::getRecord;
    Acad::ErrorStatus getRecord(AcDbTextStyleTableRecord*& record, AcDb::OpenMode mode,
                                bool openErasedRecord = false) const;
};

class AcDbTextStyleTable : public AcDbSymbolTable {
public:
    ACRX_DECLARE_MEMBERS(AcDbTextStyleTable)
    AcDbTextStyleTable();

    using AcDbSymbolTable::getAt;
    Acad::ErrorStatus getAt(const char* name, AcDbTextStyleTableRecord*& record, AcDb::OpenMode mode,
                            bool openErasedRecord = false) const;
    // The table must be open for write; the record is then in the database,
    // open for write, and must be closed.
    Acad::ErrorStatus add(AcDbTextStyleTableRecord* record);
    Acad::ErrorStatus add(AcDbObjectId& id, AcDbTextStyleTableRecord* record);
    // The caller deletes the iterator.
    Acad::ErrorStatus newIterator(AcDbTextStyleTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
};
