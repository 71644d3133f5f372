// The host's menus from the menu groups that the profile registers (each
// group's menu file, NAME.mns): the pull-down menus of its ***POPn sections
// and the buttons of its ***TOOLBARS, each with the help string of its ID
// (***HELPSTRINGS); without any button, a button for each command the loaded
// modules registered.
#pragma once

#include <string>
#include <vector>

#include "host/cadhost/HostProfile.h"

namespace kestrin::cadhost {

// Texts CP1251, as the menu file has them.
struct ToolbarButton {
    std::string command;  // what a click runs
    std::string label;    // the button's text and tooltip
    std::string image;    // the bitmap's file (found beside the menu file); empty: none
    std::string id;       // the menu file's ID of the line
    std::string help;     // the help string of that ID: status-bar help
};

struct MenuItem {
    std::string id;
    std::string label;    // empty: a separator
    std::string command;  // what choosing it runs (the macro's command)
    std::string help;
};

struct PullDownMenu {
    std::string title;
    std::vector<MenuItem> items;
};

struct MenuFile {
    std::vector<PullDownMenu> pullDowns;  // in the order of the files and sections
    std::vector<ToolbarButton> buttons;
};

// A menu file's pull-down menus (each section's first line its title; "--"
// a separator; items without a command passed over) and _Button lines,
// their images named as written.
MenuFile parseMenuFile(const std::string& menuText);
std::vector<ToolbarButton> parseMenuToolbars(const std::string& menuText);

// The profile's menus, button images found case-insensitively in the menu
// file's folder; else the modules' commands as buttons. A menu group whose
// file cannot be read is passed over (a note in `problems`, UTF-8, when given).
MenuFile hostMenus(const HostProfile& profile, std::vector<std::string>* problems = nullptr);
std::vector<ToolbarButton> hostToolbar(const HostProfile& profile, std::vector<std::string>* problems = nullptr);

}  // namespace kestrin::cadhost
