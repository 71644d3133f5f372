#include "host/cadhost/RecentFiles.h"

#include <algorithm>

#include "base/TextCase.h"
#include "platform/registry/HostProfileKeys.h"
#include "platform/registry/RegistryValues.h"
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
        LSTATUS status = ERROR_SUCCESS;
        auto path = registry::queryString(key, valueName(i).c_str(), status);
        if (path && !path->empty()) files.push_back(*path);
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
    const LSTATUS status = registry::writeValues(HKEY_CURRENT_USER, key_, [&files](HKEY key) {
        LSTATUS written = ERROR_SUCCESS;
        for (std::size_t i = 0; written == ERROR_SUCCESS && i < files.size(); ++i)
            written = RegSetValueExA(key, valueName(i).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(files[i].c_str()),
                                     static_cast<DWORD>(files[i].size() + 1));
        return written;
    });
    if (status == ERROR_SUCCESS) return true;
    error = "cannot keep the recent files in the profile: " + registry::failureOf(status);
    return false;
}

}  // namespace kestrin::cadhost
