// The model's dialogs and message boxes as windows of the desktop program.
//
// Follows the window model's notifications (ui::uiEvents()): a dialog that
// opens gets a top-level window with one widget per control, kept in step
// with the model's state; a message box gets a window-modal box opened
// without blocking. What the person does there becomes the session actions
// the session language names (click, type, key, focus, select, choose,
// dblclick, close, sysmenu, answer), handed to `post`: the model runs them
// and the widgets follow the model's changes. A widget never changes its
// own state in answer to input.
//
// This header names no Qt type beyond forward declarations, so a program
// without windows of its own (Plantor) can use it.
#pragma once

#include <functional>
#include <memory>

#include "platform/session/Action.h"
#include "platform/win/Types.h"

class QMessageBox;
class QWidget;

namespace kestrin::gui {

class GuiSource;

class DialogWindows {
public:
    using Post = std::function<void(session::Action)>;

    // The person's actions go to `post`. Call refresh() before each wait for
    // the person's next action.
    explicit DialogWindows(Post post);
    // The person's actions go to the source, and every wait of the source
    // refreshes the windows first.
    explicit DialogWindows(GuiSource& source);
    ~DialogWindows();
    DialogWindows(const DialogWindows&) = delete;
    DialogWindows& operator=(const DialogWindows&) = delete;

    // A dialog not opened from another dialog first shows at the top right of
    // `area` (the host's drawing view) and stays above its window.
    void setArea(QWidget* area);

    // Brings every window up to the model's state, also what changes without
    // a notification: fonts, images, tooltips, the focus, an edit's selection.
    void refresh();

    // The window of an open dialog and the widget of one of its controls;
    // null when there is none.
    QWidget* window(HWND dialog) const;
    QWidget* control(HWND control) const;
    // The innermost message box shown; null when none.
    QMessageBox* messageBox() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kestrin::gui
