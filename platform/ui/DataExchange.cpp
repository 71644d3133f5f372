#include "platform/ui/DataExchange.h"

#include <cctype>

#include "base/Cp1251.h"
#include "platform/session/Session.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Focus.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Wnd.h"

using kestrin::ui::Window;

namespace {
void failExchange(CDataExchange* dx, const std::string& why) {
    const Window* d = kestrin::ui::windowOf(dx->m_pDlgWnd ? dx->m_pDlgWnd->m_hWnd : nullptr);
    const std::string where = d ? "dialog " + std::to_string(d->dialog().templateId) : std::string("a window");
    kestrin::session::Session::instance().fail("", "data exchange of " + where + ": " + why);
    throw kestrin::ui::DataExchangeFailure();
}

Window& control(CDataExchange* dx, int id) { return kestrin::ui::windowRef(dx->PrepareCtrl(id)); }

bool parseInt(const std::string& s, int& out) {
    std::size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    const std::size_t digits = i;
    long long v = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) return false;
        ++i;
    }
    if (i == digits) return false;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i != s.size()) return false;
    if (s[start] == '-') v = -v;
    if (v > 2147483647LL) return false;
    out = static_cast<int>(v);
    return true;
}
}  // namespace

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    const Window* c = kestrin::ui::childById(m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr, id);
    if (c == nullptr) failExchange(this, "there is no control " + std::to_string(id));
    m_hWndLastControl = c->handle;
    return c->handle;
}

void CDataExchange::Fail() {
    if (m_hWndLastControl) kestrin::ui::setFocus(m_hWndLastControl);
    throw kestrin::ui::DataExchangeFailure();
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    Window& c = control(dx, id);
    if (dx->m_bSaveAndValidate) {
        value = c.text;
    } else if (c.text != value) {
        CWnd::FromHandle(c.handle)->SetWindowText(value);
    }
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    Window& c = control(dx, id);
    if (dx->m_bSaveAndValidate) {
        int parsed = 0;
        if (!parseInt(c.text, parsed)) {
            AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION);
            dx->Fail();
        }
        value = parsed;
    } else if (const std::string text = std::to_string(value); c.text != text) {
        CWnd::FromHandle(c.handle)->SetWindowText(text);
    }
}

void DDX_CBString(CDataExchange* dx, int id, std::string& value) { DDX_Text(dx, id, value); }

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
    Window& c = control(dx, id);
    if (dx->m_bSaveAndValidate) index = c.list().selection();
    else if (c.list().selection() != index) static_cast<CComboBox*>(CWnd::FromHandle(c.handle))->SetCurSel(index);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    Window& c = control(dx, id);
    if (dx->m_bSaveAndValidate) {
        value = c.button().check;
    } else if (c.button().check != value) {
        ++c.paints;
        kestrin::ui::setCheck(c, value);
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& object) {
    const HWND h = dx->PrepareCtrl(id);
    if (object.m_hWnd != nullptr) return;
    Window& c = kestrin::ui::windowRef(h);
    if (!object.fitsKind(c.kind))
        failExchange(dx, "control " + std::to_string(id) + " is a " + kestrin::ui::windowKindName(c.kind) +
                             ", which the object bound to it cannot handle");
    if (!object.SubclassWindow(h)) failExchange(dx, "control " + std::to_string(id) + " is bound to another object already");
}
