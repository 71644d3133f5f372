// Makes the object for an entry of the store when it is first opened, of the
// class its record and place call for.
#pragma once

#include <memory>
#include <string>

#include "host/db/DrawingStore.h"

class AcRxClass;

namespace kestrin::db {

std::unique_ptr<AcDbObject> makeObject(const Entry& entry);

// The host class name of a record the host does not model: its last
// subclass marker, or a known name for its DXF type.
std::string unmodelledClassName(const dxf::Record& record, Place place);

}  // namespace kestrin::db
