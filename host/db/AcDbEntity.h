// AcDbEntity: an object with a place in a block (model space, paper space or
// a block definition) and a layer.
#pragma once

#include "host/db/AcDbObject.h"

class AcDbEntity : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbEntity)

    // The layer's name, a copy the caller frees with free().
    char* layer() const;
    Acad::ErrorStatus setLayer(const char* layerName);
    AcDbObjectId blockId() const { return ownerId(); }

protected:
    explicit AcDbEntity(const char* dxfType);
};

// A DXF entity the host does not model, kept as read. Its class is named
// after the record's subclass markers ("AcDbPolyline" for LWPOLYLINE).
class AcDbUnmodelledEntity : public AcDbEntity {
public:
    static AcRxClass* desc() { return AcDbEntity::desc(); }
    AcRxClass* isA() const override { return class_; }
    explicit AcDbUnmodelledEntity(AcRxClass* cls) : AcDbEntity(""), class_(cls) {}

private:
    AcRxClass* class_;
};

// The same for objects and table records the host does not model.
class AcDbUnmodelledObject : public AcDbObject {
public:
    static AcRxClass* desc() { return AcDbObject::desc(); }
    AcRxClass* isA() const override { return class_; }
    explicit AcDbUnmodelledObject(AcRxClass* cls) : AcDbObject(""), class_(cls) {}

private:
    AcRxClass* class_;
};
