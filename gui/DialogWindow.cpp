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

// The Greek letter the "Symbol" font draws for each Latin letter.
constexpr char16_t kSymbolUpper[26] = {u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι', u'ϑ', u'Κ', u'Λ', u'Μ',
                                       u'Ν', u'Ο', u'Π', u'Θ', u'Ρ', u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};
constexpr char16_t kSymbolLower[26] = {u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι', u'ϕ', u'κ', u'λ', u'μ',
                                       u'ν', u'ο', u'π', u'θ', u'ρ', u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};

bool isSymbolFace(const std::string& face) { return equalIgnoringCase(face, "Symbol"); }

// A static's text as drawn: "&x" underlines x, "&&" is one ampersand.
QString withoutMnemonics(const QString& s) {
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

// A multi-line edit keeps CR LF line ends; the widget has LF alone. Positions
// are converted between the two.
int widgetPosition(const std::string& text, int modelPos) {
    int pos = 0;
    for (int i = 0; i < modelPos && i < static_cast<int>(text.size()); ++i)
        if (!(text[i] == '\r' && i + 1 < static_cast<int>(text.size()) && text[i + 1] == '\n')) ++pos;
    return pos;
}
int modelPosition(const std::string& text, int widgetPos) {
    int pos = 0, i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && pos < widgetPos) {
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        ++i;
        ++pos;
    }
    return i;
}
std::string withLineFeeds(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

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

// The entries of a combo or list box as shown.
QStringList displayEntries(const Window& w) {
    QStringList entries;
    for (const std::string& e : w.list().entries()) entries << displayText(e);
    return entries;
}
}  // namespace

QString displayText(const std::string& cp1251, bool symbolFace) {
    QString text = QString::fromStdString(cp1251ToUtf8(cp1251));
    if (!symbolFace) return text;
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z') c = QChar(kSymbolUpper[u - u'A']);
        else if (u >= u'a' && u <= u'z') c = QChar(kSymbolLower[u - u'a']);
    }
    return text;
}

std::optional<std::string> toCp1251(const QString& text) {
    const std::string utf8 = text.toStdString();
    if (!representableInCp1251(utf8)) return std::nullopt;
    return utf8ToCp1251(utf8);
}

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
    // Group boxes go under the controls they frame.
    for (const auto& [h, c] : controls_)
        if (c.kind == Kind::GroupBox) c.widget->lower();
    syncAll();
}

DialogWindow::~DialogWindow() = default;

QWidget* DialogWindow::control(HWND control) const {
    const auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : it->second.widget;
}

void DialogWindow::makeControl(HWND h) {
    const Window& w = ui::windowRef(h);
    Control c{h, Kind::Label, nullptr};
    switch (w.kind) {
        case WindowKind::Button: c = makeButton(w, h); break;
        case WindowKind::Edit: c = makeEdit(w, h); break;
        case WindowKind::ComboBox: c = makeCombo(w, h); break;
        case WindowKind::ListBox: c = makeList(h); break;
        case WindowKind::ProgressBar: {
            auto* p = new QProgressBar(this);
            p->setTextVisible(false);
            c = {h, Kind::Progress, p};
            break;
        }
        case WindowKind::Static: c = makeLabel(w, h); break;
        case WindowKind::Dialog:
        case WindowKind::ToolTip: return;  // tooltips become the widgets' tooltips
    }
    parts_[c.widget] = h;
    c.widget->installEventFilter(this);
    controls_[h] = c;
}

// A part of a control's widget that takes the mouse or the keys itself (a
// viewport, a combo box's field) answers for the control.
void DialogWindow::watchPart(QWidget* part, HWND h) {
    parts_[part] = h;
    part->installEventFilter(this);
}

