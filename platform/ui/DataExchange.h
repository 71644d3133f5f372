// Data exchange between a dialog's controls and its members. Reading
// (m_bSaveAndValidate true) takes the controls' values; writing puts the
// members into the controls, and leaves a control alone when it already
// holds the value, so nothing changes and nothing is raised then.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/win/Types.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);
    // The control `id` of the dialog. A missing control fails the session
    // with a message naming the dialog and the id, and ends the exchange.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id) { return PrepareCtrl(id); }
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
};

void DDX_Text(CDataExchange* dx, int id, std::string& value);
// An integer: a value that does not read as one shows the framework's
// message and ends the exchange (UpdateData answers FALSE).
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_CBString(CDataExchange* dx, int id, std::string& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_Check(CDataExchange* dx, int id, int& value);
// Binds the control to `control` (subclassing) on the first exchange.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

namespace kestrin::ui {
// Ends an exchange early; caught by UpdateData.
struct DataExchangeFailure : std::runtime_error {
    DataExchangeFailure() : std::runtime_error("data exchange failed") {}
};
}  // namespace kestrin::ui
