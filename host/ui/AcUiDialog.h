// CAcUiDialog: the host's dialog base for modules. Over the framework's
// CDialog it adds the editor-command round trip: the dialog hides itself so
// the host can take points and picks in the drawing, then comes back.
#pragma once

#include "platform/ui/Dialog.h"

class CAcUiDialog : public CDialog {
public:
    // `resource`, when given, is the module searched first for the template
    // (and for every resource while the dialog runs); otherwise the
    // framework's resource chain as it stands.
    explicit CAcUiDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE resource = nullptr);

    INT_PTR DoModal() override;

    // Hides the dialog: while it is hidden it takes no actions and the host's
    // input requests take them instead. Calling it again changes nothing.
    void BeginEditorCommand();
    // Ends the editor command; shows the dialog again unless restoreDialogs
    // is false (the caller shows it itself later).
    void CompleteEditorCommand(bool restoreDialogs = true);
    // Ends the editor command and the dialog as cancelled: it is shown again
    // and ends with IDCANCEL without running OnCancel.
    void CancelEditorCommand();

    bool inEditorCommand() const { return inEditorCommand_; }
    HINSTANCE resourceInstance() const { return resource_; }

private:
    HINSTANCE resource_;
    bool inEditorCommand_ = false;
    bool alive() const;
};
