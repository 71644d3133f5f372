#include "host/db/AcDbObject.h"

#include "host/db/Abort.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"

#include <utility>

ACRX_DEFINE_MEMBERS(AcDbObject, AcRxObject)

AcDbObject::AcDbObject(const char* dxfType) { own_.type = dxfType; }

AcDbObject::~AcDbObject() {
    // The store clears entry_ before it deletes its objects; anyone else
    // deleting a database-resident object would leave a dangling entry.
    if (entry_ != nullptr)
        acrx_abort("%s %s was deleted while in a database", isA()->name(), kestrin::db::formatHandle(entry_->handle).c_str());
}

AcDbObjectId AcDbObject::objectId() const { return AcDbObjectId(entry_); }

AcDbObjectId AcDbObject::ownerId() const {
    if (entry_ == nullptr) return AcDbObjectId::kNull;
    return AcDbObjectId(const_cast<kestrin::db::Entry*>(entry_->store->ownerOf(*entry_)));
}

AcDbDatabase* AcDbObject::database() const { return entry_ != nullptr ? &entry_->store->database() : nullptr; }

void AcDbObject::getAcDbHandle(AcDbHandle& handle) const { handle = AcDbHandle(entry_ != nullptr ? entry_->handle : 0); }

const char* AcDbObject::keptString(std::string_view text) const {
    if (kept_.size() > 1024) kept_.pop_front();  // an object never closed: bound what it keeps
    return kept_.emplace_back(text).c_str();
}

kestrin::db::DrawingStore* AcDbObject::store() const { return entry_ != nullptr ? entry_->store : nullptr; }

Acad::ErrorStatus AcDbObject::close() {
    if (entry_ == nullptr || (readers_ == 0 && !writer_)) acrx_abort("Failed AcDbObject::close()");
    const bool wrote = writer_;
    if (writer_) writer_ = false;
    else --readers_;
    if (readers_ == 0 && !writer_) {
        entry_->store->noteClosed(entry_);
        kept_.clear();
    }
    if (wrote) endWrite();  // last: the views may open the object
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
    if (writer_) return Acad::eWasOpenForWrite;
    if (readers_ != 1) return Acad::eWasOpenForRead;
    readers_ = 0;
    writer_ = true;
    beginWrite();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
    if (!writer_) return Acad::eNotOpenForWrite;
    writer_ = false;
    readers_ = 1;
    endWrite();
    return Acad::eOk;
}

void AcDbObject::beginWrite() {
    entry_->store->journal().noteWrite(*entry_);
    before_ = std::make_unique<kestrin::dxf::Record>(entry_->record);
    erasedBefore_ = entry_->erased;
}

void AcDbObject::endWrite() {
    const bool added = std::exchange(added_, false);
    const std::unique_ptr<kestrin::dxf::Record> before = std::move(before_);
    const bool erased = entry_->erased;
    const bool changed = before && (before->type != entry_->record.type || !(before->tags == entry_->record.tags));
    auto& events = entry_->store->database().events();
    const AcDbObjectId id(entry_);
    if (added) {
        if (!erased) events.added.emit(id);
    } else if (erased != erasedBefore_) {
        (erased ? events.erased : events.added).emit(id);
    } else if (changed && !erased) {
        events.changed.emit(id);
    }
}

bool AcDbObject::isReadEnabled() const { return entry_ == nullptr || readers_ > 0 || writer_; }
bool AcDbObject::isWriteEnabled() const { return entry_ == nullptr || writer_; }

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
    if (entry_ == nullptr) return Acad::eNotInDatabase;
    if (!writer_) return Acad::eNotOpenForWrite;
    entry_->erased = erasing;
    return Acad::eOk;
}

bool AcDbObject::isErased() const { return entry_ != nullptr && entry_->erased; }

const kestrin::dxf::Record& AcDbObject::dxfRecord() const { return readRecord(); }

const kestrin::dxf::Record& AcDbObject::readRecord() const {
    if (!isReadEnabled())
        acrx_abort("%s %s is used while it is not open", isA()->name(), kestrin::db::formatHandle(entry_->handle).c_str());
    return entry_ != nullptr ? entry_->record : own_;
}

kestrin::dxf::Record& AcDbObject::writeRecord() {
    if (!isWriteEnabled())
        acrx_abort("%s %s is changed while it is not open for write", isA()->name(),
                   kestrin::db::formatHandle(entry_->handle).c_str());
    return entry_ != nullptr ? entry_->record : own_;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
    obj = nullptr;
    if (id.isNull()) return Acad::eNullObjectId;
    return id.entry()->store->open(obj, id.entry(), mode, openErased);
}
