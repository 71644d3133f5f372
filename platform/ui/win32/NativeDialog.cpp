#include "platform/ui/win32/NativeDialog.h"

#include <windows.h>
#include <commctrl.h>

#include <map>

#include "platform/win32/WideText.h"

namespace kestrin::ui::win32 {

namespace {

using kestrin::win32::narrow;
using kestrin::win32::widen;

// Buttons that would change their own check are made as the kind that waits
// to be told: the model checks them.
DWORD passiveButtonStyle(DWORD style) {
    DWORD type = style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX) type = BS_CHECKBOX;
    else if (type == BS_AUTO3STATE) type = BS_3STATE;
    else if (type == BS_AUTORADIOBUTTON) type = BS_RADIOBUTTON;
    return (style & ~static_cast<DWORD>(BS_TYPEMASK)) | type;
}

// The words of an in-memory dialog template.
class TemplateWriter {
public:
    void word(WORD w) { words_.push_back(w); }
    void dword(DWORD d) {
        word(LOWORD(d));
        word(HIWORD(d));
    }
    void text(const std::wstring& s) {
        for (wchar_t c : s) word(static_cast<WORD>(c));
        word(0);
    }
    void alignDword() {
        if (words_.size() % 2) word(0);
    }
    const WORD* data() const { return words_.data(); }

private:
    std::vector<WORD> words_;
};

WORD classAtom(NativeKind kind) {
    switch (kind) {
        case NativeKind::Button: return 0x0080;
        case NativeKind::Edit: return 0x0081;
        case NativeKind::Static: return 0x0082;
        case NativeKind::ListBox: return 0x0083;
        case NativeKind::ComboBox: return 0x0085;
        default: return 0;
    }
}

const char* keyName(WPARAM key) {
    switch (key) {
        case VK_RETURN: return "enter";
        case VK_ESCAPE: return "escape";
        case VK_TAB: return "tab";
        case VK_BACK: return "backspace";
        case VK_DELETE: return "delete";
        case VK_LEFT: return "left";
        case VK_RIGHT: return "right";
        case VK_HOME: return "home";
        case VK_END: return "end";
        default: return nullptr;
    }
}

NativeInput event(NativeInput::Kind kind, int id = 0, std::string text = {}, bool shift = false, int index = -1) {
    NativeInput in;
    in.kind = kind;
    in.id = id;
    in.text = std::move(text);
    in.shift = shift;
    in.index = index;
    return in;
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK editProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

}  // namespace

struct NativeDialog::Impl {
    HWND dialog = nullptr;
    Input input;
    std::map<int, NativeKind> kinds;
    int syncing = 0;  // the model's state is being shown: notifications are not the person's

    HWND control(int id) const { return dialog ? GetDlgItem(dialog, id) : nullptr; }
    void post(NativeInput in) const {
        if (syncing != 0 || !input) return;
        input(in);
        // Input that came as a message sent from elsewhere runs inside the
        // wait for the next message: a posted one ends that wait.
        PostMessageW(dialog, WM_NULL, 0, 0);
    }
    // The edit field of a combo box, or the edit itself.
    HWND editOf(int id) const {
        HWND h = control(id);
        if (h == nullptr) return nullptr;
        const auto it = kinds.find(id);
        if (it != kinds.end() && it->second == NativeKind::ComboBox) {
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            return GetComboBoxInfo(h, &info) ? info.hwndItem : nullptr;
        }
        return h;
    }

    void command(int id, int code) {
        const auto it = kinds.find(id);
        if (it == kinds.end()) {
            // The dialog manager's own Enter and Escape.
            if (id == IDOK && code == BN_CLICKED) post(event(NativeInput::Kind::Key, 0, "enter"));
            if (id == IDCANCEL && code == BN_CLICKED) post(event(NativeInput::Kind::Key, 0, "escape"));
            return;
        }
        HWND h = control(id);
        switch (it->second) {
            case NativeKind::Button:
                if (code == BN_CLICKED) post(event(NativeInput::Kind::Click, id));
                break;
            case NativeKind::ListBox:
                if (code == LBN_SELCHANGE) post(event(NativeInput::Kind::Choose, id, {}, false, static_cast<int>(SendMessageW(h, LB_GETCURSEL, 0, 0))));
                if (code == LBN_DBLCLK) post(event(NativeInput::Kind::Open, id, {}, false, static_cast<int>(SendMessageW(h, LB_GETCURSEL, 0, 0))));
                if (code == LBN_SETFOCUS) post(event(NativeInput::Kind::Focus, id));
                break;
            case NativeKind::ComboBox:
                if (code == CBN_SELCHANGE) post(event(NativeInput::Kind::Choose, id, {}, false, static_cast<int>(SendMessageW(h, CB_GETCURSEL, 0, 0))));
                if (code == CBN_SETFOCUS) post(event(NativeInput::Kind::Focus, id));
                break;
            case NativeKind::Edit:
                if (code == EN_SETFOCUS) post(event(NativeInput::Kind::Focus, id));
                break;
            default:
                break;
        }
    }
};

namespace {

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* impl = reinterpret_cast<NativeDialog::Impl*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return FALSE;  // the model says where the focus goes
        case WM_COMMAND:
            if (impl) impl->command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            if (impl) impl->post(event(NativeInput::Kind::Close));
            return TRUE;  // the model closes it, or not
        default:
            return FALSE;
    }
}

