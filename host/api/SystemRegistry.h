// The host's system registry: "ClassDictionary" (every class descriptor),
// "DynamicLinker" and "ACAD_REGISTERED_COMMANDS" (the command stack).
#pragma once

#include "host/db/AcRxObject.h"

AcRxDictionary* acrxSysRegistry();
AcRxDictionary* acrxClassDictionary();

namespace AcRx {
enum AppMsgCode { kNullMsg = 0, kInitAppMsg = 1, kUnloadAppMsg = 2, kLoadDwgMsg = 3, kUnloadDwgMsg = 4 };
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx
