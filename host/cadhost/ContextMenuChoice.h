// Choosing an item of the host's default context menus, as a right click at
// the command line and a click on the item would.
#pragma once

#include <string>
#include <vector>

namespace kestrin::cadhost {

// An item of the default context menus as a window shows it.
struct ContextMenuItem {
    std::string text;  // CP1251; empty for a separator
    bool separator = false;
    bool enabled = true;
    std::vector<ContextMenuItem> popup;  // a submenu's items
};

// The items of every registered default context menu, in registration
// order, each menu brought up to date first (as a right click at the command
// line shows them). Choosing one is chooseDefaultContextMenuItem(text).
std::vector<ContextMenuItem> defaultContextMenuItems();

// Finds the item whose text is exactly `item` (CP1251) among the items of
// every registered default context menu and sends its command id to the
// menu's owner. Answers false with `error` (UTF-8) when no menu offers it.
bool chooseDefaultContextMenuItem(const std::string& item, std::string& error);

}  // namespace kestrin::cadhost