DialogWindow::Control DialogWindow::makeButton(const Window& w, HWND h) {
    const DWORD type = w.style & BS_TYPEMASK;
    const bool pushLike = (w.style & BS_PUSHLIKE) != 0;
    if (type == BS_GROUPBOX) return {h, Kind::GroupBox, new QGroupBox(this)};
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
        if (pushLike) {
            auto* b = new QPushButton(this);
            b->setCheckable(true);
            return {h, Kind::CheckBox, b};
        }
        auto* b = new QCheckBox(this);
        b->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
        return {h, Kind::CheckBox, b};
    }
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        QAbstractButton* b = pushLike ? static_cast<QAbstractButton*>(new QPushButton(this)) : new QRadioButton(this);
        b->setCheckable(true);
        b->setAutoExclusive(false);  // the model clears the others of the group
        return {h, Kind::RadioButton, b};
    }
    auto* b = new QPushButton(this);
    b->setAutoDefault(false);
    return {h, Kind::PushButton, b};
}

DialogWindow::Control DialogWindow::makeEdit(const Window& w, HWND h) {
    if (w.style & ES_MULTILINE) {
        auto* e = new QPlainTextEdit(this);
        e->setAcceptDrops(false);
        e->setContextMenuPolicy(Qt::PreventContextMenu);
        e->setReadOnly((w.style & ES_READONLY) != 0);
        e->setUndoRedoEnabled(false);
        watchPart(e->viewport(), h);
        return {h, Kind::TextEdit, e};
    }
    auto* e = new QLineEdit(this);
    e->setAcceptDrops(false);
    e->setDragEnabled(false);
    e->setContextMenuPolicy(Qt::PreventContextMenu);
    e->setReadOnly((w.style & ES_READONLY) != 0);
    if (w.style & ES_PASSWORD) e->setEchoMode(QLineEdit::Password);
    return {h, Kind::LineEdit, e};
}

DialogWindow::Control DialogWindow::makeCombo(const Window& w, HWND h) {
    auto* b = new QComboBox(this);
    b->setEditable((w.style & 0x3) != CBS_DROPDOWNLIST);
    b->setInsertPolicy(QComboBox::NoInsert);
    b->setContextMenuPolicy(Qt::PreventContextMenu);
    if (QLineEdit* field = b->lineEdit()) {
        b->setCompleter(nullptr);
        field->setAcceptDrops(false);
        field->setDragEnabled(false);
        field->setContextMenuPolicy(Qt::PreventContextMenu);
        watchPart(field, h);
    }
    connect(b, &QComboBox::activated, this, [this, h](int index) {
        if (syncing_ > 0) return;
        const auto it = controls_.find(h);
        if (it != controls_.end()) choose(it->second, index, ActionKind::Choose);
    });
    return {h, Kind::Combo, b};
}

DialogWindow::Control DialogWindow::makeList(HWND h) {
    auto* l = new QListWidget(this);
    l->setContextMenuPolicy(Qt::PreventContextMenu);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    watchPart(l->viewport(), h);
    return {h, Kind::List, l};
}

DialogWindow::Control DialogWindow::makeLabel(const Window& w, HWND h) {
    auto* l = new QLabel(this);
    const DWORD type = w.style & SS_TYPEMASK;
    if (type == SS_CENTER) l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    else if (type == SS_RIGHT) l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    else if (type == SS_ICON || type == SS_BITMAP) l->setAlignment(Qt::AlignCenter);
    else l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (w.style & SS_SUNKEN) l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    return {h, Kind::Label, l};
}

const DialogWindow::Control* DialogWindow::controlOf(QObject* object) const {
    const auto part = parts_.find(object);
    if (part == parts_.end()) return nullptr;
    const auto it = controls_.find(part->second);
    return it == controls_.end() ? nullptr : &it->second;
}

QLineEdit* DialogWindow::lineEditOf(const Control& c) const {
    if (c.kind == Kind::LineEdit) return static_cast<QLineEdit*>(c.widget);
    if (c.kind == Kind::Combo) return static_cast<QComboBox*>(c.widget)->lineEdit();
    return nullptr;
}

// ---- The model's state on the widgets ----

void DialogWindow::syncText(HWND h) {
    if (h == dialog_) {
        if (const Window* d = ui::windowOf(dialog_)) setWindowTitle(displayText(d->text));
        return;
    }
    if (const auto it = controls_.find(h); it != controls_.end()) syncControl(it->second);
}

