// AcDbBlockReference: an insertion of a block, owning its attributes (and
// the SEQEND that closes them).
#pragma once

#include <vector>

#include "host/db/AcDbEntity.h"

class AcDbAttribute;

// Walks a fixed list of ids, taken when the iterator was made.
class AcDbObjectIterator {
public:
    explicit AcDbObjectIterator(std::vector<AcDbObjectId> ids) : ids_(std::move(ids)) {}
    void start(bool atEnd = false) { at_ = atEnd && !ids_.empty() ? ids_.size() - 1 : 0; }
    bool done() const { return at_ >= ids_.size(); }
    void step(bool backwards = false) { at_ = backwards ? (at_ == 0 ? ids_.size() : at_ - 1) : at_ + 1; }
    AcDbObjectId objectId() const { return done() ? AcDbObjectId::kNull : ids_[at_]; }

private:
    std::vector<AcDbObjectId> ids_;
    std::size_t at_ = 0;
};

class AcDbBlockReference : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockReference)
    AcDbBlockReference();
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);

    AcGePoint3d position() const;
    Acad::ErrorStatus setPosition(const AcGePoint3d& point);
    double rotation() const;
    Acad::ErrorStatus setRotation(double angle);
    AcDbObjectId blockTableRecord() const;
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId record);

    // The attributes that are not erased, in order; the caller deletes the
    // iterator.
    AcDbObjectIterator* attributeIterator() const;
    // Adds an attribute before the SEQEND (made when missing). The reference
    // must be in a database and open for write; the attribute is then open
    // for write and must be closed.
    Acad::ErrorStatus appendAttribute(AcDbAttribute* attribute);
    Acad::ErrorStatus appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute);
};
