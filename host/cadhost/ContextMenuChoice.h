// Choosing an item of the host's default context menus, as a right click at
// the command line and a click on the item would.
#pragma once

#include <string>

namespace kestrin::cadhost {

// Finds the item whose text is exactly `item` (CP1251) among the items of
// every registered default context menu and sends its command id to the
// menu's owner. Answers false with `error` (UTF-8) when no menu offers it.
bool chooseDefaultContextMenuItem(const std::string& item, std::string& error);

}  // namespace kestrin::cadhost
