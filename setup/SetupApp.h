// CSetupApp: the setup program's application object. Its start runs the
// setup dialog modally and then ends the program: there is no message loop.
#pragma once

#include "platform/ui/Framework.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp();
    BOOL InitInstance() override;
    // What the dialog ended with (IDOK, IDCANCEL), once InitInstance ran.
    INT_PTR result() const { return m_nResult; }

private:
    INT_PTR m_nResult = 0;
};

// Makes the setup's resource table the application's own; safe to call
// more than once.
void useSetupResources();
