// A library that looks like a module but lacks the host entry point.
#include "platform/win/Types.h"

extern "C" BOOL DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
extern "C" int acrxGetApiVersion() { return 0xF0000; }
