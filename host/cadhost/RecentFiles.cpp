#include "host/cadhost/RecentFiles.h"

#include <algorithm>

#include "base/TextCase.h"
#include "platform/registry/HostProfileKeys.h"
#include "platform/registry/Registry.h"
#include "platform/registry/WinReg.h"

namespace kestrin::cadhost {

namespace {

std::string valueName(std::size_t i) { return "File" + std::to_string(i + 1); }

}  // namespace

RecentFiles::RecentFiles(const HostProfile& profile) {
    if (profile.exists) key_ = registry::profileKey(profile.name, "Recent File List");
}

std::vector<std::string> RecentFiles::list() const {
    if (key_.empty()) return own_;
    std::vector<std::string> files;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return own_;
    for (std::size_t i = 0; i < kLimit; ++i) {
        char data[1024];
        DWORD type = REG_NONE, size = sizeof data;
        if (RegQueryValueExA(key, valueName(i).c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(data), &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ)
            continue;
        std::string path(data, size);
        if (const std::size_t zero = path.find('\0'); zero != std::string::npos) path.resize(zero);
        if (!path.empty()) files.push_back(path);
    }
    RegCloseKey(key);
    return files;
}

bool RecentFiles::add(const std::string& path, std::string& error) {
    std::vector<std::string> files = list();
    std::erase_if(files, [&](const std::string& f) { return equalIgnoringCase(f, path); });
    files.insert(files.begin(), path);
    if (files.size() > kLimit) files.resize(kLimit);
    own_ = files;
    if (key_.empty()) return true;
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                     nullptr, &key, nullptr);
    for (std::size_t i = 0; status == ERROR_SUCCESS && i < files.size(); ++i)
        status = RegSetValueExA(key, valueName(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(files[i].c_str()),
                                static_cast<DWORD>(files[i].size() + 1));
    if (key != nullptr) RegCloseKey(key);
    if (status == ERROR_SUCCESS) return true;
    error = registry::Registry::current().problem();
    if (error.empty()) error = "status " + std::to_string(status);
    error = "cannot keep the recent files in the profile: " + error;
    return false;
}

}  // namespace kestrin::cadhost