// Typing and the editing keys become the person's input; the control's text
// changes only when the model's does.
LRESULT CALLBACK editProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* impl = reinterpret_cast<NativeDialog::Impl*>(data);
    // A combo box's field: the combo box has the id.
    const int id = GetDlgCtrlID(GetParent(edit) == impl->dialog ? edit : GetParent(edit));
    if (message == WM_CHAR) {
        if (wParam == VK_BACK || wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_TAB) return 0;
        // Ctrl with A, C, X, V or Z: the edit's own operations, done by the model.
        static const std::pair<WPARAM, const char*> kEditKeys[] = {
            {1, "ctrl+a"}, {3, "ctrl+c"}, {24, "ctrl+x"}, {22, "ctrl+v"}, {26, "ctrl+z"}};
        for (const auto& [code, name] : kEditKeys)
            if (wParam == code) {
                impl->post(event(NativeInput::Kind::Key, id, name));
                return 0;
            }
        if (wParam < 0x20) return 0;  // other control characters are not typed
        const wchar_t c = static_cast<wchar_t>(wParam);
        impl->post(event(NativeInput::Kind::Type, id, narrow(std::wstring_view(&c, 1))));
        return 0;
    }
    if (message == WM_KEYDOWN) {
        const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (const char* name = keyName(wParam); name && wParam != VK_TAB && wParam != VK_RETURN && wParam != VK_ESCAPE) {
            impl->post(event(NativeInput::Kind::Key, id, name, shift));
            return 0;
        }
    }
    // The edit's context menu: the same operations.
    if (message == WM_PASTE || message == WM_CUT || message == WM_UNDO || message == EM_UNDO) {
        impl->post(event(NativeInput::Kind::Key, id, message == WM_PASTE ? "ctrl+v" : message == WM_CUT ? "ctrl+x" : "ctrl+z"));
        return 0;
    }
    if (message == WM_CLEAR) return 0;
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

NativeDialog::NativeDialog(const NativeTemplate& t, Input input, const NativeDialog* owner)
    : impl_(std::make_unique<Impl>()) {
    impl_->input = std::move(input);
    TemplateWriter w;
    const DWORD style = (t.style & ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE | DS_MODALFRAME)) | WS_POPUP | DS_SETFONT;
    w.dword(style);
    w.dword(0);  // extended style
    w.word(static_cast<WORD>(t.controls.size()));
    w.word(0);
    w.word(0);
    w.word(static_cast<WORD>(t.cx));
    w.word(static_cast<WORD>(t.cy));
    w.word(0);  // no menu
    w.word(0);  // the dialog class
    w.text(widen(t.caption));
    w.word(static_cast<WORD>(t.fontPoints > 0 ? t.fontPoints : 8));
    w.text(widen(t.fontFace.empty() ? std::string("MS Shell Dlg") : t.fontFace));
    for (const NativeControl& c : t.controls) {
        DWORD cs = (c.style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD;
        if (c.kind == NativeKind::Button) cs = passiveButtonStyle(cs);
        w.alignDword();
        w.dword(cs);
        w.dword(0);
        w.word(static_cast<WORD>(c.x));
        w.word(static_cast<WORD>(c.y));
        w.word(static_cast<WORD>(c.cx));
        w.word(static_cast<WORD>(c.cy));
        w.word(static_cast<WORD>(c.id));
        if (c.kind == NativeKind::Progress) {
            w.text(PROGRESS_CLASSW);
        } else {
            w.word(0xFFFF);
            w.word(classAtom(c.kind));
        }
        w.text(widen(c.text));
        w.word(0);  // no creation data
        impl_->kinds[c.id] = c.kind;
    }
    HWND parent = owner ? owner->impl_->dialog : nullptr;
    impl_->dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(w.data()),
                                               parent, dialogProcedure, reinterpret_cast<LPARAM>(impl_.get()));
    if (impl_->dialog == nullptr) return;
    for (const auto& [id, kind] : impl_->kinds)
        if (kind == NativeKind::Edit || kind == NativeKind::ComboBox)
            if (HWND e = impl_->editOf(id)) SetWindowSubclass(e, editProcedure, 1, reinterpret_cast<DWORD_PTR>(impl_.get()));
}

NativeDialog::~NativeDialog() {
    if (impl_->dialog) {
        impl_->input = nullptr;
        DestroyWindow(impl_->dialog);
    }
}

bool NativeDialog::valid() const { return impl_->dialog != nullptr; }

void NativeDialog::show(bool shown) {
    if (impl_->dialog) ShowWindow(impl_->dialog, shown ? SW_SHOW : SW_HIDE);
}

void NativeDialog::setCaption(const std::string& utf8) {
    if (impl_->dialog) SetWindowTextW(impl_->dialog, widen(utf8).c_str());
}

