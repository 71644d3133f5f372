#include "platform/session/Action.h"

#include "base/Cp1251.h"

namespace kestrin::session {

const char* actionName(ActionKind kind) {
    switch (kind) {
        case ActionKind::Command: return "command";
        case ActionKind::ContextMenu: return "contextmenu";
        case ActionKind::Point: return "point";
        case ActionKind::Pick: return "pick";
        case ActionKind::Miss: return "miss";
        case ActionKind::Enter: return "enter";
        case ActionKind::Escape: return "escape";
        case ActionKind::Click: return "click";
        case ActionKind::Type: return "type";
        case ActionKind::Key: return "key";
        case ActionKind::Focus: return "focus";
        case ActionKind::Choose: return "choose";
        case ActionKind::DblClick: return "dblclick";
        case ActionKind::Select: return "select";
        case ActionKind::Close: return "close";
        case ActionKind::SysMenu: return "sysmenu";
        case ActionKind::Answer: return "answer";
        case ActionKind::Caps: return "caps";
        case ActionKind::Num: return "num";
        case ActionKind::Layout: return "layout";
        case ActionKind::Layouts: return "layouts";
        case ActionKind::Expect: return "expect";
        case ActionKind::New: return "new";
        case ActionKind::Open: return "open";
        case ActionKind::Save: return "save";
        case ActionKind::MenuGroups: return "menugroups";
        case ActionKind::Quit: return "quit";
        case ActionKind::Screenshot: return "screenshot";
    }
    return "?";
}

std::string ControlRef::describe() const {
    if (id) return "control " + std::to_string(*id);
    return "control \"" + cp1251ToUtf8(caption) + "\"";
}

}  // namespace kestrin::session
