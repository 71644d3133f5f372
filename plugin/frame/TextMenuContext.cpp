#include "plugin/frame/TextMenuContext.h"

#include "plugin/resources/ResourceIds.h"

CTextMenuContext::CTextMenuContext() : m_pMenu(new CMenu) {
    if (!m_pMenu->LoadMenu(IDR_TEXT_MENU)) {
        delete m_pMenu;
        m_pMenu = nullptr;
    }
}

CTextMenuContext::~CTextMenuContext() { delete m_pMenu; }

AcRxClass* CTextMenuContext::isA() const {
    static AcRxClass* cached = nullptr;
    if (cached == nullptr) cached = AcRxClass::cast(acrxClassDictionary()->at("AcEdUIContext"));
    return cached;
}

void* CTextMenuContext::getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) {
    CMenu* popup = m_pMenu != nullptr ? m_pMenu->GetSubMenu(0) : nullptr;
    m_hPopup = popup != nullptr ? popup->GetSafeHmenu() : nullptr;
    return &m_hPopup;
}

const char* CTextMenuContext::commandFor(Adesk::UInt32 itemId) {
    if (itemId == ID_MENU_CKESTRIN) return "CKestrin ";
    if (itemId == ID_MENU_EKESTRIN) return "EKestrin ";
    return nullptr;
}

void CTextMenuContext::onCommand(Adesk::UInt32 itemId) {
    const char* command = commandFor(itemId);
    if (command == nullptr) return;
    acDocManagerPtr()->sendStringToExecute(acDocManagerPtr()->curDocument(), command, true, false, true);
}

void CTextMenuContext::OnUpdateMenu() {
    if (m_pMenu != nullptr) m_pMenu->EnableMenuItem(ID_MENU_EKESTRIN, MF_BYCOMMAND | MF_ENABLED);
}
