#include "platform/registry/win32/Advapi32.h"

#include <windows.h>

namespace kestrin::win32::advapi32 {

namespace {

HKEY handle(Key key) { return reinterpret_cast<HKEY>(key); }

// A DWORD the caller may leave null, copied in and out of the system's type.
class InOut {
public:
    explicit InOut(Dword* p) : p_(p), v_(p ? *p : 0) {}
    ~InOut() {
        if (p_) *p_ = static_cast<Dword>(v_);
    }
    InOut(const InOut&) = delete;
    InOut& operator=(const InOut&) = delete;
    DWORD* get() { return p_ ? &v_ : nullptr; }

private:
    Dword* p_;
    DWORD v_;
};

void setTime(Dword* out, const FILETIME& t) {
    if (out) out[0] = t.dwLowDateTime, out[1] = t.dwHighDateTime;
}

}  // namespace

long openKey(Key key, const char* subKey, Dword options, Dword desired, Key* result) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExA(handle(key), subKey, options, desired, &opened);
    if (result) *result = reinterpret_cast<Key>(opened);
    return status;
}

long createKey(Key key, const char* subKey, char* keyClass, Dword options, Dword desired, Key* result,
               Dword* disposition) {
    HKEY created = nullptr;
    InOut how(disposition);
    const LSTATUS status =
        RegCreateKeyExA(handle(key), subKey, 0, keyClass, options, desired, nullptr, &created, how.get());
    if (result) *result = reinterpret_cast<Key>(created);
    return status;
}

long closeKey(Key key) { return RegCloseKey(handle(key)); }

long queryValue(Key key, const char* name, Dword* type, unsigned char* data, Dword* size) {
    InOut t(type), s(size);
    return RegQueryValueExA(handle(key), name, nullptr, t.get(), data, s.get());
}

long setValue(Key key, const char* name, Dword type, const unsigned char* data, Dword size) {
    return RegSetValueExA(handle(key), name, 0, type, data, size);
}

long deleteValue(Key key, const char* name) { return RegDeleteValueA(handle(key), name); }

long deleteKey(Key key, const char* subKey) { return RegDeleteKeyA(handle(key), subKey); }

long enumKey(Key key, Dword index, char* name, Dword* nameLength, char* keyClass, Dword* classLength,
             Dword* lastWriteTime) {
    InOut n(nameLength), c(classLength);
    FILETIME t{};
    const LSTATUS status = RegEnumKeyExA(handle(key), index, name, n.get(), nullptr, keyClass, c.get(), &t);
    setTime(lastWriteTime, t);
    return status;
}

long enumValue(Key key, Dword index, char* name, Dword* nameLength, Dword* type, unsigned char* data, Dword* size) {
    InOut n(nameLength), t(type), s(size);
    return RegEnumValueA(handle(key), index, name, n.get(), nullptr, t.get(), data, s.get());
}

long queryInfo(Key key, char* keyClass, Dword* classLength, Dword* subKeys, Dword* maxSubKeyLength,
               Dword* maxClassLength, Dword* values, Dword* maxValueNameLength, Dword* maxValueLength,
               Dword* securityDescriptorSize, Dword* lastWriteTime) {
    InOut cl(classLength), sk(subKeys), msk(maxSubKeyLength), mcl(maxClassLength), v(values), mvn(maxValueNameLength),
        mvl(maxValueLength), sd(securityDescriptorSize);
    FILETIME t{};
    const LSTATUS status = RegQueryInfoKeyA(handle(key), keyClass, cl.get(), nullptr, sk.get(), msk.get(), mcl.get(),
                                            v.get(), mvn.get(), mvl.get(), sd.get(), &t);
    setTime(lastWriteTime, t);
    return status;
}

}  // namespace kestrin::win32::advapi32
