// Windows: each model dialog as a real Win32 dialog (ui::win32::NativeDialog),
// one more view over the window model, as the Qt windows are on Linux: the
// model's notifications bring the controls up to date, and what the person
// does there is posted as the session's actions. Message boxes are the
// system's own, answered with `answer`.
#include "gui/DialogWindows.h"

#include <map>
#include <optional>
#include <vector>

#include "base/Cp1251.h"
#include "base/Signal.h"
#include "gui/GuiSource.h"
#include "platform/ui/DialogActions.h"
#include "platform/ui/Focus.h"
#include "platform/ui/UiEvents.h"
#include "platform/ui/Window.h"
#include "platform/ui/win32/NativeDialog.h"

namespace kestrin::gui {

namespace {

using session::Action;
using session::ActionKind;
using ui::Window;
using ui::WindowKind;
using ui::win32::NativeControl;
using ui::win32::NativeDialog;
using ui::win32::NativeInput;
using ui::win32::NativeKind;

std::optional<NativeKind> nativeKind(WindowKind kind) {
    switch (kind) {
        case WindowKind::Button: return NativeKind::Button;
        case WindowKind::Edit: return NativeKind::Edit;
        case WindowKind::ComboBox: return NativeKind::ComboBox;
        case WindowKind::ListBox: return NativeKind::ListBox;
        case WindowKind::Static: return NativeKind::Static;
        case WindowKind::ProgressBar: return NativeKind::Progress;
        default: return std::nullopt;  // tooltips show nothing of their own here
    }
}

std::string shown(const std::string& cp1251) { return cp1251ToUtf8(cp1251); }

const char* answerOf(int button) {
    switch (button) {
        case IDOK: return "ok";
        case IDYES: return "yes";
        case IDNO: return "no";
        case IDABORT: return "abort";
        case IDRETRY: return "retry";
        case IDIGNORE: return "ignore";
        default: return "cancel";
    }
}

}  // namespace

struct DialogWindows::Impl {
    Post post;
    std::map<HWND, std::unique_ptr<NativeDialog>> windows;
    struct Box {
        HWND owner;
        std::string text, caption;
        UINT type;
    };
    std::optional<Box> box;  // shown by the model, not answered yet
    bool answering = false;
    std::vector<ScopedConnection> connections;

    NativeDialog* windowOf(HWND dialog) const {
        const auto it = windows.find(dialog);
        return it == windows.end() ? nullptr : it->second.get();
    }
    // The window of the dialog that holds control `h`, and the control.
    NativeDialog* holding(HWND h, const Window** control = nullptr) const {
        const Window* w = ui::windowOf(h);
        const Window* d = w ? ui::dialogOf(h) : nullptr;
        if (d == nullptr || d == w) return nullptr;
        if (control) *control = w;
        return windowOf(d->handle);
    }

    void opened(HWND dialog) {
        if (windowOf(dialog) != nullptr) return;
        const Window& d = ui::windowRef(dialog);
        ui::win32::NativeTemplate t;
        t.caption = shown(d.text);
        t.style = d.style;
        t.cx = d.units.width;
        t.cy = d.units.height;
        if (!d.fontFace.empty()) t.fontFace = d.fontFace;
        if (d.fontPoints > 0) t.fontPoints = d.fontPoints;
        for (HWND h : d.children) {
            const Window& c = ui::windowRef(h);
            const auto kind = nativeKind(c.kind);
            if (!kind) continue;
            NativeControl n;
            n.id = c.id;
            n.kind = *kind;
            n.style = c.style;
            n.x = c.units.x, n.y = c.units.y, n.cx = c.units.width, n.cy = c.units.height;
            n.text = shown(c.text);
            t.controls.push_back(std::move(n));
        }
        const NativeDialog* owner = d.parent ? windowOf(d.parent) : nullptr;
        if (owner == nullptr && d.parent) owner = holding(d.parent);
        windows[dialog] = std::make_unique<NativeDialog>(
            t, [this, dialog](const NativeInput& in) { input(dialog, in); }, owner);
    }

