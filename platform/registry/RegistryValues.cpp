#include "platform/registry/RegistryValues.h"

#include "platform/registry/Registry.h"

namespace kestrin::registry {

std::optional<std::string> queryString(HKEY key, const char* name, LSTATUS& status) {
    DWORD type = REG_NONE, size = 0;
    status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    std::string data(size, '\0');
    status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(data.data()), &size);
    if (status != ERROR_SUCCESS) return std::nullopt;
    data.resize(size);
    if (const std::size_t zero = data.find('\0'); zero != std::string::npos) data.resize(zero);
    return data;
}

LSTATUS writeValues(HKEY root, const std::string& path, const std::function<LSTATUS(HKEY)>& write) {
    HKEY key = nullptr;
    LSTATUS status =
        RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = write(key);
    RegCloseKey(key);
    return status;
}

std::string failureOf(LSTATUS status) {
    std::string why = Registry::current().problem();
    return why.empty() ? "status " + std::to_string(status) : why;
}

}  // namespace kestrin::registry
