// CMenu: menus from resources or built by the program, and the system menu
// of a dialog.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/Styles.h"
#include "platform/win/Types.h"

class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT resourceId);  // along the resource chain
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, const char* text = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, const char* text = nullptr);
    BOOL DeleteMenu(UINT position, UINT flags);
    BOOL RemoveMenu(UINT position, UINT flags);
    UINT EnableMenuItem(UINT item, UINT enable);
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;  // 0xFFFFFFFF for a popup, 0 for a separator
    UINT GetMenuState(UINT item, UINT flags) const;
    int GetMenuString(UINT item, std::string& out, UINT flags) const;
    CMenu* GetSubMenu(int position) const;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    BOOL Attach(HMENU menu);
    HMENU Detach();
    static CMenu* FromHandle(HMENU menu);

    // A dialog's system menu with the standard entries (move, close).
    static std::unique_ptr<CMenu> makeSystemMenu();

    HMENU m_hMenu = nullptr;

private:
    bool temporary_ = false;
};

namespace kestrin::ui {

struct MenuItem {
    UINT flags = 0;
    UINT id = 0;
    std::string text;  // CP1251
    HMENU popup = nullptr;
};
// The items of a live menu; null for a destroyed one.
const std::vector<MenuItem>* menuItems(HMENU menu);
// True when the menu or one of its popups has an enabled command `id`.
bool menuHasCommand(HMENU menu, UINT id);

}  // namespace kestrin::ui