void DialogWindow::syncShown(HWND h) {
    const auto it = controls_.find(h);
    const Window* w = ui::windowOf(h);
    if (it != controls_.end() && w) it->second.widget->setVisible(w->shown);
}

void DialogWindow::syncEnabled(HWND h) {
    const Window* w = ui::windowOf(h);
    if (w == nullptr) return;
    if (h == dialog_) setEnabled(w->enabled);
    else if (const auto it = controls_.find(h); it != controls_.end()) it->second.widget->setEnabled(w->enabled);
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
    for (const auto& [h, c] : controls_) {
        syncControl(c);
        syncFont(c);
        syncImage(c);
        const Window& w = ui::windowRef(h);
        c.widget->setToolTip(displayText(ui::toolTipTextOf(h)));
        if (c.kind == Kind::PushButton) static_cast<QPushButton*>(c.widget)->setDefault(w.id == defId);
    }
    syncFocus();
    for (const auto& [h, c] : controls_) syncEditSelection(c);
    pending_ = false;
    --syncing_;
}

namespace {

// A button's caption and check state as the model holds them.
void showButton(QAbstractButton* b, const Window& w, const QString& text) {
    if (b->text() != text) b->setText(text);
    const int check = w.button().check;
    if (auto* box = qobject_cast<QCheckBox*>(b); box && box->isTristate())
        box->setCheckState(check == 2 ? Qt::PartiallyChecked : check == 1 ? Qt::Checked : Qt::Unchecked);
    else if (b->isCheckable())
        b->setChecked(check != 0);
}

// A combo box's entries, selection and field text; lists are filled anew
// only when their entries changed.
void showCombo(QComboBox* b, const Window& w, const QString& text) {
    const QStringList entries = displayEntries(w);
    QStringList shown;
    for (int i = 0; i < b->count(); ++i) shown << b->itemText(i);
    if (shown != entries) {
        b->clear();
        b->addItems(entries);
    }
    if (b->currentIndex() != w.list().selection()) b->setCurrentIndex(w.list().selection());
    if (QLineEdit* field = b->lineEdit(); field && field->text() != text) field->setText(text);
}

void showList(QListWidget* l, const Window& w) {
    const QStringList entries = displayEntries(w);
    bool same = l->count() == entries.size();
    for (int i = 0; same && i < l->count(); ++i) same = l->item(i)->text() == entries[i];
    if (!same) {
        l->clear();
        l->addItems(entries);
    }
    const int selection = w.list().selection();
    if (l->currentRow() != selection) l->setCurrentRow(selection);
    if (selection < 0) l->clearSelection();
}

}  // namespace

void DialogWindow::syncControl(const Control& c) {
    const Window* w = ui::windowOf(c.handle);
    if (w == nullptr) return;
    ++syncing_;
    QWidget* widget = c.widget;
    const QRect place(static_cast<int>(w->rect.left), static_cast<int>(w->rect.top),
                      static_cast<int>(w->rect.right - w->rect.left), static_cast<int>(w->rect.bottom - w->rect.top));
    if (c.kind == Kind::Combo)  // the rectangle holds the dropped list too
        widget->setGeometry(place.x(), place.y(), place.width(), std::min(place.height(), widget->sizeHint().height()));
    else
        widget->setGeometry(place);
    widget->setVisible(w->shown);
    widget->setEnabled(w->enabled);
    const QString text = displayText(w->text, isSymbolFace(w->fontFace));
    switch (c.kind) {
        case Kind::PushButton:
        case Kind::CheckBox:
        case Kind::RadioButton: showButton(static_cast<QAbstractButton*>(widget), *w, text); break;
        case Kind::GroupBox: static_cast<QGroupBox*>(widget)->setTitle(text); break;
        case Kind::LineEdit: {
            auto* e = static_cast<QLineEdit*>(widget);
            if (e->text() != text) e->setText(text);
            syncEditSelection(c);
            break;
        }
        case Kind::TextEdit: {
            auto* e = static_cast<QPlainTextEdit*>(widget);
            const QString lines = displayText(withLineFeeds(w->text));
            if (e->toPlainText() != lines) e->setPlainText(lines);
            syncEditSelection(c);
            break;
        }
        case Kind::Combo:
            showCombo(static_cast<QComboBox*>(widget), *w, text);
            syncEditSelection(c);
            break;
        case Kind::List: showList(static_cast<QListWidget*>(widget), *w); break;
        case Kind::Label: {
            auto* l = static_cast<QLabel*>(widget);
            if (l->pixmap().isNull() && l->text() != withoutMnemonics(text)) l->setText(withoutMnemonics(text));
            break;
        }
        case Kind::Progress: {
            auto* p = static_cast<QProgressBar*>(widget);
            const ui::ProgressState& s = w->progress();
            p->setRange(std::min(s.low, s.high), std::max(s.low, s.high));
            p->setValue(std::clamp(s.pos, p->minimum(), p->maximum()));
            break;
        }
    }
    fitText(c, place);
    --syncing_;
}

