#include "platform/ui/Menu.h"

#include <map>

#include "base/Cp1251.h"
#include "platform/ui/ResourceChain.h"
#include "platform/win/Messages.h"

using kestrin::ui::MenuItem;

namespace {
struct Menus {
    std::map<HMENU, std::vector<MenuItem>> live;
    std::map<HMENU, std::unique_ptr<CMenu>> wrappers;
    std::uintptr_t next = 0x3000;
};
Menus& menus() {
    static Menus m;
    return m;
}

HMENU newMenu() {
    auto& m = menus();
    const HMENU h = reinterpret_cast<HMENU>(m.next);
    m.next += 0x10;
    m.live[h];
    return h;
}

void destroyMenuHandle(HMENU h) {
    auto& m = menus();
    const auto it = m.live.find(h);
    if (it == m.live.end()) return;
    const auto items = it->second;
    m.live.erase(it);
    for (const MenuItem& item : items)
        if (item.popup) destroyMenuHandle(item.popup);
    if (auto w = m.wrappers.find(h); w != m.wrappers.end()) {
        w->second->m_hMenu = nullptr;
        m.wrappers.erase(w);
    }
}

HMENU buildMenu(const std::vector<kestrin::ui::MenuItemTemplate>& items) {
    const HMENU h = newMenu();
    for (const auto& t : items) {
        MenuItem item{t.flags, static_cast<UINT>(t.id), t.text, nullptr};
        if (!t.popup.empty() || (t.flags & MF_POPUP)) item.popup = buildMenu(t.popup), item.flags |= MF_POPUP;
        menus().live[h].push_back(item);
    }
    return h;
}

std::vector<MenuItem>* itemsOf(HMENU h) {
    auto& live = menus().live;
    const auto it = live.find(h);
    return it == live.end() ? nullptr : &it->second;
}

// The index of an item by command or by position; -1 when none.
int indexOf(const std::vector<MenuItem>& items, UINT item, UINT flags) {
    if (flags & MF_BYPOSITION) return item < items.size() ? static_cast<int>(item) : -1;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!(items[i].flags & (MF_POPUP | MF_SEPARATOR)) && items[i].id == item) return static_cast<int>(i);
    return -1;
}

MenuItem makeItem(UINT flags, UINT_PTR idOrPopup, const char* text) {
    MenuItem item{flags, 0, text ? text : "", nullptr};
    if (flags & MF_POPUP) item.popup = reinterpret_cast<HMENU>(idOrPopup);
    else item.id = static_cast<UINT>(idOrPopup);
    return item;
}
}  // namespace

namespace kestrin::ui {

const std::vector<MenuItem>* menuItems(HMENU menu) { return itemsOf(menu); }

bool menuHasCommand(HMENU menu, UINT id) {
    const auto* items = itemsOf(menu);
    if (items == nullptr) return false;
    for (const MenuItem& item : *items) {
        if (item.popup && menuHasCommand(item.popup, id)) return true;
        if (!(item.flags & (MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) && item.id == id) return true;
    }
    return false;
}

}  // namespace kestrin::ui

CMenu::~CMenu() {
    if (!temporary_) DestroyMenu();
}

BOOL CMenu::LoadMenu(UINT resourceId) {
    const auto* t = kestrin::ui::findMenu(static_cast<int>(resourceId));
    if (t == nullptr || m_hMenu != nullptr) return FALSE;
    m_hMenu = buildMenu(t->items);
    return TRUE;
}

BOOL CMenu::CreateMenu() {
    if (m_hMenu != nullptr) return FALSE;
    m_hMenu = newMenu();
    return TRUE;
}

BOOL CMenu::CreatePopupMenu() { return CreateMenu(); }

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr) return FALSE;
    const HMENU h = m_hMenu;
    m_hMenu = nullptr;
    destroyMenuHandle(h);
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrPopup, const char* text) {
    auto* items = itemsOf(m_hMenu);
    if (items == nullptr) return FALSE;
    items->push_back(makeItem(flags, idOrPopup, text));
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup, const char* text) {
    auto* items = itemsOf(m_hMenu);
    if (items == nullptr) return FALSE;
    int at = indexOf(*items, position, flags);
    if (at < 0) at = static_cast<int>(items->size());
    items->insert(items->begin() + at, makeItem(flags & ~MF_BYPOSITION, idOrPopup, text));
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
    auto* items = itemsOf(m_hMenu);
    const int at = items ? indexOf(*items, position, flags) : -1;
    if (at < 0) return FALSE;
    const HMENU popup = (*items)[static_cast<std::size_t>(at)].popup;
    items->erase(items->begin() + at);
    if (popup) destroyMenuHandle(popup);
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
    auto* items = itemsOf(m_hMenu);
    const int at = items ? indexOf(*items, position, flags) : -1;
    if (at < 0) return FALSE;
    items->erase(items->begin() + at);
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
    auto* items = itemsOf(m_hMenu);
    const int at = items ? indexOf(*items, item, enable) : -1;
    if (at < 0) return 0xFFFFFFFF;
    UINT& f = (*items)[static_cast<std::size_t>(at)].flags;
    const UINT before = f & (MF_GRAYED | MF_DISABLED);
    f = (f & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return before;
}

int CMenu::GetMenuItemCount() const {
    const auto* items = itemsOf(m_hMenu);
    return items ? static_cast<int>(items->size()) : -1;
}

UINT CMenu::GetMenuItemID(int position) const {
    const auto* items = itemsOf(m_hMenu);
    if (items == nullptr || position < 0 || position >= static_cast<int>(items->size())) return 0xFFFFFFFF;
    const MenuItem& item = (*items)[static_cast<std::size_t>(position)];
    if (item.popup) return 0xFFFFFFFF;
    return item.flags & MF_SEPARATOR ? 0 : item.id;
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const {
    const auto* items = itemsOf(m_hMenu);
    const int at = items ? indexOf(*items, item, flags) : -1;
    return at < 0 ? 0xFFFFFFFF : (*items)[static_cast<std::size_t>(at)].flags;
}

int CMenu::GetMenuString(UINT item, std::string& out, UINT flags) const {
    const auto* items = itemsOf(m_hMenu);
    const int at = items ? indexOf(*items, item, flags) : -1;
    out = at < 0 ? std::string() : (*items)[static_cast<std::size_t>(at)].text;
    return static_cast<int>(out.size());
}

CMenu* CMenu::GetSubMenu(int position) const {
    const auto* items = itemsOf(m_hMenu);
    if (items == nullptr || position < 0 || position >= static_cast<int>(items->size())) return nullptr;
    return FromHandle((*items)[static_cast<std::size_t>(position)].popup);
}

BOOL CMenu::Attach(HMENU menu) {
    if (m_hMenu != nullptr || menu == nullptr) return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach() {
    const HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

CMenu* CMenu::FromHandle(HMENU menu) {
    if (itemsOf(menu) == nullptr) return nullptr;
    auto& slot = menus().wrappers[menu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        slot->m_hMenu = menu;
        slot->temporary_ = true;
    }
    return slot.get();
}

std::unique_ptr<CMenu> CMenu::makeSystemMenu() {
    using namespace kestrin::literals;
    auto menu = std::make_unique<CMenu>();
    menu->CreatePopupMenu();
    menu->AppendMenu(MF_STRING, SC_MOVE, "&Переместить"_cp);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, SC_CLOSE, "&Закрыть\tAlt+F4"_cp);
    return menu;
}
