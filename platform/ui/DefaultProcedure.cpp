// The framework's own objects for each window kind, and what a window does
// with a message that no handler takes.
#include "platform/keyboard/Keyboard.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Edit.h"
#include "platform/ui/EditBehaviour.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ProgressCtrl.h"
#include "platform/ui/Static.h"
#include "platform/ui/ToolTipCtrl.h"

namespace kestrin::ui {

std::unique_ptr<CWnd> makeFrameworkObject(WindowKind kind) {
    switch (kind) {
        case WindowKind::Button: return std::make_unique<CButton>();
        case WindowKind::Edit: return std::make_unique<CEdit>();
        case WindowKind::ComboBox: return std::make_unique<CComboBox>();
        case WindowKind::ListBox: return std::make_unique<CListBox>();
        case WindowKind::Static: return std::make_unique<CStatic>();
        case WindowKind::ProgressBar: return std::make_unique<CProgressCtrl>();
        case WindowKind::ToolTip: return std::make_unique<CToolTipCtrl>();
        case WindowKind::Dialog: return std::make_unique<CWnd>();
    }
    return std::make_unique<CWnd>();
}

LRESULT defaultProcedure(HWND h, UINT message, WPARAM wParam, LPARAM) {
    Window* w = windowOf(h);
    if (w == nullptr) return 0;
    switch (w->kind) {
        case WindowKind::Edit:
        case WindowKind::ComboBox:
            if (message == WM_CHAR) editChar(*w, static_cast<unsigned char>(wParam));
            if (message == WM_KEYDOWN) editKey(*w, static_cast<int>(wParam), GetKeyState(VK_SHIFT) < 0);
            break;
        case WindowKind::Dialog:
            if (message == WM_CLOSE) {
                // The close box cancels, as the Cancel button would.
                const Window* cancel = childById(h, IDCANCEL);
                sendMessage(h, WM_COMMAND, MAKELONG(IDCANCEL, BN_CLICKED),
                            reinterpret_cast<LPARAM>(cancel ? cancel->handle : nullptr));
            } else if (message == WM_SYSCOMMAND) {
                switch (wParam & 0xFFF0) {
                    case SC_CLOSE: sendMessage(h, WM_CLOSE); break;
                    case SC_MINIMIZE: w->iconic = true; break;
                    case SC_RESTORE: w->iconic = false; break;
                    default: break;
                }
            } else if (message == DM_SETDEFID) {
                w->dialog().defId = static_cast<int>(wParam);
            } else if (message == DM_GETDEFID) {
                return MAKELONG(static_cast<WORD>(defaultButtonId(h)), static_cast<WORD>(DC_HASDEFID));
            }
            break;
        default: break;
    }
    return 0;
}

}  // namespace kestrin::ui
