// One view per kind of dialog control: it makes the control's widget, shows
// the model's state on it and turns the person's mouse input on it into
// calls on its dialog. A new kind of control is one more class here.
#pragma once

#include <QRect>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/session/Action.h"
#include "platform/win/Types.h"

class QEvent;
class QLineEdit;
class QMouseEvent;
class QObject;
class QWidget;

namespace kestrin::ui {
struct Window;
}

namespace kestrin::gui {

class ControlView;

// What a view asks of the dialog window it lives in.
class ControlHost {
public:
    virtual bool active() const = 0;  // the model takes actions for this dialog now
    virtual bool syncing() const = 0;  // widget signals now are the model's state being shown
    virtual void click(HWND control) = 0;
    virtual void choose(ControlView& view, int index, session::ActionKind kind) = 0;
    virtual void selectAsShown(ControlView& view, bool always) = 0;
    // A part of the widget that takes the mouse or the keys itself (a viewport,
    // a combo box's field) answers for the control.
    virtual void watchPart(QWidget* part, HWND control) = 0;

protected:
    ~ControlHost() = default;
};

class ControlView {
public:
    ControlView(HWND handle, QWidget* widget, ControlHost& host) : handle_(handle), widget_(widget), host_(host) {}
    virtual ~ControlView() = default;
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    HWND handle() const { return handle_; }
    QWidget* widget() const { return widget_; }

    // The control's rectangle in the dialog, its caption or text and state.
    virtual void place(const QRect& rect);
    virtual void show(const ui::Window& w, const QString& text) = 0;
    // A text cut by a font wider than the template's grows to the right, as
    // far as `room` lets it.
    virtual void fit(const QRect& /*rect*/, int /*room*/) {}
    // Frames go under the controls they frame.
    virtual bool frame() const { return false; }
    virtual void setDefault(bool /*isDefault*/) {}

    // Text entry: the field the person types in, the model's selection shown
    // on it and the selection the widget shows now, in the model's positions.
    virtual bool typable() const { return false; }
    virtual QLineEdit* lineEdit() const { return nullptr; }
    virtual void showSelection(const ui::Window& w);
    virtual std::optional<std::pair<int, int>> shownSelection(const ui::Window& w) const;

    virtual bool clickable() const { return false; }  // Space and a click press it
    virtual bool steppedByArrows() const { return false; }  // Up and Down choose the next entry
    virtual bool dropsDown() const { return false; }  // F4 and Alt+Down open its list
    virtual bool takesWheel(QObject* /*watched*/) const { return false; }
    // A mouse press, release, double click or move on the widget or a part of
    // it; true when the widget must not see it.
    virtual bool mouse(QObject* watched, QMouseEvent* event) = 0;

protected:
    ControlHost& host() const { return host_; }

private:
    HWND handle_;
    QWidget* widget_;
    ControlHost& host_;
};

// The view for a control of the model, with its widget made in `parent`;
// nothing for windows that have no widget of their own (tooltips).
std::unique_ptr<ControlView> makeControlView(HWND control, QWidget* parent, ControlHost& host);

// CP1251 text for display; with `symbolFace`, the letters that the "Symbol"
// font draws as Greek letters are given as those.
QString displayText(const std::string& cp1251, bool symbolFace = false);
// Text the person entered, in CP1251; nothing when the code page lacks a character.
std::optional<std::string> toCp1251(const QString& text);

}  // namespace kestrin::gui
