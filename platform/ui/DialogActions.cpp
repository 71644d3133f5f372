#include "platform/ui/DialogActions.h"

#include <map>

#include "base/Cp1251.h"
#include "platform/keyboard/Keyboard.h"
#include "platform/session/Session.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dc.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBehaviour.h"
#include "platform/ui/Focus.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Menu.h"

namespace kestrin::ui {

namespace {
using session::Action;
using session::ActionKind;

void reject(const Action& a, const std::string& why) {
    session::Session::instance().reject(a, std::string(session::actionName(a.kind)) + ": " + why);
}

std::string withoutMnemonic(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

// Runs PreTranslateMessage from the target up to the dialog; true when a
// window took the message.
bool preTranslate(MSG msg, HWND dialog) {
    for (HWND h = msg.hwnd; h != nullptr;) {
        const Window* w = windowOf(h);
        if (w == nullptr) return true;  // the target went away
        const HWND parent = w->parent;
        if (CWnd* target = CWnd::FromHandle(h); target && target->PreTranslateMessage(&msg)) return true;
        if (h == dialog) break;
        h = parent;
    }
    return windowOf(dialog) == nullptr;
}

bool typable(const Window& w) { return w.kind == WindowKind::Edit || w.kind == WindowKind::ComboBox; }

// The control the action names, shown and enabled; null (rejected) otherwise.
Window* usableControl(HWND dialog, const Action& a) {
    std::string why;
    const HWND h = findControl(dialog, a.control, why);
    if (h == nullptr) {
        reject(a, why);
        return nullptr;
    }
    Window& w = windowRef(h);
    if (!w.shown) reject(a, describeControl(h) + " is hidden");
    else if (!w.enabled) reject(a, describeControl(h) + " is disabled");
    else return &w;
    return nullptr;
}

struct ShiftHeld {
    explicit ShiftHeld(bool on) : on_(on) {
        if (on_) keyboard::Keyboard::instance().setHeld(VK_SHIFT, true);
    }
    ~ShiftHeld() {
        if (on_) keyboard::Keyboard::instance().setHeld(VK_SHIFT, false);
    }
    ShiftHeld(const ShiftHeld&) = delete;
    ShiftHeld& operator=(const ShiftHeld&) = delete;
    bool on_;
};

void gotoControl(HWND h) {
    if (Window* w = windowOf(h); w && typable(*w)) editSetSel(*w, 0, -1);
    setFocus(h);
}

void pressEnter(HWND dialog) {
    const HWND focus = focusedWindow();
    if (const Window* f = windowOf(focus); f && dialogOf(focus) == windowOf(dialog)) {
        if (f->kind == WindowKind::Edit && (f->style & ES_MULTILINE) && (f->style & ES_WANTRETURN)) {
            sendMessage(focus, WM_CHAR, '\r', 1);
            return;
        }
        if (isPushButton(*f) && f->shown && f->enabled) {
            clickButton(focus);
            return;
        }
    }
    const int id = defaultButtonId(dialog);
    const Window* b = childById(dialog, id);
    if (b && (!b->shown || !b->enabled)) {
        MessageBeep(0);  // a hidden or disabled default button takes no Enter
        return;
    }
    sendMessage(dialog, WM_COMMAND, MAKELONG(static_cast<WORD>(id), BN_CLICKED),
                reinterpret_cast<LPARAM>(b ? b->handle : nullptr));
}

void pressKey(HWND dialog, int vk, bool shift) {
    const ShiftHeld held(shift);
    const HWND focus = focusedWindow();
    const Window* f = windowOf(focus);
    const bool inDialog = f && dialogOf(focus) == windowOf(dialog);
    MSG msg{inDialog ? focus : dialog, WM_KEYDOWN, static_cast<WPARAM>(vk), 1, 0, {}};
    if (preTranslate(msg, dialog)) return;
    switch (vk) {
        case VK_RETURN: pressEnter(dialog); return;
        case VK_ESCAPE: {
            const Window* cancel = childById(dialog, IDCANCEL);
            sendMessage(dialog, WM_COMMAND, MAKELONG(IDCANCEL, BN_CLICKED),
                        reinterpret_cast<LPARAM>(cancel ? cancel->handle : nullptr));
            return;
        }
        case VK_TAB:
            if (const HWND next = nextTabStop(dialog, inDialog ? focus : nullptr, shift)) gotoControl(next);
            return;
        case VK_BACK:
            if (inDialog && typable(*f)) sendMessage(focus, WM_CHAR, 8, 1);
            return;
        default:
            if (inDialog && typable(*f)) sendMessage(focus, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
            return;
    }
}

// Ctrl with a letter reaches an edit control as the control character the
// keyboard makes of it (WM_CHAR), which the control takes as its own
// operation: Ctrl+A selects all, C copies, X cuts, V pastes, Z undoes.
int controlCharacter(const std::string& name) {
    if (name.size() != 6 || name.rfind("ctrl+", 0) != 0) return 0;
    const char letter = name[5];
    return letter >= 'a' && letter <= 'z' ? letter - 'a' + 1 : 0;
}

void pressControlKey(HWND dialog, const Action& a, int code) {
    const HWND focus = focusedWindow();
    const Window* f = windowOf(focus);
    if (f == nullptr || dialogOf(focus) != windowOf(dialog) || !typable(*f))
        return reject(a, a.key + " goes to an edit field; the focus is not on one");
    if (preTranslate(MSG{focus, WM_CHAR, static_cast<WPARAM>(code), 1, 0, {}}, dialog)) return;
    sendMessage(focus, WM_CHAR, static_cast<WPARAM>(code), 1);
}

int keyCode(const std::string& name) {
    static const std::map<std::string, int> keys = {
        {"enter", VK_RETURN}, {"escape", VK_ESCAPE}, {"tab", VK_TAB},   {"backspace", VK_BACK}, {"delete", VK_DELETE},
        {"left", VK_LEFT},    {"right", VK_RIGHT},   {"home", VK_HOME}, {"end", VK_END},
    };
    const auto it = keys.find(name);
    return it == keys.end() ? 0 : it->second;
}

void click(HWND dialog, const Action& a) {
    Window* w = usableControl(dialog, a);
    if (w == nullptr) return;
    const HWND h = w->handle;
    if (w->kind == WindowKind::Button && (w->style & BS_TYPEMASK) == BS_GROUPBOX)
        return reject(a, describeControl(h) + " is a group box, which takes no clicks");
    if (w->kind == WindowKind::Static && !(w->style & SS_NOTIFY))
        return reject(a, describeControl(h) + " takes no clicks (a static without the notify style)");
    if (w->kind == WindowKind::ProgressBar) return reject(a, describeControl(h) + " takes no clicks");
    if (preTranslate(MSG{h, WM_LBUTTONDOWN, 0, 0, 0, {}}, dialog) || (w = windowOf(h)) == nullptr) return;
    switch (w->kind) {
        case WindowKind::Button: clickButton(h); break;
        case WindowKind::Static: notifyParent(h, STN_CLICKED); break;
        case WindowKind::Edit:
        case WindowKind::ComboBox: {
            const int end = static_cast<int>(w->text.size());
            editSetSel(*w, end, end);
            setFocus(h);
            break;
        }
        default: setFocus(h); break;
    }
}

void type(HWND dialog, const Action& a) {
    for (std::size_t i = 0; i < a.text.size(); ++i) {
        const auto c = static_cast<unsigned char>(a.text[i]);
        if (session::Session::instance().failed()) return;
        if (activeDialog() != dialog) {
            return reject(a, "the dialog closed or hid itself after " + std::to_string(i) + " of " +
                                 std::to_string(a.text.size()) + " characters");
        }
        if (c == '\n') {
            pressKey(dialog, VK_RETURN, false);
            continue;
        }
        if (c == '\t') {
            pressKey(dialog, VK_TAB, false);
            continue;
        }
        const HWND focus = focusedWindow();
        const Window* f = windowOf(focus);
        if (f == nullptr || dialogOf(focus) != windowOf(dialog)) return reject(a, "no control of the dialog has the focus");
        if (!typable(*f)) return reject(a, "the focus is on " + describeControl(focus) + ", which takes no text");
        if (!f->enabled || !f->shown) return reject(a, describeControl(focus) + " has the focus but is " + (f->shown ? "disabled" : "hidden"));
        if (preTranslate(MSG{focus, WM_CHAR, c, 1, 0, {}}, dialog)) continue;
        sendMessage(focus, WM_CHAR, c, 1);
    }
}

void focus(HWND dialog, const Action& a) {
    Window* w = usableControl(dialog, a);
    if (w == nullptr) return;
    const HWND h = w->handle;
    if (w->kind == WindowKind::Static || w->kind == WindowKind::ProgressBar)
        return reject(a, describeControl(h) + " cannot take the focus");
    if (preTranslate(MSG{h, WM_SETFOCUS, 0, 0, 0, {}}, dialog)) return;
    gotoControl(h);
}

// The entry of a combo or list box that an action names; rejects the action
// with the entries there are when none has that text (answers -1).
int entryForChoice(const Window& w, const Action& a) {
    const int index = w.list().findForChoice(a.text);
    if (index >= 0) return index;
    std::string list;
    for (const auto& e : w.list().entries()) list += (list.empty() ? "\"" : ", \"") + cp1251ToUtf8(e) + "\"";
    reject(a, describeControl(w.handle) + " has no entry \"" + cp1251ToUtf8(a.text) + "\" (entries: " +
                  (list.empty() ? "none" : list) + ")");
    return -1;
}

void choose(HWND dialog, const Action& a) {
    Window* w = usableControl(dialog, a);
    if (w == nullptr) return;
    const HWND h = w->handle;
    if (w->kind != WindowKind::ComboBox && w->kind != WindowKind::ListBox)
        return reject(a, describeControl(h) + " is not a combo box or list box");
    const int index = entryForChoice(*w, a);
    if (index < 0) return;
    if (preTranslate(MSG{h, WM_LBUTTONDOWN, 0, 0, 0, {}}, dialog) || windowOf(h) == nullptr) return;
    setFocus(h);
    if (windowRef(h).kind == WindowKind::ComboBox) chooseEntry(h, index);
    else selectListEntry(h, index);
}

// Opens an entry of a list box: the first click selects it (LBN_SELCHANGE),
// the second raises LBN_DBLCLK, both only with LBS_NOTIFY.
void doubleClick(HWND dialog, const Action& a) {
    Window* w = usableControl(dialog, a);
    if (w == nullptr) return;
    const HWND h = w->handle;
    if (w->kind != WindowKind::ListBox) return reject(a, describeControl(h) + " is not a list box");
    const int index = entryForChoice(*w, a);
    if (index < 0) return;
    if (preTranslate(MSG{h, WM_LBUTTONDOWN, 0, 0, 0, {}}, dialog) || windowOf(h) == nullptr) return;
    setFocus(h);
    if (windowRef(h).list().selection() != index) selectListEntry(h, index);
    if (const Window* still = windowOf(h); still && (still->style & LBS_NOTIFY)) notifyParent(h, LBN_DBLCLK);
}

void select(HWND dialog, const Action& a) {
    Window* w = usableControl(dialog, a);
    if (w == nullptr) return;
    const HWND h = w->handle;
    if (!typable(*w)) return reject(a, describeControl(h) + " holds no editable text");
    const int n = static_cast<int>(w->text.size());
    if (a.first < 0 || a.last < 0 || a.first > n || a.last > n)
        return reject(a, std::to_string(a.first) + ".." + std::to_string(a.last) + " lies outside the text of " +
                             describeControl(h) + " (" + std::to_string(n) + " characters)");
    if (preTranslate(MSG{h, WM_LBUTTONDOWN, 0, 0, 0, {}}, dialog) || (w = windowOf(h)) == nullptr) return;
    setFocus(h);
    editSetSel(*w, a.first, a.last);
}

void systemCommand(HWND dialog, const Action& a, UINT command, WPARAM hit) {
    const Window& d = windowRef(dialog);
    if (!(d.style & WS_SYSMENU)) return reject(a, describeDialog(dialog) + " has no system menu or close box");
    CMenu* menu = CWnd::FromHandle(dialog)->GetSystemMenu(FALSE);
    if (!menu || !menuHasCommand(*menu, command)) {
        std::string list;
        if (const auto* items = menu ? menuItems(*menu) : nullptr)
            for (const auto& item : *items)
                if (!(item.flags & MF_SEPARATOR)) list += (list.empty() ? "" : ", ") + std::to_string(item.id);
        return reject(a, "the system menu of " + describeDialog(dialog) + " has no command " + std::to_string(command) +
                             " (commands: " + list + ")");
    }
    if (preTranslate(MSG{dialog, WM_NCLBUTTONDOWN, hit, 0, 0, {}}, dialog)) return;
    sendMessage(dialog, WM_SYSCOMMAND, command, 0);
}
}  // namespace

std::string describeDialog(HWND dialog) {
    const Window* d = windowOf(dialog);
    if (d == nullptr) return "a closed dialog";
    return "dialog " + std::to_string(d->dialog().templateId) + " (\"" + cp1251ToUtf8(d->text) + "\")";
}

bool nameControl(HWND dialog, HWND control, session::ControlRef& out) {
    const Window* w = windowOf(control);
    if (w == nullptr) return false;
    std::string why;
    out = {};
    out.id = w->id;
    if (findControl(dialog, out, why) == control) return true;
    out.id.reset();
    out.caption = w->text;
    why.clear();
    return !w->text.empty() && findControl(dialog, out, why) == control;
}

HWND findControl(HWND dialog, const session::ControlRef& ref, std::string& why) {
    const Window* d = windowOf(dialog);
    if (d == nullptr) {
        why = "no dialog is open";
        return nullptr;
    }
    auto pick = [&](auto&& fits, const std::string& what) -> HWND {
        std::vector<HWND> found;
        for (HWND c : d->children)
            if (fits(windowRef(c))) found.push_back(c);
        if (found.size() == 1) return found.front();
        if (found.size() > 1)
            why = what + " fits " + describeControl(found[0]) + " and " + describeControl(found[1]) + " of " +
                  describeDialog(dialog);
        return nullptr;
    };
    if (ref.id) {
        const HWND h = pick([&](const Window& w) { return w.id == *ref.id; }, "control id " + std::to_string(*ref.id));
        if (h == nullptr && why.empty()) why = describeDialog(dialog) + " has no control " + std::to_string(*ref.id);
        return h;
    }
    const std::string caption = cp1251ToUtf8(ref.caption);  // named: g++ 12 warns -Wrestrict on "x" + temporary
    const std::string what = "\"" + caption + "\"";
    const HWND byCaption = pick(
        [&](const Window& w) {
            return !typable(w) && !w.text.empty() && (w.text == ref.caption || withoutMnemonic(w.text) == ref.caption);
        },
        "caption " + what);
    if (byCaption || !why.empty()) return byCaption;
    const HWND byTip = pick([&](const Window& w) { return toolTipTextOf(w.handle) == ref.caption; }, "tooltip " + what);
    if (byTip == nullptr && why.empty()) why = describeDialog(dialog) + " has no control with caption or tooltip " + what;
    return byTip;
}

void performDialogAction(HWND dialog, const Action& a) {
    if (activeDialog() != dialog) {
        return reject(a, describeDialog(dialog) + " is hidden, so nothing can take this action");
    }
    switch (a.kind) {
        case ActionKind::Click: return click(dialog, a);
        case ActionKind::Type: return type(dialog, a);
        case ActionKind::Key: {
            if (const int code = controlCharacter(a.key)) return pressControlKey(dialog, a, code);
            const int vk = keyCode(a.key);
            if (vk == 0) return reject(a, "unknown key \"" + a.key + "\"");
            return pressKey(dialog, vk, a.shift);
        }
        case ActionKind::Focus: return focus(dialog, a);
        case ActionKind::Choose: return choose(dialog, a);
        case ActionKind::DblClick: return doubleClick(dialog, a);
        case ActionKind::Select: return select(dialog, a);
        case ActionKind::Close: return systemCommand(dialog, a, SC_CLOSE, HTCLOSE);
        case ActionKind::SysMenu: return systemCommand(dialog, a, static_cast<UINT>(a.number), HTSYSMENU);
        default:
            return reject(a, "a dialog waits: " + describeDialog(dialog) +
                                 " takes only dialog actions (click, type, key, focus, choose, dblclick, select, close, sysmenu)");
    }
}

}  // namespace kestrin::ui
