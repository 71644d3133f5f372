// The hello module's default context menu: its items send commands to the
// document, as a real module's menu does.
#pragma once

#include "host/api/AcEdUIContext.h"
#include "platform/ui/Menu.h"

class HelloMenu : public AcEdUIContext {
public:
    HelloMenu();
    void* getMenuContext(const AcRxClass* selectionClass, const AcDbObjectIdArray& selection) override;
    void onCommand(Adesk::UInt32 itemId) override;

private:
    CMenu menu_;
    HMENU popup_ = nullptr;
};
