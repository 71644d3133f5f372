// The host's current profile, read from the registry at start: the support
// folders of its "General" key ("ACAD", separated by ';'), the host settings
// kept there (SAVETIME, UNDOLIMIT; ProfileSettings.h) and the menu groups of
// its "Menus" key ("Group1", "Group2", ...), as the setup program registers
// them (platform/registry/HostProfileKeys.h).
#pragma once

#include <string>
#include <vector>

namespace kestrin::cadhost {

struct MenuGroup {
    std::string value;  // the value's name, "Group1"
    std::string entry;  // "NAME PATH-WITHOUT-EXTENSION"
};

// A host setting's value as the profile stores it: a REG_DWORD in decimal,
// a string as it is; `number` is false for a value of another type.
struct StoredSetting {
    std::string name;  // the setting's own name, upper case
    std::string text;
    bool number = false;
};

// Texts are CP1251, as stored.
struct HostProfile {
    std::string name;  // empty: the host has no profile
    bool exists = false;  // false: the profile named current has no key
    std::vector<std::string> supportFolders;
    std::vector<MenuGroup> menuGroups;
    std::vector<StoredSetting> settings;  // in the host settings' order
};

// Reads the current profile through the registry calls: the one the
// "Profiles" key's default value names, else (no default value) its first
// subkey. A missing key or value reads as empty. False, with `error` naming the file (and line),
// when the registry file cannot be read or does not parse.
bool readHostProfile(HostProfile& profile, std::string& error);

// The menu groups as the command line shows them (CP1251).
std::string describeMenuGroups(const HostProfile& profile);

}  // namespace kestrin::cadhost
