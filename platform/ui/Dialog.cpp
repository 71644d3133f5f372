#include "platform/ui/Dialog.h"

#include "base/Cp1251.h"
#include "platform/session/Session.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DialogActions.h"
#include "platform/ui/EditBehaviour.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Font.h"
#include "platform/ui/ResourceChain.h"
#include "platform/ui/UiEvents.h"

using kestrin::ui::DialogState;
using kestrin::ui::ImageState;
using kestrin::ui::Window;
using kestrin::ui::WindowKind;

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd) kestrin::ui::destroyWindow(m_hWnd);
}

BOOL CDialog::createFromTemplate() {
    using namespace kestrin::ui;
    const FoundDialog found = findDialog(static_cast<int>(m_nIDTemplate));
    if (found.dialog == nullptr) {
        kestrin::session::Session::instance().fail(
            "", "dialog template " + std::to_string(m_nIDTemplate) + " is not among the resources of any loaded module");
        return FALSE;
    }
    const DialogTemplate& t = *found.dialog;
    const HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    const HWND h = createWindow(WindowKind::Dialog, parent, 0, t.style & ~WS_VISIBLE, t.caption);
    Window& w = windowRef(h);
    DialogState& dialog = w.dialog();
    dialog.templateId = static_cast<int>(m_nIDTemplate);
    w.units = DialogRect{0, 0, t.width, t.height};
    w.rect = dialogUnitsToPixels(w.units, t.fontSize);
    LOGFONT lf;
    lf.lfHeight = heightOfPoints(t.fontSize);
    t.fontFace.copy(lf.lfFaceName, LF_FACESIZE - 1);
    dialog.templateFont = std::make_unique<CFont>();
    dialog.templateFont->CreateFontIndirect(&lf);
    w.font = *dialog.templateFont;
    w.fontFace = t.fontFace;
    w.fontPoints = t.fontSize;
    w.handler = this;
    w.creator = this;
    m_hWnd = h;
    for (const ControlTemplate& c : t.controls) {
        const WindowKind kind = windowKindOf(c.kind);
        const HWND ch = createWindow(kind, h, c.id, c.style | WS_CHILD | WS_VISIBLE, c.text);
        Window& cw = windowRef(ch);
        cw.units = c.rect;
        cw.rect = dialogUnitsToPixels(c.rect, t.fontSize);
        cw.frameworkObject = makeFrameworkObject(kind);
        cw.frameworkObject->m_hWnd = ch;
        cw.handler = cw.frameworkObject.get();
        if (c.image != 0 && (kind == WindowKind::Button || kind == WindowKind::Static)) {
            ImageState& image = cw.image();
            image.icon = LoadIcon(found.module, MAKEINTRESOURCE(static_cast<UINT>(c.image)));
            if (image.icon == nullptr) image.icon = loadIconResource(c.image);
            image.imageId = iconResourceId(image.icon);
        }
        if (kind == WindowKind::Button && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) dialog.defId = c.id;
    }
    dialog.opened = true;
    uiEvents().dialogOpened.emit(h);
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_hWnd != nullptr) return FALSE;
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    ended_ = false;
    if (!createFromTemplate()) return FALSE;
    if (OnInitDialog() && window() && window()->dialog().focus == nullptr)
        if (const HWND first = kestrin::ui::nextTabStop(m_hWnd, nullptr, false)) GotoDlgCtrl(CWnd::FromHandle(first));
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr) return -1;
    ended_ = false;
    result_ = IDCANCEL;
    if (!createFromTemplate()) return -1;
    const HWND h = m_hWnd;
    kestrin::ui::windowRef(h).dialog().modal = true;
    kestrin::ui::pushModal(h);
    const BOOL defaultFocus = OnInitDialog();
    if (!ended_ && defaultFocus && window() && window()->dialog().focus == nullptr)
        if (const HWND first = kestrin::ui::nextTabStop(h, nullptr, false)) GotoDlgCtrl(CWnd::FromHandle(first));
    if (!ended_ && window()) ShowWindow(SW_SHOW);
    runModalLoop();
    if (kestrin::ui::windowOf(h)) {
        kestrin::ui::sendMessage(h, WM_DESTROY);
        kestrin::ui::destroyWindow(h);
    }
    m_hWnd = nullptr;
    return result_;
}

void CDialog::runModalLoop() {
    auto& session = kestrin::session::Session::instance();
    while (!ended_ && window()) {
        const std::string prompt = "dialog \"" + kestrin::cp1251ToUtf8(window()->text) + "\"";
        auto action = session.next(kestrin::session::Waiter::Dialog, prompt);
        if (!action) {
            ended_ = true;
            result_ = IDCANCEL;
            break;
        }
        kestrin::ui::performDialogAction(m_hWnd, *action);
    }
}

void CDialog::EndDialog(int result) {
    ended_ = true;
    result_ = result;
    if (Window* w = window()) kestrin::ui::setShown(*w, false);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }

DWORD CDialog::GetDefID() const {
    return MAKELONG(static_cast<WORD>(kestrin::ui::defaultButtonId(m_hWnd)), static_cast<WORD>(DC_HASDEFID));
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control == nullptr) return;
    Window* c = kestrin::ui::windowOf(control->m_hWnd);
    if (c == nullptr) return;
    if (c->kind == WindowKind::Edit || c->kind == WindowKind::ComboBox) kestrin::ui::editSetSel(*c, 0, -1);
    kestrin::ui::setFocus(control->m_hWnd);
}

void CDialog::NextDlgCtrl() const {
    if (const HWND next = kestrin::ui::nextTabStop(m_hWnd, kestrin::ui::focusedWindow(), false))
        const_cast<CDialog*>(this)->GotoDlgCtrl(CWnd::FromHandle(next));
}

void CDialog::PrevDlgCtrl() const {
    if (const HWND prev = kestrin::ui::nextTabStop(m_hWnd, kestrin::ui::focusedWindow(), true))
        const_cast<CDialog*>(this)->GotoDlgCtrl(CWnd::FromHandle(prev));
}

namespace kestrin::ui {

int defaultButtonId(HWND dialog) {
    const Window* d = windowOf(dialog);
    return d && d->kind == WindowKind::Dialog && d->dialog().defId != 0 ? d->dialog().defId : IDOK;
}

HWND nextTabStop(HWND dialog, HWND from, bool backwards) {
    const Window* d = windowOf(dialog);
    if (d == nullptr || d->children.empty()) return nullptr;
    const auto& c = d->children;
    const std::size_t n = c.size();
    std::size_t start = backwards ? n - 1 : 0;
    for (std::size_t i = 0; i < n; ++i)
        if (c[i] == from) start = backwards ? (i + n - 1) % n : (i + 1) % n;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = backwards ? (start + n - k) % n : (start + k) % n;
        const Window& w = windowRef(c[i]);
        if ((w.style & WS_TABSTOP) && w.shown && w.enabled) return w.handle;
    }
    return nullptr;
}

}  // namespace kestrin::ui
