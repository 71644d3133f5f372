#include "platform/ui/App.h"

#include "platform/ui/Bitmap.h"

namespace {
CWinApp*& currentApp() {
    static CWinApp* app = nullptr;
    return app;
}
std::string& title() {
    static std::string t;
    return t;
}
}  // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "") { currentApp() = this; }

CWinApp::~CWinApp() {
    if (currentApp() == this) currentApp() = nullptr;
}

HICON CWinApp::LoadIcon(UINT resourceId) const { return ::LoadIcon(nullptr, MAKEINTRESOURCE(resourceId)); }
HCURSOR CWinApp::LoadStandardCursor(LPCSTR name) const { return ::LoadCursor(nullptr, name); }

CWinApp* AfxGetApp() {
    static CWinApp fallback("");
    return currentApp() ? currentApp() : &fallback;
}

std::string AfxGetAppName() {
    const CWinApp* app = AfxGetApp();
    if (!app->m_pszAppName.empty()) return app->m_pszAppName;
    return title().empty() ? "Application" : title();
}

namespace kestrin::ui {
void setApplicationTitle(const std::string& t) { title() = t; }
}  // namespace kestrin::ui
