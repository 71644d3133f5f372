#include "host/cadhost/ProfileSettings.h"

#include <charconv>

#include "host/api/HostSettings.h"
#include "platform/registry/HostProfileKeys.h"
#include "platform/registry/RegistryValues.h"
#include "platform/registry/WinReg.h"
#include "platform/session/Transcript.h"
#include "base/Cp1251.h"

namespace kestrin::cadhost {

namespace {

std::string where(const HostProfile& profile, const std::string& name) {
    return "profile \"" + cp1251ToUtf8(profile.name) + "\": General\\" + name;
}

}  // namespace

std::vector<std::string> takeProfileSettings(const HostProfile& profile) {
    std::vector<std::string> problems;
    for (const StoredSetting& stored : profile.settings) {
        const host::HostSetting* setting = host::findHostSetting(stored.name);
        if (setting == nullptr) continue;
        int value = 0;
        const char* end = stored.text.data() + stored.text.size();
        const auto [at, failed] = std::from_chars(stored.text.data(), end, value);
        const bool whole = stored.number && failed == std::errc{} && at == end && !stored.text.empty();
        if (whole && host::setHostSetting(setting->name, value)) continue;
        std::string problem = where(profile, setting->name);
        problem.append(": ");
        if (stored.number) problem.append("'").append(cp1251ToUtf8(stored.text)).append("'");
        else problem.append("a value that is no number");
        problem.append(" is not a whole number from ").append(std::to_string(setting->minimum));
        problem.append(" to ").append(std::to_string(setting->maximum)).append("; ");
        problem.append(std::to_string(host::hostSetting(setting->name).value_or(0))).append(" is used");
        problems.push_back(std::move(problem));
    }
    return problems;
}

ProfileSettingsKeeper::ProfileSettingsKeeper(const HostProfile& profile) {
    if (!profile.exists) return;
    generalKey_ = registry::profileKey(profile.name, "General");
    changed_ = host::hostSettingChanged().connectScoped([this](const std::string& name) { keep(name); });
}

void ProfileSettingsKeeper::keep(const std::string& name) {
    const DWORD value = static_cast<DWORD>(host::hostSetting(name).value_or(0));
    const LSTATUS status = registry::writeValues(HKEY_CURRENT_USER, generalKey_, [&](HKEY key) {
        return RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    });
    if (status != ERROR_SUCCESS)
        session::Transcript::instance().error("cannot keep " + name + " in the profile: " + registry::failureOf(status));
}

}  // namespace kestrin::cadhost
