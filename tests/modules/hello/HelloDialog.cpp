#include "tests/modules/hello/HelloDialog.h"

#include <cstdio>

#include "host/api/CommandLine.h"
#include "host/api/EditorInput.h"
#include "tests/modules/hello/HelloIds.h"

BEGIN_MESSAGE_MAP(HelloDialog, CAcUiDialog)
    ON_BN_CLICKED(kPickButton, OnPickPoint)
END_MESSAGE_MAP()

HelloDialog::HelloDialog(CWnd* parent) : CAcUiDialog(kHelloDialog, parent) {}

void HelloDialog::OnPickPoint() {
    BeginEditorCommand();
    ads_point p = {0, 0, 0};
    if (acedGetPoint(nullptr, "\nPoint for the dialog: ", p) != RTNORM) {
        CancelEditorCommand();
        return;
    }
    CompleteEditorCommand();
    char text[64];
    std::snprintf(text, sizeof text, "%g,%g", p[0], p[1]);
    point = text;
    SetDlgItemText(kPointField, text);
}
