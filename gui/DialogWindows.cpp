#include "gui/DialogWindows.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QMessageBox>
#include <QPointer>

#include <algorithm>
#include <map>
#include <vector>

#include "base/Signal.h"
#include "gui/DialogWindow.h"
#include "gui/GuiSource.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/UiEvents.h"
#include "platform/ui/Window.h"

namespace kestrin::gui {

namespace {

QMessageBox::StandardButtons buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
        case MB_ABORTRETRYIGNORE: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
        case MB_RETRYCANCEL: return QMessageBox::Retry | QMessageBox::Cancel;
        default: return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONSTOP: return QMessageBox::Critical;
        case MB_ICONQUESTION: return QMessageBox::Question;
        case MB_ICONEXCLAMATION: return QMessageBox::Warning;
        case MB_ICONINFORMATION: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// The word of `answer` for a message box's button.
std::string answerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok: return "ok";
        case QMessageBox::Yes: return "yes";
        case QMessageBox::No: return "no";
        case QMessageBox::Abort: return "abort";
        case QMessageBox::Retry: return "retry";
        case QMessageBox::Ignore: return "ignore";
        default: return "cancel";
    }
}

}  // namespace

// Pixels between a dialog's first place and the edge of what it shows over.
constexpr int kMargin = 12;
// Room above a window for the caption its frame adds.
constexpr int kCaptionRoom = 24;

struct DialogWindows::Impl {
    Post post;
    QPointer<QWidget> area;  // where a dialog of its own first shows; may be null
    std::map<HWND, QPointer<DialogWindow>> windows;
    std::vector<QPointer<QMessageBox>> boxes;  // innermost last
    std::vector<ScopedConnection> connections;

    DialogWindow* windowOf(HWND dialog) const {
        const auto it = windows.find(dialog);
        return it == windows.end() ? nullptr : it->second.data();
    }
    // A window of a program without a drawing (the setup) placed partly off
    // the screen, as a large chooser over a small dialog at the screen's
    // edge, moves so that all of it shows, its caption too.
    static void keepOnScreen(QWidget& w) {
        const QScreen* screen = w.screen() != nullptr ? w.screen() : QGuiApplication::primaryScreen();
        if (screen == nullptr) return;
        const QRect free = screen->availableGeometry().adjusted(0, kCaptionRoom, 0, 0);
        const int x = std::clamp(w.x(), free.left(), std::max(free.left(), free.right() + 1 - w.width()));
        const int y = std::clamp(w.y(), free.top(), std::max(free.top(), free.bottom() + 1 - w.height()));
        if (x != w.x() || y != w.y()) w.move(x, y);
    }

    // The window of the dialog that holds `h`.
    DialogWindow* holding(HWND h) const {
        const ui::Window* d = ui::dialogOf(h);
        return d ? windowOf(d->handle) : nullptr;
    }

    void opened(HWND dialog) {
        if (windowOf(dialog) != nullptr) return;
        auto* w = new DialogWindow(dialog, [this](session::Action a) { post(std::move(a)); });
        // A dialog opened from another stays above that one's window and shows
        // over its middle; a dialog of its own stays above the host's window
        // and shows at the top right of its drawing, clear of the text that
        // usually starts at the left.
        DialogWindow* owner = nullptr;
        if (const ui::Window* d = ui::windowOf(dialog); d && d->parent) owner = holding(d->parent);
        if (owner != nullptr) {
            w->setParent(owner, w->windowFlags());
            const QRect o = owner->geometry();
            w->move(o.center() - QPoint(w->width() / 2, w->height() / 2));
        } else if (area != nullptr) {
            QWidget* top = area->window();
            w->setParent(top, w->windowFlags());
            const QPoint corner = area->mapToGlobal(QPoint(area->width(), 0));
            w->move(corner + QPoint(-w->width() - kMargin, kMargin));
        }
        if (area == nullptr) keepOnScreen(*w);  // over the host's window, that window holds it
        windows[dialog] = w;
    }

    void closed(HWND dialog) {
        const auto it = windows.find(dialog);
        if (it == windows.end()) return;
        if (DialogWindow* w = it->second.data()) {
            w->hide();
            w->deleteLater();  // the model may be running inside one of its handlers
        }
        windows.erase(it);
    }

    void shown(HWND h, bool on) {
        DialogWindow* w = windowOf(h);
        if (w == nullptr) {
            if (DialogWindow* holder = holding(h)) holder->syncShown(h);
            return;
        }
        if (!on) {
            w->hide();
            return;
        }
        w->syncAll();
        w->show();
        w->raise();
        w->activateWindow();
    }

