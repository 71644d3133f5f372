// AcDbObject: any object of a drawing. Its data is its DXF record: getters
// and setters of the derived classes read and write tags in it, so tags the
// host does not model stay as they were.
//
// Ownership rule: an object in a database is opened by id (acdbOpenObject),
// used, and closed exactly once per open. Opens for read may overlap; an open
// for write excludes every other open. The database owns its objects: never
// delete one. An object made with new belongs to the caller until it is
// appended to a database; it is then open for write and must be closed.
#pragma once

#include "host/db/AcRxObject.h"
#include "host/db/AcadTypes.h"
#include "host/db/AcDbObjectId.h"
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "host/dxf/TagList.h"

namespace kestrin::db {
class DrawingStore;
}

class AcDbObject : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObject)
    ~AcDbObject() override;
    AcDbObject(const AcDbObject&) = delete;
    AcDbObject& operator=(const AcDbObject&) = delete;

    AcDbObjectId objectId() const;
    AcDbObjectId ownerId() const;
    AcDbDatabase* database() const;
    void getAcDbHandle(AcDbHandle& handle) const;
    bool isDatabaseResident() const { return entry_ != nullptr; }

    // Ends one open. Closing an object that is not open stops the host
    // (acrx_abort "Failed AcDbObject::close()").
    Acad::ErrorStatus close();
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();
    bool isReadEnabled() const;
    bool isWriteEnabled() const;

    // Marks the object erased (or back); needs an open for write. Erased
    // objects are not saved and cannot be opened unless asked for.
    Acad::ErrorStatus erase(bool erasing = true);
    bool isErased() const;

    // The DXF record behind the object (its type, e.g. "TEXT", and tags).
    const kestrin::dxf::Record& dxfRecord() const;

    int openReaders() const { return readers_; }

protected:
    explicit AcDbObject(const char* dxfType);

    // The record for reading / for changing. Using an object that is not open
    // as asked stops the host: that is a fault of the caller, not a status.
    const kestrin::dxf::Record& readRecord() const;
    kestrin::dxf::Record& writeRecord();
    kestrin::db::DrawingStore* store() const;
    // A NUL-terminated copy of `text` that stays valid until the object is
    // closed (for the getters that answer const char*).
    const char* keptString(std::string_view text) const;

    // Called when the object is added to a database, before it gets its id.
    virtual void onAppend(kestrin::db::DrawingStore&) {}

private:
    friend class kestrin::db::DrawingStore;
    // An open for write begins and ends (close or downgradeOpen); the end
    // tells the database's views what the write did.
    void beginWrite();
    void endWrite();
    kestrin::dxf::Record own_;            // until the object is added to a database
    kestrin::db::Entry* entry_ = nullptr;  // once it is
    int readers_ = 0;
    bool writer_ = false;
    bool added_ = false;                             // appended during the current open for write
    bool erasedBefore_ = false;                      // when the open for write began
    std::unique_ptr<kestrin::dxf::Record> before_;  // the record when the open for write began
    mutable std::deque<std::string> kept_;
};

// Opens the object `id` names. Answers eNullObjectId, eWasErased,
// eWasOpenForWrite, eWasOpenForRead or eOk.
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);

// The same, typed: eNotThatKindOfClass (nothing stays open) when the object
// is not a T.
template <class T>
Acad::ErrorStatus acdbOpenObject(T*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    obj = nullptr;
    AcDbObject* opened = nullptr;
    const Acad::ErrorStatus es = acdbOpenAcDbObject(opened, id, mode, openErased);
    if (es != Acad::eOk) return es;
    obj = T::cast(opened);
    if (obj == nullptr) {
        opened->close();
        return Acad::eNotThatKindOfClass;
    }
    return Acad::eOk;
}
