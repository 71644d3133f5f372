// Context menus a module adds to the host's default context menu: the module
// derives from AcEdUIContext and registers the object under a name.
#pragma once

#include <string>
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "host/db/AcRxObject.h"
#include "host/db/AcadTypes.h"

class AcEdUIContext : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdUIContext)
    // The menu to show (the address of a menu handle), given the class of the
    // selected objects and their ids.
    virtual void* getMenuContext(const AcRxClass* selectionClass, const AcDbObjectIdArray& selection) = 0;
    // An item of the menu was chosen.
    virtual void onCommand(Adesk::UInt32 itemId) = 0;
    // Called before the menu is shown.
    virtual void OnUpdateMenu() {}
};

// False for a null context or one registered already.
bool acedAddDefaultContextMenu(AcEdUIContext* context, const void* appId, const char* name = nullptr);
// False when the context is not registered.
bool acedRemoveDefaultContextMenu(AcEdUIContext* context);

namespace kestrin::host {
struct RegisteredContextMenu {
    AcEdUIContext* context;
    const void* appId;
    std::string name;  // CP1251
};
// In registration order.
const std::vector<RegisteredContextMenu>& registeredContextMenus();
void clearContextMenus();
}  // namespace kestrin::host
