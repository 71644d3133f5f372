#include "setup/ProfileChanges.h"

#include "setup/Registry.h"

bool ProfileChanges::write(CRegistry& registry, const CString& key, const CString& name,
                           const std::optional<CString>& before, const CString& text) {
    if (!registry.SetStringValue(name, text)) return false;
    written_.push_back({key, name, before});
    return true;
}

std::vector<CString> ProfileChanges::restore() {
    std::vector<CString> failed;
    for (auto it = written_.rbegin(); it != written_.rend(); ++it) {
        CRegistry key(HKEY_LOCAL_MACHINE);
        const bool done = key.OpenNamed(HKEY_CURRENT_USER, it->key) &&
                          (it->before ? key.SetStringValue(it->name, *it->before) : key.DeleteValue(it->name));
        if (!done) failed.push_back(it->key + "\\" + it->name);
    }
    written_.clear();
    return failed;
}