    void closed(HWND dialog) { windows.erase(dialog); }

    void syncControl(NativeDialog& n, const Window& c) {
        n.setShown(c.id, c.shown);
        n.setEnabled(c.id, c.enabled);
        switch (c.kind) {
            case WindowKind::Button: n.setText(c.id, shown(c.text)); n.setCheck(c.id, c.button().check); break;
            case WindowKind::Static: n.setText(c.id, shown(c.text)); break;
            case WindowKind::Edit: syncEdit(n, c); break;
            case WindowKind::ListBox: syncList(n, c); break;
            case WindowKind::ComboBox: syncList(n, c); syncEdit(n, c); break;
            case WindowKind::ProgressBar: n.setProgress(c.id, c.progress().low, c.progress().high, c.progress().pos); break;
            default: break;
        }
    }
    void syncEdit(NativeDialog& n, const Window& c) {
        n.setText(c.id, shown(c.text));
        // Positions are characters: the same in CP1251 and in the control's UTF-16.
        n.setEditSelection(c.id, c.edit().anchor, c.edit().caret);
    }
    void syncList(NativeDialog& n, const Window& c) {
        std::vector<std::string> entries;
        for (const std::string& e : c.list().entries()) entries.push_back(shown(e));
        if (n.entries(c.id) != entries) n.setEntries(c.id, entries);
        if (n.selection(c.id) != c.list().selection()) n.setSelection(c.id, c.list().selection());
        if (c.kind == WindowKind::ComboBox) n.setText(c.id, shown(c.text));
    }
    void sync(HWND h) {
        const Window* c = nullptr;
        if (NativeDialog* n = holding(h, &c)) syncControl(*n, *c);
        else if (NativeDialog* d = windowOf(h)) d->setCaption(shown(ui::windowRef(h).text));
    }
    void syncAll() {
        for (auto& [dialog, n] : windows) {
            const Window* d = ui::windowOf(dialog);
            if (d == nullptr) continue;
            for (HWND h : d->children)
                if (const Window* c = ui::windowOf(h); c && nativeKind(c->kind)) syncControl(*n, *c);
            n->show(d->shown);
        }
        if (const Window* focus = ui::windowOf(ui::focusedWindow())) {
            const Window* c = nullptr;
            if (NativeDialog* n = holding(focus->handle, &c)) n->setFocus(c->id);
        }
    }
    void shownChanged(HWND h, bool on) {
        if (NativeDialog* d = windowOf(h)) {
            if (on) syncAll();
            d->show(on);
        } else {
            sync(h);
        }
    }

    // The person's input, as the actions a script would name.
    void input(HWND dialog, const NativeInput& in) {
        if (ui::activeDialog() != dialog || box) return;  // another dialog or a message box takes the input
        const Window* control = in.id != 0 ? ui::childById(dialog, in.id) : nullptr;
        Action a;
        switch (in.kind) {
            case NativeInput::Kind::Click:
                if (!control || !ui::nameControl(dialog, control->handle, a.control)) return;
                a.kind = ActionKind::Click;
                break;
            case NativeInput::Kind::Focus:
                if (!control || ui::focusedWindow() == control->handle || !ui::nameControl(dialog, control->handle, a.control)) return;
                a.kind = ActionKind::Focus;
                break;
            case NativeInput::Kind::Type: {
                const std::string text = utf8ToCp1251(in.text);
                if (!control || text.empty() || !representableInCp1251(in.text)) return;
                selectAsShown(dialog, *control);
                a.kind = ActionKind::Type;
                a.text = text;
                break;
            }
            case NativeInput::Kind::Key:
                if (control) selectAsShown(dialog, *control);
                a.kind = ActionKind::Key;
                a.key = in.text;
                a.shift = in.shift;
                break;
            case NativeInput::Kind::Choose:
            case NativeInput::Kind::Open:
                if (!control || !control->list().valid(in.index) || !ui::nameControl(dialog, control->handle, a.control)) return;
                a.kind = in.kind == NativeInput::Kind::Choose ? ActionKind::Choose : ActionKind::DblClick;
                a.text = control->list().text(in.index);
                break;
            case NativeInput::Kind::Close:
                a.kind = ActionKind::Close;
                break;
        }
        post(std::move(a));
    }
    // Typing goes where the person sees the caret: the model is told first
    // when its focus or selection differs.
    void selectAsShown(HWND dialog, const Window& control) {
        NativeDialog* n = windowOf(dialog);
        int from = 0, to = 0;
        if (n == nullptr || !n->editSelection(control.id, from, to)) return;
        if (control.kind != WindowKind::Edit && control.kind != WindowKind::ComboBox) return;
        const ui::EditState& s = control.edit();
        if (ui::focusedWindow() == control.handle && s.selStart() == from && s.selEnd() == to) return;
        Action a;
        if (!ui::nameControl(dialog, control.handle, a.control)) return;
        a.kind = ActionKind::Select;
        a.first = from;
        a.last = to;
        post(std::move(a));
    }

