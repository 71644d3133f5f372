// A dialog that hides itself to take a point in the drawing and shows the
// point when it comes back.
#pragma once

#include <string>

#include "host/ui/AcUiDialog.h"

class HelloDialog : public CAcUiDialog {
public:
    explicit HelloDialog(CWnd* parent);
    std::string point;  // "x,y" of the last point taken

protected:
    void OnPickPoint();
    DECLARE_MESSAGE_MAP()
};
