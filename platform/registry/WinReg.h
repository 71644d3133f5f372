// The registry calls of the real platform, on the process's registry
// (Registry::current()). Names are case-insensitive; subkeys enumerate in
// alphabetical order, values in the order they were created; a name or data
// that does not fit the caller's buffer answers ERROR_MORE_DATA.
#pragma once

#include "platform/win/Registry.h"

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM desired,
                        const SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName);
// Deletes a key without subkeys (ERROR_ACCESS_DENIED when it has some).
LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey);
LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPSTR keyClass,
                      LPDWORD classLength, PFILETIME lastWriteTime);
LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD size);
LSTATUS RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                         LPDWORD maxValueLength, LPDWORD securityDescriptorSize, PFILETIME lastWriteTime);
