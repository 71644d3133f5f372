// CWinApp: the application object. The program (or the host) creates one;
// AfxGetApp answers it, and its name is the default caption of message boxes.
#pragma once

#include <string>

#include "platform/win/Types.h"

class CWnd;

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    HICON LoadIcon(UINT resourceId) const;  // along the resource chain
    HCURSOR LoadStandardCursor(LPCSTR name) const;
    BOOL Enable3dControls() { return TRUE; }

    CWnd* m_pMainWnd = nullptr;
    std::string m_pszAppName;
};

CWinApp* AfxGetApp();
// The application's title: the name of the application object, else the one
// set with setApplicationTitle, else "Application".
std::string AfxGetAppName();

namespace kestrin::ui {
void setApplicationTitle(const std::string& title);
}  // namespace kestrin::ui
