#include "host/cadhost/MenuToolbar.h"

#include "base/Cp1251.h"
#include "host/api/AcEdCommandStack.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"

namespace kestrin::cadhost {

namespace {

std::string trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// The quoted strings of a macro's arguments: _Button("text", "a.bmp", "b.bmp").
std::vector<std::string> quotedStrings(const std::string& s) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (;;) {
        const std::size_t open = s.find('"', at);
        if (open == std::string::npos) break;
        const std::size_t close = s.find('"', open + 1);
        if (close == std::string::npos) break;
        out.push_back(s.substr(open + 1, close - open - 1));
        at = close + 1;
    }
    return out;
}

// The command of a macro: what follows the cancels (^C^CCKestrin).
std::string macroCommand(std::string macro) {
    macro = trim(macro);
    while (macro.rfind("^C", 0) == 0 || macro.rfind("^c", 0) == 0) macro.erase(0, 2);
    const std::size_t end = macro.find_first_of(" ;\t");
    return end == std::string::npos ? macro : macro.substr(0, end);
}

}  // namespace

std::vector<ToolbarButton> parseMenuToolbars(const std::string& menuText) {
    std::vector<ToolbarButton> buttons;
    bool inToolbars = false;
    std::size_t start = 0;
    while (start < menuText.size()) {
        std::size_t end = menuText.find('\n', start);
        if (end == std::string::npos) end = menuText.size();
        const std::string line = trim(menuText.substr(start, end - start));
        start = end + 1;
        if (line.rfind("***", 0) == 0) {
            inToolbars = line.compare(0, 11, "***TOOLBARS") == 0;
            continue;
        }
        if (!inToolbars || line.rfind("//", 0) == 0) continue;
        // ID_Name   [_Button("text", "small.bmp", "large.bmp")]^C^CCommand
        const std::size_t open = line.find('[');
        const std::size_t close = line.rfind(']');
        if (open == std::string::npos || close == std::string::npos || close < open) continue;
        const std::string label = line.substr(open + 1, close - open - 1);
        if (trim(label).rfind("_Button", 0) != 0) continue;
        const std::vector<std::string> args = quotedStrings(label);
        ToolbarButton button;
        button.command = macroCommand(line.substr(close + 1));
        if (button.command.empty()) continue;
        button.label = args.empty() ? button.command : args[0];
        if (args.size() > 1) button.image = args[1];
        buttons.push_back(std::move(button));
    }
    return buttons;
}

std::vector<ToolbarButton> hostToolbar(const HostProfile& profile, std::vector<std::string>* problems) {
    fs::FileSystem& files = fs::FileSystem::current();
    std::vector<ToolbarButton> buttons;
    for (const MenuGroup& group : profile.menuGroups) {
        // "NAME PATH-WITHOUT-EXTENSION"; the path may hold blanks.
        const std::size_t blank = group.entry.find(' ');
        if (blank == std::string::npos) continue;
        const std::string base = cp1251ToUtf8(trim(group.entry.substr(blank + 1)));
        std::string menuFile = base;
        menuFile.append(".mns");
        auto resolved = files.resolve(menuFile);
        auto text = resolved ? files.readFile(*resolved) : fs::Result<std::string>(resolved.error());
        if (!text) {
            if (problems) problems->push_back("menu group " + group.value + ": " + text.error().message());
            continue;
        }
        const std::string folder = fs::parentPath(*resolved);
        for (ToolbarButton& button : parseMenuToolbars(*text)) {
            if (!button.image.empty()) {
                auto found = files.findIgnoringCase(folder.empty() ? "." : folder, cp1251ToUtf8(button.image));
                button.image = found ? *found : std::string();
            }
            buttons.push_back(std::move(button));
        }
    }
    if (!buttons.empty()) return buttons;
    AcEdCommandStack& stack = host::commandStack();
    for (const std::string& group : stack.groupNames())
        for (const std::string& command : stack.commandsOf(group.c_str())) buttons.push_back({command, command, {}});
    return buttons;
}

}  // namespace kestrin::cadhost
