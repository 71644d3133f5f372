// The buttons of the host's toolbar: the toolbars of the menu groups that the
// profile registers (each group's menu file, NAME.mns), or, when none has
// one, a button for each command the loaded modules registered.
#pragma once

#include <string>
#include <vector>

#include "host/cadhost/HostProfile.h"

namespace kestrin::cadhost {

struct ToolbarButton {
    std::string command;  // CP1251: what a click runs
    std::string label;    // CP1251: the button's text and tooltip
    std::string image;    // the bitmap's file (found beside the menu file); empty: none
};

// The _Button lines of a menu file's ***TOOLBARS section (CP1251 text),
// their images named as written.
std::vector<ToolbarButton> parseMenuToolbars(const std::string& menuText);

// The profile's toolbars, images found case-insensitively in the menu
// file's folder; else the modules' commands. A menu group whose file cannot
// be read is passed over (a note in `problems`, UTF-8, when given).
std::vector<ToolbarButton> hostToolbar(const HostProfile& profile, std::vector<std::string>* problems = nullptr);

}  // namespace kestrin::cadhost