// The template's rectangles are measured for the system's dialog font; the
// font here may run wider. A label or a check box whose text would be cut
// grows to the right as far as the dialog lets it, and a label one line
// high is not broken into lines it has no room for.
void DialogWindow::fitText(const Control& c, const QRect& place) {
    QString text;
    int chrome = 0;  // what the widget needs beside its text
    if (auto* l = qobject_cast<QLabel*>(c.widget); l && c.kind == Kind::Label && l->pixmap().isNull()) {
        text = l->text();
        chrome = 2 * l->margin() + 2;
        const bool oneLine = place.height() < 2 * l->fontMetrics().lineSpacing();
        if (oneLine && l->wordWrap()) l->setWordWrap(false);
    } else if (c.kind == Kind::CheckBox || c.kind == Kind::RadioButton) {
        auto* b = static_cast<QAbstractButton*>(c.widget);
        if (qobject_cast<QPushButton*>(b) != nullptr) return;  // push-like: the text is centred in its own box
        text = b->text();
        chrome = b->sizeHint().width() - b->fontMetrics().horizontalAdvance(text);
    } else {
        return;
    }
    if (text.isEmpty() || text.contains('\n')) return;
    const int needed = c.widget->fontMetrics().horizontalAdvance(text) + chrome;
    if (needed <= place.width()) return;
    const int room = std::max(place.width(), width() - place.x() - 2);
    c.widget->resize(std::min(needed, room), c.widget->height());
}

void DialogWindow::syncEditSelection(const Control& c) {
    const Window* w = ui::windowOf(c.handle);
    if (w == nullptr) return;
    ++syncing_;
    if (QLineEdit* e = lineEditOf(c)) {
        const ui::EditState& s = w->edit();
        const int n = static_cast<int>(e->text().size());
        const int anchor = std::clamp(s.anchor, 0, n), caret = std::clamp(s.caret, 0, n);
        if (anchor == caret) {
            e->deselect();
            e->setCursorPosition(caret);
        } else {
            e->setSelection(anchor, caret - anchor);
        }
    } else if (c.kind == Kind::TextEdit) {
        auto* text = static_cast<QPlainTextEdit*>(c.widget);
        const ui::EditState& s = w->edit();
        const int n = static_cast<int>(text->toPlainText().size());
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(std::clamp(widgetPosition(w->text, s.anchor), 0, n));
        cursor.setPosition(std::clamp(widgetPosition(w->text, s.caret), 0, n), QTextCursor::KeepAnchor);
        text->setTextCursor(cursor);
    }
    --syncing_;
}

void DialogWindow::syncFont(const Control& c) {
    const Window* w = ui::windowOf(c.handle);
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
    if (c.widget->font() != font) c.widget->setFont(font);
}

