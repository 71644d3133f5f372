#include "tests/modules/hello/HelloMenu.h"

#include "host/api/AcApDocManager.h"
#include "tests/modules/hello/HelloIds.h"

HelloMenu::HelloMenu() { menu_.LoadMenu(kHelloMenu); }

void* HelloMenu::getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) {
    CMenu* sub = menu_.GetSafeHmenu() ? menu_.GetSubMenu(0) : nullptr;
    popup_ = sub ? sub->GetSafeHmenu() : nullptr;
    return &popup_;
}

void HelloMenu::onCommand(Adesk::UInt32 itemId) {
    const char* text = itemId == kSayHelloItem ? "HELLOPOINT " : itemId == kOpenDialogItem ? "HELLODIALOG " : nullptr;
    if (text) acDocManagerPtr()->sendStringToExecute(acDocManagerPtr()->curDocument(), text, true, false, true);
}
