// The system's message texts of status codes (English, as the system's
// message table has them, ending in "\r\n"), and the last-error slot.
#pragma once

#include <cstdarg>

#include "platform/win/Errors.h"

// FORMAT_MESSAGE_FROM_SYSTEM only; with FORMAT_MESSAGE_ALLOCATE_BUFFER the
// text is allocated and its address stored at buffer (release it with
// LocalFree). Answers the text's length, or 0 with GetLastError set
// (ERROR_MR_MID_NOT_FOUND for an unknown code).
DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, LPSTR buffer, DWORD size,
                     va_list* arguments);
HLOCAL LocalFree(HLOCAL memory);
DWORD GetLastError();
void SetLastError(DWORD error);
