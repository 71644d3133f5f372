#include "host/api/HostSettings.h"

#include <map>

#include "host/db/RecordTags.h"
#include "host/db/UndoJournal.h"

namespace kestrin::host {

namespace {

std::map<std::string, int>& values() {
    static std::map<std::string, int> v;
    return v;
}

}  // namespace

const std::vector<HostSetting>& hostSettings() {
    static const std::vector<HostSetting> settings{
        {"SAVETIME", 0, 600, 10},
        {"UNDOLIMIT", 0, 10000, static_cast<int>(db::UndoJournal::kDefaultLimit)},
    };
    return settings;
}

const HostSetting* findHostSetting(std::string_view name) {
    for (const HostSetting& s : hostSettings())
        if (db::sameName(s.name, name)) return &s;
    return nullptr;
}

std::optional<int> hostSetting(std::string_view name) {
    const HostSetting* s = findHostSetting(name);
    if (s == nullptr) return std::nullopt;
    const auto it = values().find(s->name);
    return it != values().end() ? it->second : s->defaultValue;
}

bool setHostSetting(std::string_view name, int value) {
    const HostSetting* s = findHostSetting(name);
    if (s == nullptr || value < s->minimum || value > s->maximum) return false;
    if (hostSetting(s->name) == value) return true;
    values()[s->name] = value;
    hostSettingChanged().emit(s->name);
    return true;
}

void resetHostSettings() {
    std::vector<std::string> changed;
    for (const HostSetting& s : hostSettings())
        if (hostSetting(s.name) != s.defaultValue) changed.push_back(s.name);
    values().clear();
    for (const std::string& name : changed) hostSettingChanged().emit(name);
}

Signal<const std::string&>& hostSettingChanged() {
    static Signal<const std::string&> signal;
    return signal;
}

}  // namespace kestrin::host
