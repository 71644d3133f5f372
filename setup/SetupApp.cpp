#include "setup/SetupApp.h"

#include "setup/SetupDlg.h"
#include "setup/SetupResources.h"

void useSetupResources() {
    const kestrin::ui::ResourceTable& table = setupResources();
    // The table's address serves as the program's instance handle.
    HINSTANCE self = reinterpret_cast<HINSTANCE>(const_cast<kestrin::ui::ResourceTable*>(&table));
    if (kestrin::ui::moduleResources(self) == nullptr) kestrin::ui::registerModuleResources(self, &table);
    kestrin::ui::setApplicationInstance(self);
    // Message boxes are captioned with the program's name even where the
    // framework answers its stand-in application object.
    kestrin::ui::setApplicationTitle("Plantor");
}

CSetupApp::CSetupApp() : CWinApp("Plantor") {}

BOOL CSetupApp::InitInstance() {
    useSetupResources();
    Enable3dControls();
    CSetupDlg dialog;
    m_pMainWnd = &dialog;
    m_nResult = dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