    void boxShown(HWND owner, const std::string& text, const std::string& caption, UINT type) {
        QWidget* parent = holding(owner);
        if (parent == nullptr) parent = windowOf(ui::activeDialog());
        if (parent != nullptr && !parent->isVisible()) parent = nullptr;
        auto* box = new QMessageBox(iconOf(type), displayText(caption), displayText(text), buttonsOf(type), parent);
        box->setAttribute(Qt::WA_DeleteOnClose, false);
        QObject::connect(box, &QMessageBox::buttonClicked, box, [this, box](QAbstractButton* button) {
            if (box->property("answered").toBool()) return;
            box->setProperty("answered", true);
            session::Action a;
            a.kind = session::ActionKind::Answer;
            a.text = answerOf(box->standardButton(button));
            post(std::move(a));
        });
        boxes.emplace_back(box);
        if (parent != nullptr) {
            box->open();  // window-modal over its dialog, without a loop of its own
        } else {
            box->setWindowModality(Qt::ApplicationModal);
            box->show();
        }
    }

    void boxClosed() {
        while (!boxes.empty() && boxes.back().isNull()) boxes.pop_back();
        if (boxes.empty()) return;
        QMessageBox* box = boxes.back().data();
        boxes.pop_back();
        box->hide();
        box->deleteLater();
    }
};

DialogWindows::DialogWindows(Post post) : impl_(std::make_unique<Impl>()) {
    impl_->post = std::move(post);
    ui::UiEvents& events = ui::uiEvents();
    Impl* impl = impl_.get();
    auto sync = [impl](void (DialogWindow::*what)(HWND)) {
        return [impl, what](HWND h) {
            if (DialogWindow* w = impl->holding(h)) (w->*what)(h);
        };
    };
    auto& c = impl_->connections;
    c.push_back(events.textChanged.connectScoped(
        [s = sync(&DialogWindow::syncText)](HWND h, const std::string&) { s(h); }));
    c.push_back(events.shownChanged.connectScoped([impl](HWND h, bool on) { impl->shown(h, on); }));
    c.push_back(events.enabledChanged.connectScoped(
        [s = sync(&DialogWindow::syncEnabled)](HWND h, bool) { s(h); }));
    c.push_back(events.checkChanged.connectScoped([s = sync(&DialogWindow::syncCheck)](HWND h, int) { s(h); }));
    c.push_back(events.selectionChanged.connectScoped([s = sync(&DialogWindow::syncList)](HWND h, int) { s(h); }));
    c.push_back(events.entriesChanged.connectScoped(sync(&DialogWindow::syncList)));
    c.push_back(events.dialogOpened.connectScoped([impl](HWND h) { impl->opened(h); }));
    c.push_back(events.dialogClosed.connectScoped([impl](HWND h) { impl->closed(h); }));
    c.push_back(events.messageBoxShown.connectScoped(
        [impl](HWND owner, const std::string& text, const std::string& caption, UINT type) {
            impl->boxShown(owner, text, caption, type);
        }));
    c.push_back(events.messageBoxClosed.connectScoped([impl](HWND, int) { impl->boxClosed(); }));
}

DialogWindows::DialogWindows(GuiSource& source)
    : DialogWindows([&source](session::Action a) { source.post(std::move(a)); }) {
    impl_->connections.push_back(source.waiting.connectScoped([this](const std::string&) { refresh(); }));
}

DialogWindows::~DialogWindows() {
    impl_->connections.clear();
    for (auto& box : impl_->boxes) delete box.data();
    for (auto& [h, w] : impl_->windows) delete w.data();
}

void DialogWindows::setArea(QWidget* area) { impl_->area = area; }

void DialogWindows::refresh() {
    for (auto& [h, w] : impl_->windows) {
        if (w.isNull()) continue;
        const ui::Window* d = ui::windowOf(h);
        w->syncAll();
        if (d && d->shown && !w->isVisible()) impl_->shown(h, true);
        else if (d && !d->shown && w->isVisible()) w->hide();
    }
}

QWidget* DialogWindows::window(HWND dialog) const { return impl_->windowOf(dialog); }

QWidget* DialogWindows::control(HWND control) const {
    DialogWindow* w = impl_->holding(control);
    return w ? w->control(control) : nullptr;
}

QMessageBox* DialogWindows::messageBox() const {
    for (auto it = impl_->boxes.rbegin(); it != impl_->boxes.rend(); ++it)
        if (!it->isNull()) return it->data();
    return nullptr;
}

}  // namespace kestrin::gui
