#include "gui/ControlViews.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include <algorithm>

#include "base/Cp1251.h"
#include "platform/ui/Window.h"

namespace kestrin::gui {

namespace {
using session::ActionKind;
using ui::Window;
using ui::WindowKind;

// The Greek letter the "Symbol" font draws for each Latin letter.
constexpr char16_t kSymbolUpper[26] = {u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι', u'ϑ', u'Κ', u'Λ', u'Μ',
                                       u'Ν', u'Ο', u'Π', u'Θ', u'Ρ', u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};
constexpr char16_t kSymbolLower[26] = {u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι', u'ϕ', u'κ', u'λ', u'μ',
                                       u'ν', u'ο', u'π', u'θ', u'ρ', u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};

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
bool crlfAt(const std::string& text, std::size_t i) {
    return text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
}
int widgetPosition(const std::string& text, int modelPos) {
    int pos = 0;
    for (std::size_t i = 0; static_cast<int>(i) < modelPos && i < text.size(); ++i)
        if (!crlfAt(text, i)) ++pos;
    return pos;
}
int modelPosition(const std::string& text, int widgetPos) {
    std::size_t i = 0;
    for (int pos = 0; i < text.size() && pos < widgetPos; ++pos) i += crlfAt(text, i) ? 2 : 1;
    return static_cast<int>(i);
}
std::string withLineFeeds(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!crlfAt(text, i)) out += text[i];
    return out;
}

// The entries of a combo or list box as shown.
QStringList displayEntries(const Window& w) {
    QStringList entries;
    for (const std::string& e : w.list().entries()) entries << displayText(e);
    return entries;
}

// A text one line long that the widget cuts grows to the right.
void widenFor(QWidget* widget, const QString& text, int chrome, const QRect& rect, int room) {
    if (text.isEmpty() || text.contains('\n')) return;
    const int needed = widget->fontMetrics().horizontalAdvance(text) + chrome;
    if (needed > rect.width()) widget->resize(std::min(needed, std::max(rect.width(), room)), widget->height());
}

// A left click released on the widget presses the control.
bool clickOnRelease(ControlHost& host, HWND control, QWidget* widget, QMouseEvent* mouse) {
    if (mouse->type() == QEvent::MouseMove) return true;
    if (mouse->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
        widget->rect().contains(mouse->position().toPoint()) && host.active())
        host.click(control);
    return true;  // the button does not press or toggle itself
}

// The press and moves place the field's caret and selection as the widget
// does; the release tells the model, and the widget then shows the model's.
bool editMouse(ControlHost& host, ControlView& view, QMouseEvent* mouse) {
    if (mouse->type() == QEvent::MouseMove) return false;
    if (mouse->button() == Qt::MiddleButton || (mouse->buttons() & Qt::MiddleButton)) return true;  // no paste
    if (!host.active()) return true;
    if (mouse->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) host.selectAsShown(view, true);
    return false;
}

class ButtonView final : public ControlView {
public:
    enum class Role { Push, Check, Radio };
    ButtonView(HWND h, QAbstractButton* button, Role role, ControlHost& host)
        : ControlView(h, button, host), button_(button), role_(role) {}

