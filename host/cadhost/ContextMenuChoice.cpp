#include "host/cadhost/ContextMenuChoice.h"

#include "base/Cp1251.h"
#include "host/api/AcEdUIContext.h"
#include "host/api/HostRuntime.h"
#include "platform/ui/Menu.h"

namespace kestrin::cadhost {

namespace {

// The command id of the enabled item whose text is `text`, searching popups
// too; 0 when there is none. A grayed item is noted in `grayed`.
UINT findItem(HMENU menu, const std::string& text, bool& grayed, int depth = 0) {
    const std::vector<ui::MenuItem>* items = ui::menuItems(menu);
    if (!items || depth > 8) return 0;
    for (const ui::MenuItem& item : *items) {
        if (item.flags & MF_SEPARATOR) continue;
        if (item.flags & MF_POPUP) {
            if (UINT id = findItem(item.popup, text, grayed, depth + 1)) return id;
            continue;
        }
        if (item.text != text) continue;
        if (item.flags & (MF_GRAYED | MF_DISABLED)) {
            grayed = true;
            continue;
        }
        return item.id;
    }
    return 0;
}

void collect(HMENU menu, std::vector<ContextMenuItem>& out, int depth = 0) {
    const std::vector<ui::MenuItem>* items = ui::menuItems(menu);
    if (!items || depth > 8) return;
    for (const ui::MenuItem& item : *items) {
        ContextMenuItem entry;
        entry.separator = (item.flags & MF_SEPARATOR) != 0;
        if (!entry.separator) entry.text = item.text;
        entry.enabled = (item.flags & (MF_GRAYED | MF_DISABLED)) == 0;
        if (item.flags & MF_POPUP) collect(item.popup, entry.popup, depth + 1);
        out.push_back(std::move(entry));
    }
}

// Each registered default context menu as a right click with nothing
// selected shows it (brought up to date first): `f(context, menu)` until it
// answers true. Answers whether one did.
template <class F>
bool forEachDefaultMenu(F&& f) {
    const AcDbObjectIdArray nothingSelected;
    for (const auto& menu : host::HostRuntime::instance().defaultContextMenus()) {
        if (!menu.context) continue;
        menu.context->OnUpdateMenu();
        auto* handle = static_cast<HMENU*>(menu.context->getMenuContext(nullptr, nothingSelected));
        if (handle && *handle && f(*menu.context, *handle)) return true;
    }
    return false;
}

}  // namespace

std::vector<ContextMenuItem> defaultContextMenuItems() {
    std::vector<ContextMenuItem> items;
    forEachDefaultMenu([&](AcEdUIContext&, HMENU menu) {
        if (!items.empty()) items.push_back(ContextMenuItem{{}, true, true, {}});  // between two modules' menus
        collect(menu, items);
        return false;
    });
    return items;
}

bool chooseDefaultContextMenuItem(const std::string& item, std::string& error) {
    bool grayed = false;
    const bool chosen = forEachDefaultMenu([&](AcEdUIContext& context, HMENU menu) {
        const UINT id = findItem(menu, item, grayed);
        if (id != 0) context.onCommand(id);
        return id != 0;
    });
    if (chosen) return true;
    const std::string itemText = cp1251ToUtf8(item);  // named: g++ 12 warns -Wrestrict on "x" + temporary
    const std::string shown = "\"" + itemText + "\"";
    error = grayed ? "the context-menu item " + shown + " is grayed"
                   : "no default context menu has the item " + shown;
    return false;
}

}  // namespace kestrin::cadhost
