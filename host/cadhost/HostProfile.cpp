#include "host/cadhost/HostProfile.h"

#include <optional>

#include "base/TextCase.h"
#include "host/api/HostSettings.h"
#include "platform/registry/HostProfileKeys.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryValues.h"
#include "platform/registry/WinReg.h"

namespace kestrin::cadhost {

namespace {

// The registry file itself failed: the open or read cannot tell a missing key.
bool fileFailed(LSTATUS status) { return status == ERROR_BADDB || status == ERROR_REGISTRY_IO_FAILED; }

// Closes a key when it goes.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    LSTATUS open(HKEY parent, const std::string& path) {
        return RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key_);
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::vector<std::string> splitFolders(const std::string& list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        std::string folder = list.substr(start, end - start);
        const std::size_t first = folder.find_first_not_of(" \t");
        const std::size_t last = folder.find_last_not_of(" \t");
        if (first != std::string::npos) out.push_back(folder.substr(first, last - first + 1));
        start = end + 1;
    }
    return out;
}

// A host setting's stored value; nothing when the profile has none.
std::optional<StoredSetting> storedSetting(HKEY key, const std::string& name, LSTATUS& status) {
    DWORD type = REG_NONE, size = 0;
    status = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return std::nullopt;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        auto text = registry::queryString(key, name.c_str(), status);
        if (!text) return std::nullopt;
        return StoredSetting{name, *text, true};
    }
    if (type != REG_DWORD || size != sizeof(DWORD)) return StoredSetting{name, "", false};
    DWORD value = 0;
    status = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return StoredSetting{name, std::to_string(value), true};
}

}  // namespace

bool readHostProfile(HostProfile& profile, std::string& error) {
    profile = HostProfile{};
    auto failed = [&](LSTATUS status) {
        if (!fileFailed(status)) return false;
        error = registry::Registry::current().problem();
        if (error.empty()) error = registry::Registry::current().path() + ": cannot be read";
        return true;
    };

    OpenKey profiles;
    const std::string profilesPath = registry::profilesKey();
    LSTATUS status = profiles.open(HKEY_CURRENT_USER, profilesPath);
    if (failed(status)) return false;
    if (status != ERROR_SUCCESS) return true;  // the host has no profiles

    // The current profile: the one the default value names; without one, the first.
    std::string name;
    if (auto current = registry::queryString(profiles.get(), nullptr, status)) name = *current;
    if (failed(status)) return false;
    if (name.empty()) {
        char buffer[256];
        DWORD length = sizeof buffer;
        status = RegEnumKeyExA(profiles.get(), 0, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (failed(status)) return false;
        if (status != ERROR_SUCCESS) return true;  // no profile at all
        name.assign(buffer, length);
    }
    profile.name = name;
    OpenKey profileKey;
    status = profileKey.open(profiles.get(), name);
    if (failed(status)) return false;
    if (status != ERROR_SUCCESS) return true;
    profile.exists = true;

    OpenKey general;
    status = general.open(profileKey.get(), "General");
    if (failed(status)) return false;
    if (status == ERROR_SUCCESS) {
        if (auto acad = registry::queryString(general.get(), "ACAD", status)) profile.supportFolders = splitFolders(*acad);
        if (failed(status)) return false;
        for (const host::HostSetting& setting : host::hostSettings()) {
            auto stored = storedSetting(general.get(), setting.name, status);
            if (failed(status)) return false;
            if (stored) profile.settings.push_back(*stored);
        }
    }

    OpenKey menus;
    status = menus.open(profileKey.get(), "Menus");
    if (failed(status)) return false;
    if (status != ERROR_SUCCESS) return true;
    DWORD longestName = 0;
    status = RegQueryInfoKeyA(menus.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                              nullptr, nullptr, nullptr);
    if (failed(status)) return false;
    std::string valueName(longestName + 1, '\0');
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(valueName.size());
        status = RegEnumValueA(menus.get(), i, valueName.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (failed(status)) return false;
        if (status != ERROR_SUCCESS) break;
        const std::string groupValue(valueName.data(), length);
        if (!registry::isMenuGroupValue(groupValue)) continue;
        auto entry = registry::queryString(menus.get(), groupValue.c_str(), status);
        if (failed(status)) return false;
        if (entry) profile.menuGroups.push_back({groupValue, *entry});
    }
    return true;
}

std::string describeMenuGroups(const HostProfile& profile) {
    if (profile.name.empty()) return "\nNo menu groups: the host has no profile.\n";
    const std::string quoted = "\"" + profile.name + "\"";
    if (!profile.exists) return "\nNo menu groups: the current profile " + quoted + " is missing.\n";
    if (profile.menuGroups.empty()) return "\nNo menu groups in the profile " + quoted + ".\n";
    std::string text = "\nMenu groups of the profile " + quoted + ":\n";
    for (const MenuGroup& group : profile.menuGroups) text.append("  ").append(group.value).append(": ").append(group.entry).append("\n");
    return text;
}

}  // namespace kestrin::cadhost