    void show(const Window& w, const QString& text) override {
        if (button_->text() != text) button_->setText(text);
        const int check = w.button().check;
        if (auto* box = qobject_cast<QCheckBox*>(button_); box && box->isTristate())
            box->setCheckState(check == 2 ? Qt::PartiallyChecked : check == 1 ? Qt::Checked : Qt::Unchecked);
        else if (button_->isCheckable())
            button_->setChecked(check != 0);
    }
    void fit(const QRect& rect, int room) override {
        // A push-like button centres its text in its own box.
        if (role_ == Role::Push || qobject_cast<QPushButton*>(button_) != nullptr) return;
        const QString text = button_->text();
        widenFor(button_, text, button_->sizeHint().width() - button_->fontMetrics().horizontalAdvance(text), rect, room);
    }
    void setDefault(bool isDefault) override {
        if (role_ == Role::Push) static_cast<QPushButton*>(button_)->setDefault(isDefault);
    }
    bool clickable() const override { return true; }
    bool mouse(QObject*, QMouseEvent* event) override { return clickOnRelease(host(), handle(), button_, event); }

private:
    QAbstractButton* button_;
    Role role_;
};

class GroupBoxView final : public ControlView {
public:
    GroupBoxView(HWND h, QGroupBox* box, ControlHost& host) : ControlView(h, box, host), box_(box) {}
    void show(const Window&, const QString& text) override { box_->setTitle(text); }
    bool frame() const override { return true; }
    bool mouse(QObject*, QMouseEvent*) override { return false; }

private:
    QGroupBox* box_;
};

class LineEditView final : public ControlView {
public:
    LineEditView(HWND h, QLineEdit* edit, ControlHost& host) : ControlView(h, edit, host), edit_(edit) {}
    void show(const Window&, const QString& text) override {
        if (edit_->text() != text) edit_->setText(text);
    }
    bool typable() const override { return true; }
    QLineEdit* lineEdit() const override { return edit_; }
    bool mouse(QObject*, QMouseEvent* event) override { return editMouse(host(), *this, event); }

private:
    QLineEdit* edit_;
};

class TextEditView final : public ControlView {
public:
    TextEditView(HWND h, QPlainTextEdit* edit, ControlHost& host) : ControlView(h, edit, host), edit_(edit) {
        host.watchPart(edit->viewport(), h);
    }
    void show(const Window& w, const QString&) override {
        const QString lines = displayText(withLineFeeds(w.text));
        if (edit_->toPlainText() != lines) edit_->setPlainText(lines);
    }
    bool typable() const override { return true; }
    void showSelection(const Window& w) override {
        const ui::EditState& s = w.edit();
        const int n = static_cast<int>(edit_->toPlainText().size());
        QTextCursor cursor = edit_->textCursor();
        cursor.setPosition(std::clamp(widgetPosition(w.text, s.anchor), 0, n));
        cursor.setPosition(std::clamp(widgetPosition(w.text, s.caret), 0, n), QTextCursor::KeepAnchor);
        edit_->setTextCursor(cursor);
    }
    std::optional<std::pair<int, int>> shownSelection(const Window& w) const override {
        const QTextCursor cursor = edit_->textCursor();
        return std::pair{modelPosition(w.text, cursor.anchor()), modelPosition(w.text, cursor.position())};
    }
    bool mouse(QObject*, QMouseEvent* event) override { return editMouse(host(), *this, event); }

private:
    QPlainTextEdit* edit_;
};

class ComboView final : public ControlView {
public:
    ComboView(HWND h, QComboBox* box, ControlHost& host) : ControlView(h, box, host), box_(box) {
        if (QLineEdit* field = box->lineEdit()) host.watchPart(field, h);
        QObject::connect(box, &QComboBox::activated, box, [this](int index) {
            if (!this->host().syncing()) this->host().choose(*this, index, ActionKind::Choose);
        });
    }
    void place(const QRect& rect) override {  // the rectangle holds the dropped list too
        box_->setGeometry(rect.x(), rect.y(), rect.width(), std::min(rect.height(), box_->sizeHint().height()));
    }
    // Entries are filled anew only when they changed.
    void show(const Window& w, const QString& text) override {
        const QStringList entries = displayEntries(w);
        QStringList shown;
        for (int i = 0; i < box_->count(); ++i) shown << box_->itemText(i);
        if (shown != entries) {
            box_->clear();
            box_->addItems(entries);
        }
        if (box_->currentIndex() != w.list().selection()) box_->setCurrentIndex(w.list().selection());
        if (QLineEdit* field = box_->lineEdit(); field && field->text() != text) field->setText(text);
    }
    bool typable() const override { return box_->lineEdit() != nullptr; }
    QLineEdit* lineEdit() const override { return box_->lineEdit(); }
    bool steppedByArrows() const override { return true; }
    bool dropsDown() const override { return true; }
    bool takesWheel(QObject* watched) const override { return watched == box_; }
    bool mouse(QObject* watched, QMouseEvent* event) override {
        if (watched == box_) return false;  // the arrow opens the list
        return editMouse(host(), *this, event);
    }

private:
    QComboBox* box_;
};

class ListView final : public ControlView {
public:
    ListView(HWND h, QListWidget* list, ControlHost& host) : ControlView(h, list, host), list_(list) {
        host.watchPart(list->viewport(), h);
    }
    void show(const Window& w, const QString&) override {
        const QStringList entries = displayEntries(w);
        bool same = list_->count() == entries.size();
        for (int i = 0; same && i < list_->count(); ++i) same = list_->item(i)->text() == entries[i];
        if (!same) {
            list_->clear();
            list_->addItems(entries);
        }
        const int selection = w.list().selection();
        if (list_->currentRow() != selection) list_->setCurrentRow(selection);
        if (selection < 0) list_->clearSelection();
    }
    bool steppedByArrows() const override { return true; }
    bool takesWheel(QObject* watched) const override { return watched == list_; }
    bool mouse(QObject* watched, QMouseEvent* event) override {
        if (watched == list_ || event->type() == QEvent::MouseMove) return false;
        const int row = list_->indexAt(event->position().toPoint()).row();
        if (event->type() == QEvent::MouseButtonDblClick && event->button() == Qt::LeftButton) {
            afterDoubleClick_ = true;
            host().choose(*this, row, ActionKind::DblClick);
        } else if (event->type() == QEvent::MouseButtonRelease && event->button() == Qt::LeftButton) {
            if (!afterDoubleClick_ && row >= 0) host().choose(*this, row, ActionKind::Choose);
            afterDoubleClick_ = false;  // the release that ends a double click opens nothing more
        }
        return true;
    }

private:
    QListWidget* list_;
    bool afterDoubleClick_ = false;
};

class LabelView final : public ControlView {
public:
    LabelView(HWND h, QLabel* label, ControlHost& host) : ControlView(h, label, host), label_(label) {}
    void show(const Window&, const QString& text) override {
        const QString shown = withoutMnemonics(text);
        if (label_->pixmap().isNull() && label_->text() != shown) label_->setText(shown);
    }
    // A label one line high is not broken into lines it has no room for.
    void fit(const QRect& rect, int room) override {
        if (!label_->pixmap().isNull()) return;
        if (rect.height() < 2 * label_->fontMetrics().lineSpacing() && label_->wordWrap()) label_->setWordWrap(false);
        widenFor(label_, label_->text(), 2 * label_->margin() + 2, rect, room);
    }
    bool mouse(QObject*, QMouseEvent* event) override {
        const Window* w = ui::windowOf(handle());
        if (w == nullptr || !(w->style & SS_NOTIFY) || event->type() == QEvent::MouseMove) return false;
        return clickOnRelease(host(), handle(), label_, event);
    }

private:
    QLabel* label_;
};

class ProgressView final : public ControlView {
public:
    ProgressView(HWND h, QProgressBar* bar, ControlHost& host) : ControlView(h, bar, host), bar_(bar) {
        bar->setTextVisible(false);
    }
    void show(const Window& w, const QString&) override {
        const ui::ProgressState& s = w.progress();
        bar_->setRange(std::min(s.low, s.high), std::max(s.low, s.high));
        bar_->setValue(std::clamp(s.pos, bar_->minimum(), bar_->maximum()));
    }
    bool mouse(QObject*, QMouseEvent*) override { return false; }

private:
    QProgressBar* bar_;
};

std::unique_ptr<ControlView> makeButtonView(const Window& w, HWND h, QWidget* parent, ControlHost& host) {
    using Role = ButtonView::Role;
    const DWORD type = w.style & BS_TYPEMASK;
    const bool pushLike = (w.style & BS_PUSHLIKE) != 0;
    if (type == BS_GROUPBOX) return std::make_unique<GroupBoxView>(h, new QGroupBox(parent), host);
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
        QAbstractButton* b = nullptr;
        if (pushLike) {
            b = new QPushButton(parent);
            b->setCheckable(true);
        } else {
            auto* box = new QCheckBox(parent);
            box->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
            b = box;
        }
        return std::make_unique<ButtonView>(h, b, Role::Check, host);
    }
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        QAbstractButton* b = pushLike ? static_cast<QAbstractButton*>(new QPushButton(parent)) : new QRadioButton(parent);
        b->setCheckable(true);
        b->setAutoExclusive(false);  // the model clears the others of the group
        return std::make_unique<ButtonView>(h, b, Role::Radio, host);
    }
    auto* b = new QPushButton(parent);
    b->setAutoDefault(false);
    return std::make_unique<ButtonView>(h, b, Role::Push, host);
}

