#include "platform/registry/SystemMessages.h"

#include <cstdlib>
#include <cstring>

namespace {

thread_local DWORD lastError = 0;

const char* messageText(DWORD code) {
    switch (code) {
        case ERROR_SUCCESS: return "The operation completed successfully.";
        case ERROR_FILE_NOT_FOUND: return "The system cannot find the file specified.";
        case ERROR_PATH_NOT_FOUND: return "The system cannot find the path specified.";
        case ERROR_ACCESS_DENIED: return "Access is denied.";
        case ERROR_INVALID_HANDLE: return "The handle is invalid.";
        case ERROR_NOT_ENOUGH_MEMORY: return "Not enough storage is available to process this command.";
        case ERROR_INVALID_PARAMETER: return "The parameter is incorrect.";
        case ERROR_INSUFFICIENT_BUFFER: return "The data area passed to a system call is too small.";
        case ERROR_MORE_DATA: return "More data is available.";
        case ERROR_NO_MORE_ITEMS: return "No more data is available.";
        case ERROR_MR_MID_NOT_FOUND:
            return "The system cannot find message text for message number 0x%1 in the message file for %2.";
        case ERROR_BADDB: return "The configuration registry database is corrupt.";
        case ERROR_BADKEY: return "The configuration registry key is invalid.";
        case ERROR_CANTOPEN: return "The configuration registry key could not be opened.";
        case ERROR_CANTREAD: return "The configuration registry key could not be read.";
        case ERROR_CANTWRITE: return "The configuration registry key could not be written.";
        case ERROR_REGISTRY_IO_FAILED:
            return "An I/O operation initiated by the registry failed unrecoverably. The registry could not read in, "
                   "or write out, or flush, one of the files that contain the system's image of the registry.";
        case ERROR_KEY_DELETED: return "Illegal operation attempted on a registry key that has been marked for deletion.";
        case ERROR_CHILD_MUST_BE_VOLATILE:
            return "Cannot create a stable subkey under a volatile parent key.";
        default: return nullptr;
    }
}

}  // namespace

DWORD FormatMessageA(DWORD flags, const void*, DWORD messageId, DWORD, LPSTR buffer, DWORD size, va_list*) {
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* text = messageText(messageId);
    if (!text) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    const std::size_t length = std::strlen(text) + 2;  // with "\r\n"
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        char* copy = static_cast<char*>(std::malloc(length + 1));
        if (!copy) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        std::memcpy(copy, text, length - 2);
        std::memcpy(copy + length - 2, "\r\n", 3);
        std::memcpy(static_cast<void*>(buffer), &copy, sizeof copy);
        return static_cast<DWORD>(length);
    }
    if (size < length + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text, length - 2);
    std::memcpy(buffer + length - 2, "\r\n", 3);
    return static_cast<DWORD>(length);
}

HLOCAL LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }
