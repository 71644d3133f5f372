// The module's exports: the operating-system entry that makes it an
// extension module of the framework, the host's entry point that registers
// and removes its commands and context menu, and the interface version.
#pragma once

#include "platform/ui/ResourceChain.h"
#include "platform/win/Types.h"

// What the operating-system entry keeps about the module.
struct ModuleInstanceRecord {
    int attached = 0;
    HINSTANCE hostResource = nullptr;  // current resource instance at attach
    HINSTANCE instance = nullptr;      // the module's own (its resources)
    AFX_EXTENSION_MODULE extension;
};

extern ModuleInstanceRecord g_moduleInstance;

// The command group of the module.
inline constexpr const char* kCommandGroup = "Kestrin";
// The name of the default context menu.
const char* contextMenuName();

extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
extern "C" int acrxEntryPoint(int message, void* appId);
extern "C" int acrxGetApiVersion();
