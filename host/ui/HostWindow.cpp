#include "host/ui/HostWindow.h"

#include "platform/ui/Window.h"

namespace {
HINSTANCE__ hostInstance{};
}

HWND adsw_acadMainWnd() {
    static HWND main = nullptr;
    if (!main || !kestrin::ui::windowOf(main)) {
        main = kestrin::ui::createWindow(kestrin::ui::WindowKind::Dialog, nullptr, 0, 0, "cadhost");
        kestrin::ui::windowRef(main).shown = true;
    }
    return main;
}

HINSTANCE acedGetAcadResourceInstance() { return &hostInstance; }
