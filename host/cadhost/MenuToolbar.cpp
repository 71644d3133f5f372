#include "host/cadhost/MenuToolbar.h"

#include <optional>

#include "base/Cp1251.h"
#include "base/TextCase.h"
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

namespace {

// One item line of a menu file: ID_Name   [label]macro.
struct MenuLine {
    std::string id;
    std::string label;
    std::string macro;
};

std::optional<MenuLine> menuLine(const std::string& line) {
    const std::size_t open = line.find('[');
    const std::size_t close = line.find(']', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos) return std::nullopt;
    return MenuLine{trim(line.substr(0, open)), line.substr(open + 1, close - open - 1), line.substr(close + 1)};
}

// Help strings go to the items and buttons of the same ID (any case).
std::string helpOf(const std::vector<std::pair<std::string, std::string>>& help, const std::string& id) {
    if (id.empty()) return {};
    for (const auto& [name, text] : help)
        if (equalIgnoringCase(name, id)) return text;
    return {};
}

}  // namespace

MenuFile parseMenuFile(const std::string& menuText) {
    MenuFile menu;
    enum class Section { Other, PullDown, Toolbars, HelpStrings } section = Section::Other;
    std::vector<std::pair<std::string, std::string>> help;
    std::size_t start = 0;
    while (start < menuText.size()) {
        std::size_t end = menuText.find('\n', start);
        if (end == std::string::npos) end = menuText.size();
        const std::string line = trim(menuText.substr(start, end - start));
        start = end + 1;
        if (line.rfind("***", 0) == 0) {
            const std::string name = upperCase(trim(line.substr(3)));
            section = name.rfind("POP", 0) == 0 && name.size() > 3 ? Section::PullDown
                      : name == "TOOLBARS"                         ? Section::Toolbars
                      : name == "HELPSTRINGS"                      ? Section::HelpStrings
                                                                   : Section::Other;
            if (section == Section::PullDown) menu.pullDowns.emplace_back();
            continue;
        }
        if (line.empty() || line.rfind("//", 0) == 0 || line.rfind("**", 0) == 0) continue;
        const std::optional<MenuLine> item = menuLine(line);
        if (!item) continue;
        switch (section) {
            case Section::PullDown: {
                PullDownMenu& pop = menu.pullDowns.back();
                if (pop.title.empty()) {  // the first line names the menu
                    pop.title = item->label;
                    continue;
                }
                const bool separator = trim(item->label).rfind("--", 0) == 0;
                MenuItem entry;
                entry.id = item->id;
                if (!separator) {
                    entry.label = item->label;
                    entry.command = macroCommand(item->macro);
                    if (entry.command.empty()) continue;
                }
                pop.items.push_back(std::move(entry));
                break;
            }
            case Section::Toolbars: {
                // [_Button("text", "small.bmp", "large.bmp")]^C^CCommand
                if (trim(item->label).rfind("_Button", 0) != 0) continue;
                const std::vector<std::string> args = quotedStrings(item->label);
                ToolbarButton button;
                button.id = item->id;
                button.command = macroCommand(item->macro);
                if (button.command.empty()) continue;
                button.label = args.empty() ? button.command : args[0];
                if (args.size() > 1) button.image = args[1];
                menu.buttons.push_back(std::move(button));
                break;
            }
            case Section::HelpStrings:
                help.emplace_back(item->id, item->label);
                break;
            case Section::Other:
                break;
        }
    }
    std::erase_if(menu.pullDowns, [](const PullDownMenu& pop) { return pop.title.empty() || pop.items.empty(); });
    for (PullDownMenu& pop : menu.pullDowns)
        for (MenuItem& entry : pop.items) entry.help = helpOf(help, entry.id);
    for (ToolbarButton& button : menu.buttons) button.help = helpOf(help, button.id);
    return menu;
}

std::vector<ToolbarButton> parseMenuToolbars(const std::string& menuText) { return parseMenuFile(menuText).buttons; }

MenuFile hostMenus(const HostProfile& profile, std::vector<std::string>* problems) {
    fs::FileSystem& files = fs::FileSystem::current();
    MenuFile menus;
    std::vector<ToolbarButton>& buttons = menus.buttons;
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
        MenuFile file = parseMenuFile(*text);
        for (PullDownMenu& pop : file.pullDowns) menus.pullDowns.push_back(std::move(pop));
        for (ToolbarButton& button : file.buttons) {
            if (!button.image.empty()) {
                auto found = files.findIgnoringCase(folder.empty() ? "." : folder, cp1251ToUtf8(button.image));
                button.image = found ? *found : std::string();
            }
            buttons.push_back(std::move(button));
        }
    }
    if (!buttons.empty()) return menus;
    AcEdCommandStack& stack = host::commandStack();
    for (const std::string& group : stack.groupNames())
        for (const std::string& command : stack.commandsOf(group.c_str())) buttons.push_back({command, command, {}, {}, {}});
    return menus;
}

std::vector<ToolbarButton> hostToolbar(const HostProfile& profile, std::vector<std::string>* problems) {
    return hostMenus(profile, problems).buttons;
}

}  // namespace kestrin::cadhost
