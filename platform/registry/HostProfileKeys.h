// The host's profiles in the registry, as the setup writes them and the host
// reads them: HKEY_CURRENT_USER\<kHostKey>\Profiles\<profile>, with its
// "General" key (the support path "ACAD", the host settings) and its "Menus"
// key, whose values named "Group..." are the menu groups ("NAME PATH").
#pragma once

#include <string>
#include <string_view>

namespace kestrin::registry {

inline constexpr char kHostKey[] = "Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-1:409";

// kHostKey\Profiles, and below it a profile's own key or one of its subkeys.
std::string profilesKey();
std::string profileKey(std::string_view profile, std::string_view subkey = {});

// A value of a Menus key that names a menu group: its first five
// characters are exactly "Group" (the setup numbers them Group1, Group2...).
bool isMenuGroupValue(std::string_view name);

}  // namespace kestrin::registry
