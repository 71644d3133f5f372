// Opening and closing host objects. A close that fails means the drawing's
// open/close bookkeeping is broken, and the host must stop.
#pragma once

#include "host/api/Arx.h"

// Opens the object an entity name refers to for write, as a T (AcDbObject,
// AcDbEntity, ...); null when the name is stale or the object cannot be
// opened as a T.
template <class T>
T* openForWrite(const ads_name name) {
    AcDbObjectId id;
    T* object = nullptr;
    if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenObject(object, id, AcDb::kForWrite) != Acad::eOk)
        return nullptr;
    return object;
}

void closeOrAbort(AcDbObject* object);
