#include "platform/registry/HostProfileKeys.h"

namespace kestrin::registry {

std::string profilesKey() { return std::string(kHostKey) + "\\Profiles"; }

std::string profileKey(std::string_view profile, std::string_view subkey) {
    std::string key = profilesKey();
    key.append("\\").append(profile);
    if (!subkey.empty()) key.append("\\").append(subkey);
    return key;
}

bool isMenuGroupValue(std::string_view name) { return name.substr(0, 5) == "Group"; }

}  // namespace kestrin::registry