    void boxShown(HWND owner, const std::string& text, const std::string& caption, UINT type) {
        box = Box{owner, text, caption, type};
    }
    // A waiting message box is the system's own, shown modally until answered.
    void answerBox() {
        if (!box || answering) return;
        answering = true;
        const NativeDialog* owner = windowOf(box->owner);
        if (owner == nullptr) owner = windowOf(ui::activeDialog());
        const int button = ui::win32::showMessageBox(owner, shown(box->text), shown(box->caption), box->type);
        answering = false;
        box.reset();
        Action a;
        a.kind = ActionKind::Answer;
        a.text = answerOf(button);
        post(std::move(a));
    }
};

DialogWindows::DialogWindows(Post post) : impl_(std::make_unique<Impl>()) {
    impl_->post = std::move(post);
    ui::UiEvents& events = ui::uiEvents();
    Impl* impl = impl_.get();
    auto& c = impl_->connections;
    c.push_back(events.dialogOpened.connectScoped([impl](HWND h) { impl->opened(h); }));
    c.push_back(events.dialogClosed.connectScoped([impl](HWND h) { impl->closed(h); }));
    c.push_back(events.shownChanged.connectScoped([impl](HWND h, bool on) { impl->shownChanged(h, on); }));
    c.push_back(events.textChanged.connectScoped([impl](HWND h, const std::string&) { impl->sync(h); }));
    c.push_back(events.enabledChanged.connectScoped([impl](HWND h, bool) { impl->sync(h); }));
    c.push_back(events.checkChanged.connectScoped([impl](HWND h, int) { impl->sync(h); }));
    c.push_back(events.selectionChanged.connectScoped([impl](HWND h, int) { impl->sync(h); }));
    c.push_back(events.entriesChanged.connectScoped([impl](HWND h) { impl->sync(h); }));
    c.push_back(events.messageBoxShown.connectScoped(
        [impl](HWND owner, const std::string& text, const std::string& caption, UINT type) {
            impl->boxShown(owner, text, caption, type);
        }));
    c.push_back(events.messageBoxClosed.connectScoped([impl](HWND, int) { impl->box.reset(); }));
}

DialogWindows::DialogWindows(GuiSource& source) : DialogWindows([&source](Action a) { source.post(std::move(a)); }) {
    impl_->connections.push_back(source.waiting.connectScoped([this](const std::string&) { refresh(); }));
}

DialogWindows::~DialogWindows() = default;

void DialogWindows::setArea(QWidget*) {}

void DialogWindows::refresh() {
    impl_->syncAll();
    impl_->answerBox();
}

QWidget* DialogWindows::window(HWND) const { return nullptr; }
QWidget* DialogWindows::control(HWND) const { return nullptr; }
QMessageBox* DialogWindows::messageBox() const { return nullptr; }

}  // namespace kestrin::gui