void DialogWindow::syncImage(const Control& c) {
    const Window* w = ui::windowOf(c.handle);
    if (w == nullptr || (w->kind != WindowKind::Button && w->kind != WindowKind::Static)) return;
    const ui::ImageState& image = w->image();
    const ui::ImageResource* resource = image.bitmap ? ui::bitmapImage(image.bitmap) : nullptr;
    if (resource == nullptr && image.icon) resource = ui::iconImage(image.icon);
    const QPixmap pixmap = resource ? QPixmap::fromImage(imageOf(*resource)) : QPixmap();
    if (auto* b = qobject_cast<QAbstractButton*>(c.widget)) {
        b->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
        if (!pixmap.isNull()) b->setIconSize(pixmap.size());
    } else if (auto* l = qobject_cast<QLabel*>(c.widget)) {
        if (!pixmap.isNull()) l->setPixmap(pixmap);
        else if (!l->pixmap().isNull()) {
            l->clear();
            syncControl(c);
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
    QWidget* target = it->second.widget;
    if (QLineEdit* field = lineEditOf(it->second)) target = field;
    if (!target->hasFocus() && target->isVisible()) target->setFocus(Qt::OtherFocusReason);
}

// ---- The person's input ----

bool DialogWindow::active() const { return ui::activeDialog() == dialog_ && ui::openMessageBoxes() == 0; }

void DialogWindow::post(Action action) {
    pending_ = true;
    post_(std::move(action));
}

void DialogWindow::choose(const Control& c, int index, ActionKind kind) {
    const Window* w = ui::windowOf(c.handle);
    if (w == nullptr) return;
    if (active() && w->list().valid(index)) {
        Action a;
        a.kind = kind;
        if (ui::nameControl(dialog_, w->handle, a.control)) {
            a.text = w->list().text(index);
            post(std::move(a));
        }
    }
    syncControl(c);  // the widget shows the model's choice until the model changes it
}

void DialogWindow::selectAsShown(const Control& c, bool always) {
    const Window* w = ui::windowOf(c.handle);
    if (w == nullptr || !active()) return;
    int anchor = 0, caret = 0;
    if (QLineEdit* e = lineEditOf(c)) {
        caret = e->cursorPosition();
        anchor = !e->hasSelectedText() ? caret : (caret == e->selectionStart() ? e->selectionEnd() : e->selectionStart());
    } else if (c.kind == Kind::TextEdit) {
        const QTextCursor cursor = static_cast<QPlainTextEdit*>(c.widget)->textCursor();
        anchor = modelPosition(w->text, cursor.anchor());
        caret = modelPosition(w->text, cursor.position());
    } else {
        return;
    }
    const ui::EditState& s = w->edit();
    if (!always && ui::focusedWindow() == c.handle && s.anchor == anchor && s.caret == caret) return;
    Action a;
    a.kind = ActionKind::Select;
    if (!ui::nameControl(dialog_, w->handle, a.control)) return;
    a.first = anchor;
    a.last = caret;
    post(std::move(a));
}

void DialogWindow::typeText(const Control& c, const QString& text) {
    const std::optional<std::string> cp1251 = toCp1251(text);
    if (!cp1251 || cp1251->empty()) {
        QApplication::beep();
        return;
    }
    // Typing goes where the person sees the caret: the model is told first
    // when its focus or selection differs (and no earlier action is on its way).
    if (!pending_) selectAsShown(c, false);
    Action a;
    a.kind = ActionKind::Type;
    a.text = *cp1251;
    post(std::move(a));
}

bool DialogWindow::keyPressed(const Control* c, QKeyEvent* event) {
    if (!active()) return true;
    const int key = event->key();
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0 || key == Qt::Key_Backtab;
    const bool typable = c && (c->kind == Kind::LineEdit || c->kind == Kind::TextEdit ||
                               (c->kind == Kind::Combo && lineEditOf(*c) != nullptr));
    if (const std::string name = keyName(key); !name.empty()) {
        if (typable && !pending_ && name != "escape" && name != "tab") selectAsShown(*c, false);
        Action a;
        a.kind = ActionKind::Key;
        a.key = name;
        a.shift = shift;
        post(std::move(a));
        return true;
    }
    if (c && (c->kind == Kind::Combo || c->kind == Kind::List) && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        const Window* w = ui::windowOf(c->handle);
        if (w == nullptr) return true;
        const int at = w->list().selection();
        const int next = key == Qt::Key_Down ? (at < 0 ? 0 : at + 1) : at - 1;
        if (w->list().valid(next)) choose(*c, next, ActionKind::Choose);
        return true;
    }
    if (c && c->kind == Kind::Combo && (key == Qt::Key_F4 || (key == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))))
        return false;  // opens the list; a choice there is a Choose
    const bool plain = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
    if (typable && plain && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        typeText(*c, event->text());
        return true;
    }
    if (c && key == Qt::Key_Space && plain &&
        (c->kind == Kind::PushButton || c->kind == Kind::CheckBox || c->kind == Kind::RadioButton)) {
        Action a;
        a.kind = ActionKind::Click;
        if (ui::nameControl(dialog_, c->handle, a.control)) post(std::move(a));
        return true;
    }
    // Select all, copy, cut, paste and undo are the edit's own operations in
    // the model (its clipboard and undo), not the widget's.
    if (typable && (event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        static const std::pair<int, const char*> kEditKeys[] = {
            {Qt::Key_A, "ctrl+a"}, {Qt::Key_C, "ctrl+c"}, {Qt::Key_X, "ctrl+x"}, {Qt::Key_V, "ctrl+v"}, {Qt::Key_Z, "ctrl+z"}};
        for (const auto& [qtKey, name] : kEditKeys) {
            if (key != qtKey) continue;
            if (!pending_) selectAsShown(*c, false);
            Action a;
            a.kind = ActionKind::Key;
            a.key = name;
            post(std::move(a));
            return true;
        }
    }
    return true;  // any other key would change the widget by itself
}

bool DialogWindow::mouseEvent(const Control& c, QObject* watched, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (c.kind) {
        case Kind::PushButton:
        case Kind::CheckBox:
        case Kind::RadioButton:
        case Kind::Label: {
            if (c.kind == Kind::Label) {
                const Window* w = ui::windowOf(c.handle);
                if (w == nullptr || !(w->style & SS_NOTIFY)) return false;
            }
            if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
                c.widget->rect().contains(mouse->position().toPoint()) && active()) {
                Action a;
                a.kind = ActionKind::Click;
                if (ui::nameControl(dialog_, c.handle, a.control)) post(std::move(a));
            }
            return true;  // the button does not press or toggle itself
        }
        case Kind::List: {
            if (watched == c.widget) return false;
            auto* l = static_cast<QListWidget*>(c.widget);
            const int row = l->indexAt(mouse->position().toPoint()).row();
            if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
                afterDoubleClick_ = true;
                choose(c, row, ActionKind::DblClick);
            } else if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
                if (!afterDoubleClick_ && row >= 0) choose(c, row, ActionKind::Choose);
                afterDoubleClick_ = false;
            }
            return true;
        }
        case Kind::LineEdit:
        case Kind::TextEdit:
        case Kind::Combo: {
            if (c.kind == Kind::Combo && watched == c.widget) return false;  // the arrow opens the list
            if (mouse->button() == Qt::MiddleButton || (mouse->buttons() & Qt::MiddleButton)) return true;  // no paste
            if (!active()) return true;
            // The press and moves placed the widget's caret and selection; the
            // release tells the model, and the widget then shows the model's.
            if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) selectAsShown(c, true);
            return false;
        }
        default: return false;
    }
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    const Control* c = controlOf(watched);
    switch (event->type()) {
        case QEvent::KeyPress: return keyPressed(c, static_cast<QKeyEvent*>(event));
        case QEvent::KeyRelease: return c != nullptr;
        case QEvent::Shortcut: return c != nullptr;  // mnemonics are not actions of the session
        case QEvent::InputMethod: {
            auto* im = static_cast<QInputMethodEvent*>(event);
            if (c && active() && !im->commitString().isEmpty() &&
                (c->kind == Kind::LineEdit || c->kind == Kind::TextEdit || c->kind == Kind::Combo))
                typeText(*c, im->commitString());
            return c != nullptr;
        }
        case QEvent::Wheel: return c && (c->kind == Kind::Combo || c->kind == Kind::List) && watched == c->widget;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            if (c == nullptr) return false;
            if (event->type() == QEvent::MouseMove &&
                (c->kind == Kind::PushButton || c->kind == Kind::CheckBox || c->kind == Kind::RadioButton))
                return true;
            return event->type() == QEvent::MouseMove ? false : mouseEvent(*c, watched, event);
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
