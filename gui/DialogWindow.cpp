#include "gui/DialogWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include <algorithm>

#include "base/Cp1251.h"
#include "base/TextCase.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogActions.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Font.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Window.h"

namespace kestrin::gui {

namespace {
using session::Action;
using session::ActionKind;
using ui::Window;
using ui::WindowKind;

bool isSymbolFace(const std::string& face) { return equalIgnoringCase(face, "Symbol"); }

std::string keyName(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return "enter";
        case Qt::Key_Escape: return "escape";
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return "tab";
        case Qt::Key_Backspace: return "backspace";
        case Qt::Key_Delete: return "delete";
        case Qt::Key_Left: return "left";
        case Qt::Key_Right: return "right";
        case Qt::Key_Home: return "home";
        case Qt::Key_End: return "end";
        default: return {};
    }
}

}  // namespace

QImage imageOf(const ui::ImageResource& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * image.width + x;
            const COLORREF c = i < image.pixels.size() ? image.pixels[i] : 0;
            out.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    return out;
}

DialogWindow::DialogWindow(HWND dialog, Post post) : QWidget(nullptr), dialog_(dialog), post_(std::move(post)) {
    const Window& d = ui::windowRef(dialog);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (d.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    installEventFilter(this);
    for (HWND child : d.children) makeControl(child);
    for (const auto& [h, view] : controls_)
        if (view->frame()) view->widget()->lower();
    syncAll();
}

DialogWindow::~DialogWindow() = default;

QWidget* DialogWindow::control(HWND control) const {
    const auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : it->second->widget();
}

void DialogWindow::makeControl(HWND h) {
    std::unique_ptr<ControlView> view = makeControlView(h, this, *this);
    if (view == nullptr) return;
    watchPart(view->widget(), h);
    controls_[h] = std::move(view);
}

void DialogWindow::watchPart(QWidget* part, HWND h) {
    parts_[part] = h;
    part->installEventFilter(this);
}

ControlView* DialogWindow::viewOf(QObject* object) const {
    const auto part = parts_.find(object);
    if (part == parts_.end()) return nullptr;
    const auto it = controls_.find(part->second);
    return it == controls_.end() ? nullptr : it->second.get();
}

// ---- The model's state on the widgets ----

void DialogWindow::syncText(HWND h) {
    if (h == dialog_) {
        if (const Window* d = ui::windowOf(dialog_)) setWindowTitle(displayText(d->text));
        return;
    }
    if (const auto it = controls_.find(h); it != controls_.end()) syncControl(*it->second);
}

void DialogWindow::syncShown(HWND h) {
    const auto it = controls_.find(h);
    const Window* w = ui::windowOf(h);
    if (it != controls_.end() && w) it->second->widget()->setVisible(w->shown);
}

void DialogWindow::syncEnabled(HWND h) {
    const Window* w = ui::windowOf(h);
    if (w == nullptr) return;
    if (h == dialog_) setEnabled(w->enabled);
    else if (const auto it = controls_.find(h); it != controls_.end()) it->second->widget()->setEnabled(w->enabled);
}

void DialogWindow::syncCheck(HWND h) { syncText(h); }
void DialogWindow::syncList(HWND h) { syncText(h); }

void DialogWindow::syncAll() {
    const Window* d = ui::windowOf(dialog_);
    if (d == nullptr) return;
    ++syncing_;
    setWindowTitle(displayText(d->text));
    QFont font(QString::fromStdString(cp1251ToUtf8(d->fontFace)));
    font.setPixelSize(static_cast<int>(-heightOfPoints(d->fontPoints > 0 ? d->fontPoints : 8)));
    if (this->font() != font) setFont(font);
    setFixedSize(static_cast<int>(d->rect.right - d->rect.left), static_cast<int>(d->rect.bottom - d->rect.top));
    setEnabled(d->enabled);
    if (const ui::ImageResource* icon = d->dialog().smallIcon ? ui::iconImage(d->dialog().smallIcon) : nullptr)
        setWindowIcon(QIcon(QPixmap::fromImage(imageOf(*icon))));
    const int defId = ui::defaultButtonId(dialog_);
    for (const auto& [h, view] : controls_) {
        syncControl(*view);
        syncFont(*view);
        syncImage(*view);
        view->widget()->setToolTip(displayText(ui::toolTipTextOf(h)));
        view->setDefault(ui::windowRef(h).id == defId);
    }
    syncFocus();
    for (const auto& [h, view] : controls_) view->showSelection(ui::windowRef(h));
    pending_ = false;
    --syncing_;
}

void DialogWindow::syncControl(ControlView& view) {
    const Window* w = ui::windowOf(view.handle());
    if (w == nullptr) return;
    ++syncing_;
    const QRect place(static_cast<int>(w->rect.left), static_cast<int>(w->rect.top),
                      static_cast<int>(w->rect.right - w->rect.left), static_cast<int>(w->rect.bottom - w->rect.top));
    view.place(place);
    view.widget()->setVisible(w->shown);
    view.widget()->setEnabled(w->enabled);
    view.show(*w, displayText(w->text, isSymbolFace(w->fontFace)));
    view.showSelection(*w);
    // The template's rectangles are measured for the system's dialog font;
    // the font here may run wider.
    view.fit(place, width() - place.x() - 2);
    --syncing_;
}

void DialogWindow::syncFont(ControlView& view) {
    const Window* w = ui::windowOf(view.handle());
    const Window* d = ui::windowOf(dialog_);
    if (w == nullptr || d == nullptr) return;
    LOGFONT lf;
    const bool own = w->font != nullptr && ui::fontDescription(w->font, lf);
    // A Symbol face shows its letters as Greek ones (displayText) in the dialog's face.
    const std::string face = own && !w->fontFace.empty() && !isSymbolFace(w->fontFace) ? w->fontFace : d->fontFace;
    const int points = own && w->fontPoints > 0 ? w->fontPoints : (d->fontPoints > 0 ? d->fontPoints : 8);
    QFont font(QString::fromStdString(cp1251ToUtf8(face)));
    font.setPixelSize(static_cast<int>(-heightOfPoints(points)));
    if (own) {
        font.setBold(lf.lfWeight >= FW_BOLD);
        font.setItalic(lf.lfItalic != 0);
        font.setUnderline(lf.lfUnderline != 0);
    }
    if (view.widget()->font() != font) view.widget()->setFont(font);
}

void DialogWindow::syncImage(ControlView& view) {
    const Window* w = ui::windowOf(view.handle());
    if (w == nullptr || (w->kind != WindowKind::Button && w->kind != WindowKind::Static)) return;
    const ui::ImageState& image = w->image();
    const ui::ImageResource* resource = image.bitmap ? ui::bitmapImage(image.bitmap) : nullptr;
    if (resource == nullptr && image.icon) resource = ui::iconImage(image.icon);
    const QPixmap pixmap = resource ? QPixmap::fromImage(imageOf(*resource)) : QPixmap();
    if (auto* b = qobject_cast<QAbstractButton*>(view.widget())) {
        b->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
        if (!pixmap.isNull()) b->setIconSize(pixmap.size());
    } else if (auto* l = qobject_cast<QLabel*>(view.widget())) {
        if (!pixmap.isNull()) l->setPixmap(pixmap);
        else if (!l->pixmap().isNull()) {
            l->clear();
            syncControl(view);
        }
    }
}

void DialogWindow::syncFocus() {
    const Window* d = ui::windowOf(dialog_);
    if (d == nullptr) return;
    HWND focus = ui::focusedWindow();
    if (ui::dialogOf(focus) != d) focus = d->dialog().focus;
    const auto it = controls_.find(focus);
    if (it == controls_.end()) return;
    QWidget* target = it->second->widget();
    if (QLineEdit* field = it->second->lineEdit()) target = field;
    if (!target->hasFocus() && target->isVisible()) target->setFocus(Qt::OtherFocusReason);
}

// ---- The person's input ----

bool DialogWindow::active() const { return ui::activeDialog() == dialog_ && ui::openMessageBoxes() == 0; }

void DialogWindow::post(Action action) {
    pending_ = true;
    post_(std::move(action));
}

void DialogWindow::click(HWND control) {
    Action a;
    a.kind = ActionKind::Click;
    if (ui::nameControl(dialog_, control, a.control)) post(std::move(a));
}

void DialogWindow::choose(ControlView& view, int index, ActionKind kind) {
    const Window* w = ui::windowOf(view.handle());
    if (w == nullptr) return;
    if (active() && w->list().valid(index)) {
        Action a;
        a.kind = kind;
        if (ui::nameControl(dialog_, w->handle, a.control)) {
            a.text = w->list().text(index);
            post(std::move(a));
        }
    }
    syncControl(view);  // the widget shows the model's choice until the model changes it
}

void DialogWindow::selectAsShown(ControlView& view, bool always) {
    const Window* w = ui::windowOf(view.handle());
    if (w == nullptr || !active()) return;
    const std::optional<std::pair<int, int>> shown = view.shownSelection(*w);
    if (!shown) return;
    const auto [anchor, caret] = *shown;
    const ui::EditState& s = w->edit();
    if (!always && ui::focusedWindow() == view.handle() && s.anchor == anchor && s.caret == caret) return;
    Action a;
    a.kind = ActionKind::Select;
    if (!ui::nameControl(dialog_, w->handle, a.control)) return;
    a.first = anchor;
    a.last = caret;
    post(std::move(a));
}

void DialogWindow::typeText(ControlView& view, const QString& text) {
    const std::optional<std::string> cp1251 = toCp1251(text);
    if (!cp1251 || cp1251->empty()) {
        QApplication::beep();
        return;
    }
    // Typing goes where the person sees the caret: the model is told first
    // when its focus or selection differs (and no earlier action is on its way).
    if (!pending_) selectAsShown(view, false);
    Action a;
    a.kind = ActionKind::Type;
    a.text = *cp1251;
    post(std::move(a));
}

bool DialogWindow::keyPressed(ControlView* view, QKeyEvent* event) {
    if (!active()) return true;
    const int key = event->key();
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0 || key == Qt::Key_Backtab;
    const bool typable = view && view->typable();
    if (const std::string name = keyName(key); !name.empty()) {
        if (typable && !pending_ && name != "escape" && name != "tab") selectAsShown(*view, false);
        Action a;
        a.kind = ActionKind::Key;
        a.key = name;
        a.shift = shift;
        post(std::move(a));
        return true;
    }
    if (view && view->steppedByArrows() && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        const Window* w = ui::windowOf(view->handle());
        if (w == nullptr) return true;
        if (view->dropsDown() && key == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) return false;
        const int at = w->list().selection();
        const int next = key == Qt::Key_Down ? (at < 0 ? 0 : at + 1) : at - 1;
        if (w->list().valid(next)) choose(*view, next, ActionKind::Choose);
        return true;
    }
    if (view && view->dropsDown() && key == Qt::Key_F4) return false;  // opens the list; a choice there is a Choose
    const bool plain = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
    if (typable && plain && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        typeText(*view, event->text());
        return true;
    }
    if (view && view->clickable() && key == Qt::Key_Space && plain) {
        click(view->handle());
        return true;
    }
    // Select all, copy, cut, paste and undo are the edit's own operations in
    // the model (its clipboard and undo), not the widget's.
    if (typable && (event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        static const std::pair<int, const char*> kEditKeys[] = {
            {Qt::Key_A, "ctrl+a"}, {Qt::Key_C, "ctrl+c"}, {Qt::Key_X, "ctrl+x"}, {Qt::Key_V, "ctrl+v"}, {Qt::Key_Z, "ctrl+z"}};
        for (const auto& [qtKey, name] : kEditKeys) {
            if (key != qtKey) continue;
            if (!pending_) selectAsShown(*view, false);
            Action a;
            a.kind = ActionKind::Key;
            a.key = name;
            post(std::move(a));
            return true;
        }
    }
    return true;  // any other key would change the widget by itself
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    ControlView* view = viewOf(watched);
    switch (event->type()) {
        case QEvent::KeyPress: return keyPressed(view, static_cast<QKeyEvent*>(event));
        case QEvent::KeyRelease: return view != nullptr;
        case QEvent::Shortcut: return view != nullptr;  // mnemonics are not actions of the session
        case QEvent::InputMethod: {
            auto* im = static_cast<QInputMethodEvent*>(event);
            if (view && view->typable() && active() && !im->commitString().isEmpty()) typeText(*view, im->commitString());
            return view != nullptr;
        }
        case QEvent::Wheel: return view && view->takesWheel(watched);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: return view && view->mouse(watched, static_cast<QMouseEvent*>(event));
        default: return false;
    }
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the model closes the dialog, if it wants to
    const Window* d = ui::windowOf(dialog_);
    if (d == nullptr || !(d->style & WS_SYSMENU) || !active()) return;
    Action a;
    a.kind = ActionKind::Close;
    post(std::move(a));
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    const Window* d = ui::windowOf(dialog_);
    if (d == nullptr || !(d->style & WS_SYSMENU) || !active()) return;
    // The dialog's system menu as the model has it; the standard one when the
    // program never asked for it.
    std::unique_ptr<CMenu> standard;
    const CMenu* menu = d->dialog().systemMenu.get();
    if (menu == nullptr) menu = (standard = CMenu::makeSystemMenu()).get();
    const auto* items = ui::menuItems(*menu);
    if (items == nullptr) return;
    auto* popup = new QMenu(this);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    for (const ui::MenuItem& item : *items) {
        if (item.flags & MF_SEPARATOR) {
            popup->addSeparator();
            continue;
        }
        if (item.flags & MF_POPUP) continue;
        QAction* action = popup->addAction(displayText(item.text));
        action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
        const int number = static_cast<int>(item.id);
        connect(action, &QAction::triggered, this, [this, number] {
            if (!active()) return;
            Action a;
            a.kind = ActionKind::SysMenu;
            a.number = number;
            post(std::move(a));
        });
    }
    popup->popup(event->globalPos());
    event->accept();
}

}  // namespace kestrin::gui
