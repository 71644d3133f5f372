// A library with the host entry point but without the version handshake.
#include "platform/win/Types.h"

extern "C" BOOL DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
extern "C" int acrxEntryPoint(int, void*) { return 0; }