std::unique_ptr<ControlView> makeEditView(const Window& w, HWND h, QWidget* parent, ControlHost& host) {
    if (w.style & ES_MULTILINE) {
        auto* e = new QPlainTextEdit(parent);
        e->setAcceptDrops(false);
        e->setContextMenuPolicy(Qt::PreventContextMenu);
        e->setReadOnly((w.style & ES_READONLY) != 0);
        e->setUndoRedoEnabled(false);
        return std::make_unique<TextEditView>(h, e, host);
    }
    auto* e = new QLineEdit(parent);
    e->setAcceptDrops(false);
    e->setDragEnabled(false);
    e->setContextMenuPolicy(Qt::PreventContextMenu);
    e->setReadOnly((w.style & ES_READONLY) != 0);
    if (w.style & ES_PASSWORD) e->setEchoMode(QLineEdit::Password);
    return std::make_unique<LineEditView>(h, e, host);
}

std::unique_ptr<ControlView> makeComboView(const Window& w, HWND h, QWidget* parent, ControlHost& host) {
    auto* b = new QComboBox(parent);
    b->setEditable((w.style & 0x3) != CBS_DROPDOWNLIST);
    b->setInsertPolicy(QComboBox::NoInsert);
    b->setContextMenuPolicy(Qt::PreventContextMenu);
    if (QLineEdit* field = b->lineEdit()) {
        b->setCompleter(nullptr);
        field->setAcceptDrops(false);
        field->setDragEnabled(false);
        field->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    return std::make_unique<ComboView>(h, b, host);
}

std::unique_ptr<ControlView> makeListView(HWND h, QWidget* parent, ControlHost& host) {
    auto* l = new QListWidget(parent);
    l->setContextMenuPolicy(Qt::PreventContextMenu);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return std::make_unique<ListView>(h, l, host);
}

std::unique_ptr<ControlView> makeLabelView(const Window& w, HWND h, QWidget* parent, ControlHost& host) {
    auto* l = new QLabel(parent);
    const DWORD type = w.style & SS_TYPEMASK;
    if (type == SS_CENTER) l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    else if (type == SS_RIGHT) l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    else if (type == SS_ICON || type == SS_BITMAP) l->setAlignment(Qt::AlignCenter);
    else l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (w.style & SS_SUNKEN) l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    return std::make_unique<LabelView>(h, l, host);
}
}  // namespace

