#include "platform/registry/WinReg.h"

#include "platform/registry/Registry.h"

using kestrin::registry::Registry;

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM desired, PHKEY result) {
    return Registry::current().openKey(key, subKey, desired, result);
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD options, REGSAM desired,
                        const SECURITY_ATTRIBUTES*, PHKEY result, LPDWORD disposition) {
    return Registry::current().createKey(key, subKey, options, desired, result, disposition);
}

LSTATUS RegCloseKey(HKEY key) { return Registry::current().closeKey(key); }

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
    return Registry::current().queryValue(key, valueName, type, data, size);
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
    return Registry::current().setValue(key, valueName, type, data, size);
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName) { return Registry::current().deleteValue(key, valueName); }

LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey) { return Registry::current().deleteKey(key, subKey); }

LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD, LPSTR keyClass,
                      LPDWORD classLength, PFILETIME lastWriteTime) {
    // Keys carry no class.
    if (classLength) {
        if (keyClass && *classLength) keyClass[0] = '\0';
        *classLength = 0;
    }
    return Registry::current().enumKey(key, index, name, nameLength, lastWriteTime);
}

LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD, LPDWORD type,
                      LPBYTE data, LPDWORD size) {
    return Registry::current().enumValue(key, index, valueName, valueNameLength, type, data, size);
}

LSTATUS RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                         LPDWORD maxValueLength, LPDWORD securityDescriptorSize, PFILETIME lastWriteTime) {
    if (classLength) {
        if (keyClass && *classLength) keyClass[0] = '\0';
        *classLength = 0;
    }
    if (maxClassLength) *maxClassLength = 0;
    if (securityDescriptorSize) *securityDescriptorSize = 0;
    if (lastWriteTime) *lastWriteTime = FILETIME{};
    return Registry::current().queryInfo(key, subKeys, maxSubKeyLength, values, maxValueNameLength, maxValueLength);
}
