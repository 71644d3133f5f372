#include "gui/EditMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "base/Cp1251.h"
#include "host/api/UndoCommands.h"
#include "platform/session/Session.h"

namespace kestrin::gui {

namespace {

session::Action command(const char* name) {
    session::Action a;
    a.kind = session::ActionKind::Command;
    a.text = name;
    return a;
}

// "&Undo NAME", or the bare verb when there is nothing to name.
void name(QAction* item, const char* verb, const std::optional<std::string>& step, bool offered) {
    QString text = verb;
    if (step && !step->empty()) text += " " + QString::fromStdString(cp1251ToUtf8(*step));
    item->setText(text);
    item->setEnabled(offered && step.has_value());
}

}  // namespace

EditMenu::EditMenu(QMenuBar& bar, std::function<void(session::Action)> post) : post_(std::move(post)) {
    QMenu* menu = bar.addMenu("&Edit");
    menu->setObjectName("editMenu");
    undo_ = menu->addAction("&Undo");
    undo_->setObjectName("undo");
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = menu->addAction("&Redo");
    redo_->setObjectName("redo");
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QObject::connect(undo_, &QAction::triggered, undo_, [this] { post_(command("U")); });
    QObject::connect(redo_, &QAction::triggered, redo_, [this] { post_(command("REDO")); });
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this] { update(); });
    update();
}

void EditMenu::update() {
    const bool atCommandLine = session::Session::instance().waiter() == session::Waiter::CommandLine;
    name(undo_, "&Undo", host::nextUndoName(), atCommandLine);
    name(redo_, "&Redo", host::nextRedoName(), atCommandLine);
}

}  // namespace kestrin::gui
