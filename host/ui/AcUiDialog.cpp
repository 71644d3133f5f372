#include "host/ui/AcUiDialog.h"

#include "platform/ui/ResourceChain.h"
#include "platform/ui/Window.h"

CAcUiDialog::CAcUiDialog(UINT templateId, CWnd* parent, HINSTANCE resource)
    : CDialog(templateId, parent), resource_(resource) {}

INT_PTR CAcUiDialog::DoModal() {
    if (!resource_) return CDialog::DoModal();
    // The given module's resources come first while the dialog runs; the
    // previous source is current again afterwards, also after an exception.
    struct Restore {
        HINSTANCE previous = AfxGetResourceHandle();
        ~Restore() { AfxSetResourceHandle(previous); }
    } restore;
    AfxSetResourceHandle(resource_);
    return CDialog::DoModal();
}

bool CAcUiDialog::alive() const { return m_hWnd != nullptr && kestrin::ui::windowOf(m_hWnd) != nullptr; }

void CAcUiDialog::BeginEditorCommand() {
    if (inEditorCommand_) return;
    inEditorCommand_ = true;
    if (alive()) ShowWindow(SW_HIDE);
}

void CAcUiDialog::CompleteEditorCommand(bool restoreDialogs) {
    inEditorCommand_ = false;
    if (restoreDialogs && alive()) ShowWindow(SW_SHOW);
}

void CAcUiDialog::CancelEditorCommand() {
    inEditorCommand_ = false;
    if (!alive()) return;
    ShowWindow(SW_SHOW);
    EndDialog(IDCANCEL);
}
