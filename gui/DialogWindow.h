// One model dialog as a Qt window: a widget per control at the control's
// place, showing the model's state, and an event filter that turns the
// person's input into session actions (see DialogWindows.h).
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/session/Action.h"
#include "platform/ui/ResourceTable.h"
#include "platform/win/Types.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace kestrin::ui {
struct Window;
}

namespace kestrin::gui {

// CP1251 text for display; with `symbolFace`, the letters that the "Symbol"
// font draws as Greek letters are given as those.
QString displayText(const std::string& cp1251, bool symbolFace = false);
// Text the person entered, in CP1251; nothing when the code page lacks a character.
std::optional<std::string> toCp1251(const QString& text);
// A bitmap or icon of the module resources as an image.
QImage imageOf(const ui::ImageResource& image);

class DialogWindow : public QWidget {
    Q_OBJECT
public:
    using Post = std::function<void(session::Action)>;

    DialogWindow(HWND dialog, Post post);
    ~DialogWindow() override;

    HWND handle() const { return dialog_; }
    QWidget* control(HWND control) const;

    // After a notification of the model about one of this dialog's windows.
    void syncText(HWND h);
    void syncShown(HWND h);
    void syncEnabled(HWND h);
    void syncCheck(HWND h);
    void syncList(HWND h);
    // Everything, also what changes without a notification.
    void syncAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class Kind { PushButton, CheckBox, RadioButton, GroupBox, LineEdit, TextEdit, Combo, List, Label, Progress };
    struct Control {
        HWND handle = nullptr;
        Kind kind = Kind::Label;
        QWidget* widget = nullptr;
    };

    void makeControl(HWND h);
    void watchPart(QWidget* part, HWND h);
    Control makeButton(const kestrin::ui::Window& w, HWND h);
    Control makeEdit(const kestrin::ui::Window& w, HWND h);
    Control makeCombo(const kestrin::ui::Window& w, HWND h);
    Control makeList(HWND h);
    Control makeLabel(const kestrin::ui::Window& w, HWND h);
    void syncControl(const Control& c);
    void fitText(const Control& c, const QRect& place);
    void syncEditSelection(const Control& c);
    void syncFont(const Control& c);
    void syncImage(const Control& c);
    void syncFocus();
    const Control* controlOf(QObject* object) const;

    // The person's input.
    bool active() const;  // the model takes actions for this dialog now
    void post(session::Action action);
    bool keyPressed(const Control* c, QKeyEvent* event);
    bool mouseEvent(const Control& c, QObject* watched, QEvent* event);
    void typeText(const Control& c, const QString& text);
    void selectAsShown(const Control& c, bool always);
    void choose(const Control& c, int index, session::ActionKind kind);
    QLineEdit* lineEditOf(const Control& c) const;

    HWND dialog_;
    Post post_;
    std::map<HWND, Control> controls_;
    std::map<QObject*, HWND> parts_;  // the widgets and their inner parts (a combo's field, a list's viewport)
    int syncing_ = 0;                 // the model's state is being shown: widget signals are not the person's
    bool pending_ = false;            // an action was posted that the model has not shown back yet
    bool afterDoubleClick_ = false;   // the release that ends a double click opens nothing more
};

}  // namespace kestrin::gui
