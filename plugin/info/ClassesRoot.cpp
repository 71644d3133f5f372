#include "plugin/info/ClassesRoot.h"

#include <vector>

#include "platform/registry/WinReg.h"

bool readClassesRootDefault(const std::string& subKey, std::string& value, std::size_t capacity) {
    value.clear();
    if (capacity == 0) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    std::vector<char> buffer(capacity, '\0');
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(capacity);
    const LSTATUS status = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // The stored data may lack its terminating zero; it must still fit with one.
    std::size_t length = 0;
    while (length < size && buffer[length] != '\0') ++length;
    if (length + 1 > capacity) return false;
    value.assign(buffer.data(), length);
    return true;
}
