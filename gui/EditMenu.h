// The desktop window's Edit menu: Undo (Ctrl+Z) and Redo (Ctrl+Y), each
// naming the step it would undo or redo ("Undo CKESTRIN"). They post the
// command line's U and REDO, so a record of the session replays them; both
// are offered only while the command line waits.
#pragma once

#include <functional>

#include "platform/session/Action.h"

class QAction;
class QMenuBar;

namespace kestrin::gui {

class EditMenu {
public:
    // Adds the menu to `bar`; `post` hands an action to the session.
    EditMenu(QMenuBar& bar, std::function<void(session::Action)> post);

    // Brings the items' names and states up to date (before each wait).
    void update();

    QAction* undo() const { return undo_; }
    QAction* redo() const { return redo_; }

private:
    std::function<void(session::Action)> post_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

}  // namespace kestrin::gui
