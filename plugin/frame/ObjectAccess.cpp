#include "plugin/frame/ObjectAccess.h"

void closeOrAbort(AcDbObject* object) {
    if (object != nullptr && object->close() != Acad::eOk) acrx_abort("%s", "Failed AcDbObject::close()");
}