void ControlView::place(const QRect& rect) { widget_->setGeometry(rect); }

void ControlView::showSelection(const Window& w) {
    QLineEdit* e = lineEdit();
    if (e == nullptr) return;
    const int n = static_cast<int>(e->text().size());
    const int anchor = std::clamp(w.edit().anchor, 0, n), caret = std::clamp(w.edit().caret, 0, n);
    if (anchor == caret) {
        e->deselect();
        e->setCursorPosition(caret);
    } else {
        e->setSelection(anchor, caret - anchor);
    }
}

std::optional<std::pair<int, int>> ControlView::shownSelection(const Window&) const {
    const QLineEdit* e = lineEdit();
    if (e == nullptr) return std::nullopt;
    const int caret = e->cursorPosition();
    const int anchor =
        !e->hasSelectedText() ? caret : (caret == e->selectionStart() ? e->selectionEnd() : e->selectionStart());
    return std::pair{anchor, caret};
}

std::unique_ptr<ControlView> makeControlView(HWND control, QWidget* parent, ControlHost& host) {
    const Window& w = ui::windowRef(control);
    switch (w.kind) {
        case WindowKind::Button: return makeButtonView(w, control, parent, host);
        case WindowKind::Edit: return makeEditView(w, control, parent, host);
        case WindowKind::ComboBox: return makeComboView(w, control, parent, host);
        case WindowKind::ListBox: return makeListView(control, parent, host);
        case WindowKind::ProgressBar: return std::make_unique<ProgressView>(control, new QProgressBar(parent), host);
        case WindowKind::Static: return makeLabelView(w, control, parent, host);
        case WindowKind::Dialog:
        case WindowKind::ToolTip: break;  // tooltips become the widgets' tooltips
    }
    return nullptr;
}

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

}  // namespace kestrin::gui