void NativeDialog::setText(int id, const std::string& utf8) {
    HWND h = impl_->control(id);
    if (!h) return;
    ++impl_->syncing;
    const std::wstring wide = widen(utf8);
    if (impl_->kinds[id] == NativeKind::ComboBox) {
        if (HWND e = impl_->editOf(id)) SetWindowTextW(e, wide.c_str());
    } else if (GetWindowTextLengthW(h) != static_cast<int>(wide.size()) || text(id) != utf8) {
        SetWindowTextW(h, wide.c_str());
    }
    --impl_->syncing;
}

void NativeDialog::setShown(int id, bool shown) {
    if (HWND h = impl_->control(id)) ShowWindow(h, shown ? SW_SHOWNA : SW_HIDE);
}

void NativeDialog::setEnabled(int id, bool enabled) {
    if (HWND h = impl_->control(id)) EnableWindow(h, enabled);
}

void NativeDialog::setCheck(int id, int check) {
    if (HWND h = impl_->control(id)) SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

void NativeDialog::setEntries(int id, const std::vector<std::string>& utf8) {
    HWND h = impl_->control(id);
    if (!h) return;
    const bool combo = impl_->kinds[id] == NativeKind::ComboBox;
    ++impl_->syncing;
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    SendMessageW(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    // Added at their index: a sorting control must not reorder the model's list.
    for (std::size_t i = 0; i < utf8.size(); ++i)
        SendMessageW(h, combo ? CB_INSERTSTRING : LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(widen(utf8[i]).c_str()));
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
    --impl_->syncing;
}

void NativeDialog::setSelection(int id, int index) {
    HWND h = impl_->control(id);
    if (!h) return;
    ++impl_->syncing;
    if (impl_->kinds[id] == NativeKind::ComboBox) {
        // CB_SETCURSEL also writes the entry into the field: the model's
        // text goes back there afterwards (the caller sets it).
        SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    } else {
        SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    --impl_->syncing;
}

void NativeDialog::setEditSelection(int id, int anchor, int caret) {
    HWND e = impl_->editOf(id);
    if (e) SendMessageW(e, EM_SETSEL, static_cast<WPARAM>(anchor), static_cast<LPARAM>(caret));
}

void NativeDialog::setProgress(int id, int low, int high, int pos) {
    HWND h = impl_->control(id);
    if (!h) return;
    SendMessageW(h, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    SendMessageW(h, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

void NativeDialog::setFocus(int id) {
    HWND h = impl_->control(id);
    if (!h || GetFocus() == h || (GetFocus() != nullptr && GetParent(GetFocus()) == h)) return;
    ++impl_->syncing;
    SetFocus(h);
    --impl_->syncing;
}

bool NativeDialog::editSelection(int id, int& from, int& to) const {
    HWND e = impl_->editOf(id);
    if (!e) return false;
    DWORD start = 0, end = 0;
    SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    from = static_cast<int>(start);
    to = static_cast<int>(end);
    return true;
}

std::string NativeDialog::text(int id) const {
    HWND h = id == 0 ? impl_->dialog : impl_->control(id);
    if (!h) return {};
    const int n = GetWindowTextLengthW(h);
    std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(h, buf.data(), n + 1);
    buf.resize(static_cast<std::size_t>(got));
    return narrow(buf);
}

std::vector<std::string> NativeDialog::entries(int id) const {
    HWND h = impl_->control(id);
    std::vector<std::string> out;
    if (!h) return out;
    const bool combo = impl_->kinds.at(id) == NativeKind::ComboBox;
    const LRESULT n = SendMessageW(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT length = SendMessageW(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
        std::wstring buf(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(h, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf.data()));
        buf.resize(static_cast<std::size_t>(length));
        out.push_back(narrow(buf));
    }
    return out;
}

int NativeDialog::selection(int id) const {
    HWND h = impl_->control(id);
    if (!h) return -1;
    return static_cast<int>(
        SendMessageW(h, impl_->kinds.at(id) == NativeKind::ComboBox ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

int NativeDialog::check(int id) const {
    HWND h = impl_->control(id);
    return h ? static_cast<int>(SendMessageW(h, BM_GETCHECK, 0, 0)) : 0;
}

bool NativeDialog::shown(int id) const {
    HWND h = id == 0 ? impl_->dialog : impl_->control(id);
    return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool NativeDialog::enabled(int id) const {
    HWND h = impl_->control(id);
    return h && IsWindowEnabled(h);
}

void* NativeDialog::handle(int id) const { return id == 0 ? impl_->dialog : impl_->control(id); }

bool windowsAvailable() {
    // A window can be made only where the system has a display driver.
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
    if (probe == nullptr) return false;
    DestroyWindow(probe);
    return true;
}

void initialiseControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

bool pumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) return false;
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (top && IsDialogMessageW(top, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

int showMessageBox(const NativeDialog* owner, const std::string& text, const std::string& caption, std::uint32_t type) {
    HWND parent = owner ? static_cast<HWND>(owner->handle()) : nullptr;
    return MessageBoxW(parent, widen(text).c_str(), widen(caption).c_str(), type);
}

}  // namespace kestrin::ui::win32
