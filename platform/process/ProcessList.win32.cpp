// Windows: the processes of a Tool Help snapshot, by their executable's name.
#include <windows.h>
#include <tlhelp32.h>

#include "platform/process/Processes.h"
#include "platform/win32/LastError.h"
#include "platform/win32/WideText.h"

namespace kestrin::process {

fs::Result<std::vector<ProcessInfo>> listProcesses(fs::FileSystem&) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return win32::lastError("processes", "cannot list");
    std::vector<ProcessInfo> out;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        out.push_back({static_cast<int>(entry.th32ProcessID), win32::narrow(entry.szExeFile)});
    const DWORD error = GetLastError();
    CloseHandle(snapshot);
    if (error != ERROR_NO_MORE_FILES) return win32::windowsError("processes", "cannot list", error);
    return out;
}

}  // namespace kestrin::process
