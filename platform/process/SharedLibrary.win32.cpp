// Windows: LoadLibrary and GetProcAddress. The library's own folder is
// searched for the libraries it needs (LOAD_WITH_ALTERED_SEARCH_PATH), as a
// module loaded by path expects.
#include "platform/process/SharedLibrary.h"

#include <windows.h>

#include "platform/fs/FileSystem.h"
#include "platform/win32/LastError.h"
#include "platform/win32/WideText.h"

namespace kestrin::process {

fs::Result<std::unique_ptr<SharedLibrary>> SharedLibrary::open(const std::string& path) {
    auto resolved = fs::FileSystem::current().resolve(path);
    if (!resolved) return resolved.error();
    // A bare name is the file in the current folder: the full path keeps the
    // loader from searching its path.
    const std::wstring wide = win32::widen(*resolved);
    std::wstring full(MAX_PATH, L'\0');
    const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return win32::lastError(path, "cannot load");
    full.resize(n);
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE handle = LoadLibraryExW(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD error = GetLastError();
    SetErrorMode(oldMode);
    if (!handle) return win32::windowsError(path, "cannot load", error);
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(reinterpret_cast<void*>(handle)));
}

SharedLibrary::~SharedLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* SharedLibrary::symbol(const char* name, std::string* why) const {
    FARPROC address = GetProcAddress(static_cast<HMODULE>(handle_), name);
    if (!address && why) *why = win32::systemMessage(GetLastError());
    return reinterpret_cast<void*>(address);
}

}  // namespace kestrin::process
