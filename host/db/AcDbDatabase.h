// AcDbDatabase: one drawing. It is built from a DXF document and written
// back into one with every record it does not model unchanged.
#pragma once

#include <memory>
#include <string>

#include "base/Signal.h"
#include "host/db/AcDbObject.h"

class AcDbBlockTable;
class AcDbTextStyleTable;

namespace kestrin::dxf {
struct Document;
}
namespace kestrin::db {
class DrawingStore;
}

namespace kestrin::db {
// What a database tells its views. Each fires when the open for write that
// made the change ends (close or downgradeOpen), once per open, after the
// object is closed; a write that leaves the record as it was fires nothing.
//   added    an object was appended (or an erased one brought back).
//   changed  an object's data changed (not fired for an erased object).
//   erased   an object was erased.
//   replaced the whole drawing was replaced (fromDocument, dxfIn); ids of the
//            old drawing are gone.
struct DatabaseEvents {
    Signal<AcDbObjectId> added;
    Signal<AcDbObjectId> changed;
    Signal<AcDbObjectId> erased;
    Signal<> replaced;
};
}  // namespace kestrin::db

class AcDbDatabase : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbDatabase)
    // An empty database: no header, no tables. The host fills it with
    // fromDocument (its new-drawing template or a file).
    AcDbDatabase();
    ~AcDbDatabase() override;
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode = AcDb::kForRead) const;
    Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode = AcDb::kForRead) const;
    Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode = AcDb::kForRead) const {
        return getBlockTable(table, mode);
    }
    Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode = AcDb::kForRead) const {
        return getTextStyleTable(table, mode);
    }
    AcDbObjectId blockTableId() const;
    AcDbObjectId textStyleTableId() const;

    // Header values the host itself uses.
    AcDbObjectId textstyle() const;  // TEXTSTYLE's record
    Acad::ErrorStatus setTextstyle(AcDbObjectId style);
    double textsize() const;
    Acad::ErrorStatus setTextsize(double size);  // eInvalidInput for 0 or less
    bool tilemode() const;

    // The object with `handle`; eUnknownHandle when there is none.
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle) const;

    // Reading and writing a DXF file. On failure the database is unchanged
    // (dxfIn) or the old file is kept (dxfOut); lastError() says why (UTF-8).
    Acad::ErrorStatus dxfIn(const char* fileName);
    Acad::ErrorStatus dxfOut(const char* fileName) const;
    const std::string& lastError() const { return lastError_; }

    // Replaces the whole drawing; throws kestrin::db::DatabaseError (and keeps
    // the drawing it had) when the document is inconsistent.
    void fromDocument(kestrin::dxf::Document&& document);
    kestrin::dxf::Document toDocument() const;

    // Objects open at this moment (the host's leak check).
    std::size_t openObjectCount() const;
    kestrin::db::DrawingStore& store() const { return *store_; }

    // The changes of the drawing, for views.
    kestrin::db::DatabaseEvents& events() const { return *events_; }

private:
    std::unique_ptr<kestrin::db::DatabaseEvents> events_;  // before the store: it outlives the objects
    std::unique_ptr<kestrin::db::DrawingStore> store_;
    mutable std::string lastError_;
};
