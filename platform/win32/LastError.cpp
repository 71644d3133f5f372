#include "platform/win32/LastError.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/win32/WideText.h"

namespace kestrin::win32 {

int errnoOf(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_PATHNAME:
        case ERROR_MOD_NOT_FOUND: return ENOENT;
        case ERROR_DIRECTORY: return ENOTDIR;
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS: return EEXIST;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return EBUSY;
        case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_BAD_EXE_FORMAT: return ENOEXEC;
        case ERROR_NOT_SAME_DEVICE: return EXDEV;
        case ERROR_INVALID_NAME: return EINVAL;
        default: return EIO;
    }
}

std::string systemMessage(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = n > 0 && text != nullptr ? narrow(std::wstring_view(text, n)) : std::string();
    if (text != nullptr) LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    if (out.empty()) out = "system error " + std::to_string(error);
    return out;
}

namespace {

// A missing path whose folder part is a file: what Linux calls ENOTDIR.
bool folderIsAFile(const std::string& path) {
    for (std::size_t cut = path.find_last_of("\\/"); cut != std::string::npos && cut > 0;
         cut = path.find_last_of("\\/", cut - 1)) {
        const DWORD attributes = GetFileAttributesW(widen(path.substr(0, cut)).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    return false;
}

}  // namespace

fs::Error windowsError(std::string path, std::string action, unsigned long error) {
    int code = errnoOf(error);
    if (code == ENOENT && error == ERROR_PATH_NOT_FOUND && folderIsAFile(path)) code = ENOTDIR;
    // The C runtime's text where the errno means the same, so that a message
    // reads alike on both systems; the system's own text for the rest.
    std::string reason = code == EIO ? systemMessage(error) : std::string(std::strerror(code));
    return fs::Error{std::move(path), std::move(action), std::move(reason), code};
}

fs::Error lastError(std::string path, std::string action) {
    return windowsError(std::move(path), std::move(action), GetLastError());
}

}  // namespace kestrin::win32
