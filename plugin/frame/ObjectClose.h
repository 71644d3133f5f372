// Closing an opened host object: a close that fails means the drawing's
// open/close bookkeeping is broken, and the host must stop.
#pragma once

#include "host/api/Arx.h"

void closeOrAbort(AcDbObject* object);
