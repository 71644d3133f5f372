#include "platform/help/win32/Kernel32Modules.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace kestrin::win32::modules {

void* load(const std::string& nameOrPath) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryW(widen(nameOrPath).c_str());
    SetErrorMode(oldMode);
    return reinterpret_cast<void*>(library);
}

void* exportByOrdinal(void* library, int ordinal) {
    return reinterpret_cast<void*>(
        GetProcAddress(static_cast<HMODULE>(library), MAKEINTRESOURCEA(static_cast<WORD>(ordinal))));
}

bool release(void* library) { return FreeLibrary(static_cast<HMODULE>(library)) != 0; }

}  // namespace kestrin::win32::modules
