#include "host/api/AcEdUIContext.h"

#include <algorithm>

ACRX_DEFINE_MEMBERS(AcEdUIContext, AcRxObject)

namespace kestrin::host {
namespace {
std::vector<RegisteredContextMenu>& menus() {
    static std::vector<RegisteredContextMenu> registered;
    return registered;
}
}  // namespace

const std::vector<RegisteredContextMenu>& registeredContextMenus() { return menus(); }
void clearContextMenus() { menus().clear(); }

}  // namespace kestrin::host

bool acedAddDefaultContextMenu(AcEdUIContext* context, const void* appId, const char* name) {
    auto& menus = const_cast<std::vector<kestrin::host::RegisteredContextMenu>&>(kestrin::host::registeredContextMenus());
    if (context == nullptr) return false;
    if (std::any_of(menus.begin(), menus.end(), [&](const auto& m) { return m.context == context; })) return false;
    menus.push_back({context, appId, name != nullptr ? name : ""});
    return true;
}

bool acedRemoveDefaultContextMenu(AcEdUIContext* context) {
    auto& menus = const_cast<std::vector<kestrin::host::RegisteredContextMenu>&>(kestrin::host::registeredContextMenus());
    const auto it = std::find_if(menus.begin(), menus.end(), [&](const auto& m) { return m.context == context; });
    if (context == nullptr || it == menus.end()) return false;
    menus.erase(it);
    return true;
}
