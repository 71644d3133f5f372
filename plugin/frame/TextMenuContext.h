// The default context menu "Строки": the popup of menu resource 8001, whose
// items start CKestrin or EKestrin as typed input of the current document.
#pragma once

#include "host/api/Arx.h"
#include "platform/ui/Framework.h"

class CTextMenuContext : public AcEdUIContext {
public:
    // Loads menu 8001 along the framework's resource chain.
    CTextMenuContext();
    ~CTextMenuContext() override;
    CTextMenuContext(const CTextMenuContext&) = delete;
    CTextMenuContext& operator=(const CTextMenuContext&) = delete;

    // Answers the class of AcEdUIContext, as registered with the host.
    AcRxClass* isA() const override;

    // The address of the first popup's handle (null handle without a menu).
    void* getMenuContext(const AcRxClass* selectionClass, const AcDbObjectIdArray& selection) override;
    // Sends "CKestrin " or "EKestrin " to the current document; other ids
    // send nothing.
    void onCommand(Adesk::UInt32 itemId) override;
    void OnUpdateMenu() override;

    // The command string of a menu item, or null for an id of no item.
    static const char* commandFor(Adesk::UInt32 itemId);

private:
    HMENU m_hPopup = nullptr;
    CMenu* m_pMenu = nullptr;
};
