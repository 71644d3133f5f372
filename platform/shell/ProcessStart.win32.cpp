// Windows: a program found along PATH (SearchPath) and started with
// CreateProcess from a command line quoted by the platform's rules, so each
// argument arrives as it was given. Not waited for.
#include "platform/shell/ProcessStart.h"

#include <windows.h>

#include <cerrno>

#include "platform/win32/LastError.h"
#include "platform/win32/WideText.h"

namespace kestrin::shell {

namespace {

// An argument as the C runtime's command-line split reads it back.
std::wstring quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') out.append(backslashes * 2 + 1, L'\\');
        else out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

int fileError(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return win32::errnoOf(GetLastError());
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EACCES : 0;
}

}  // namespace

FoundProgram findProgram(const std::string& name) {
    if (name.empty()) return {{}, ENOENT};
    const std::wstring wide = win32::widen(name);
    if (name.find_first_of("\\/:") != std::string::npos) return {name, fileError(wide)};
    wchar_t found[MAX_PATH];
    const DWORD n = SearchPathW(nullptr, wide.c_str(), L".exe", MAX_PATH, found, nullptr);
    if (n == 0 || n >= MAX_PATH) return {{}, ENOENT};
    return {win32::narrow(std::wstring_view(found, n)), 0};
}

int startDetached(const std::vector<std::string>& argv, const std::string& directory) {
    if (argv.empty() || argv[0].empty()) return ENOENT;
    std::wstring commandLine;
    for (const std::string& arg : argv) {
        if (!commandLine.empty()) commandLine += L' ';
        commandLine += quoted(win32::widen(arg));
    }
    const std::wstring program = win32::widen(argv[0]);
    const std::wstring folder = win32::widen(directory);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, folder.empty() ? nullptr : folder.c_str(),
                        &startup, &started))
        return win32::errnoOf(GetLastError());
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return 0;
}

}  // namespace kestrin::shell
