// Windows: the registry calls go straight to the system's registry
// (advapi32); the REGEDIT4 file (Registry.h) is not used by them.
#include "platform/registry/WinReg.h"

#include "platform/registry/win32/Advapi32.h"

namespace api = kestrin::win32::advapi32;

namespace {

api::Key keyOf(HKEY key) { return reinterpret_cast<api::Key>(key); }

LSTATUS answer(long status) { return static_cast<LSTATUS>(status); }

// The handle the system gave back, in the caller's type.
class KeyOut {
public:
    explicit KeyOut(PHKEY out) : out_(out) {}
    ~KeyOut() {
        if (out_) *out_ = reinterpret_cast<HKEY>(key_);
    }
    KeyOut(const KeyOut&) = delete;
    KeyOut& operator=(const KeyOut&) = delete;
    api::Key* get() { return &key_; }

private:
    PHKEY out_;
    api::Key key_ = 0;
};

}  // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result) {
    KeyOut out(result);
    return answer(api::openKey(keyOf(key), subKey, options, desired, out.get()));
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR keyClass, DWORD options, REGSAM desired,
                        const SECURITY_ATTRIBUTES*, PHKEY result, LPDWORD disposition) {
    KeyOut out(result);
    return answer(api::createKey(keyOf(key), subKey, keyClass, options, desired, out.get(), disposition));
}

LSTATUS RegCloseKey(HKEY key) { return answer(api::closeKey(keyOf(key))); }

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
    return answer(api::queryValue(keyOf(key), valueName, type, data, size));
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
    return answer(api::setValue(keyOf(key), valueName, type, data, size));
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName) { return answer(api::deleteValue(keyOf(key), valueName)); }

LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey) { return answer(api::deleteKey(keyOf(key), subKey)); }

LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD, LPSTR keyClass,
                      LPDWORD classLength, PFILETIME lastWriteTime) {
    DWORD time[2] = {0, 0};
    const LSTATUS status = answer(api::enumKey(keyOf(key), index, name, nameLength, keyClass, classLength, time));
    if (lastWriteTime) *lastWriteTime = FILETIME{time[0], time[1]};
    return status;
}

LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD, LPDWORD type,
                      LPBYTE data, LPDWORD size) {
    return answer(api::enumValue(keyOf(key), index, valueName, valueNameLength, type, data, size));
}

LSTATUS RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                         LPDWORD maxValueLength, LPDWORD securityDescriptorSize, PFILETIME lastWriteTime) {
    DWORD time[2] = {0, 0};
    const LSTATUS status =
        answer(api::queryInfo(keyOf(key), keyClass, classLength, subKeys, maxSubKeyLength, maxClassLength, values,
                              maxValueNameLength, maxValueLength, securityDescriptorSize, time));
    if (lastWriteTime) *lastWriteTime = FILETIME{time[0], time[1]};
    return status;
}
