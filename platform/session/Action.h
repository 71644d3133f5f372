// One user action: what a person does at the host, in a dialog or to the
// machine. Actions reach the system through an ActionSource, one at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrin::session {

enum class ActionKind {
    // At the command line or when the host asks for input.
    Command,      // text = command name
    ContextMenu,  // text = item
    Point,        // point
    Pick,         // pick
    Miss,
    Enter,
    Escape,
    // In the active dialog.
    Click,    // control
    Type,     // text
    Key,      // key, shift
    Focus,    // control
    Choose,   // control, text = entry
    DblClick, // control, text = entry (open a list entry)
    Select,   // control, first, last
    Close,
    SysMenu,  // number
    // To the machine.
    Answer,   // text = ok|yes|no|cancel
    Caps,     // on
    Num,      // on
    Layout,   // text = KLID
    Layouts,  // words = KLIDs
    // Checks.
    Expect,   // expect, control, text (optional)
    // Drawing files.
    New,      // a new drawing in place of the open one
    Open,     // text = path
    Save,     // text = path; words = the DXF version to write, when given
    // The host's state.
    MenuGroups,  // lists the menu groups of the host's current profile
    Quit,        // the person leaves: the host asks whether to save a changed drawing
    // The desktop windows.
    Screenshot,  // text = path of the PNG written
};

const char* actionName(ActionKind kind);

// A control of the active dialog: by id, or by caption or tooltip text.
struct ControlRef {
    std::optional<int> id;
    std::string caption;  // CP1251; used when id is empty
    std::string describe() const;  // UTF-8, for messages
};

struct PickTarget {
    enum class By { Handle, Last, At } by = By::Last;
    std::uint64_t handle = 0;               // By::Handle
    double x = 0, y = 0;                    // By::At
    std::vector<std::uint64_t> containers;  // innermost first
};

struct Action {
    ActionKind kind = ActionKind::Enter;
    std::string origin;  // "script:line", names the action in messages (UTF-8)
    std::string text;    // CP1251 payload (see ActionKind)
    std::vector<std::string> words;
    ControlRef control;
    double x = 0, y = 0, z = 0;
    PickTarget pick;
    std::string key;     // enter, escape, tab, backspace, delete, left, right, home, end
    bool shift = false;
    bool on = false;
    int first = 0, last = 0;  // Select
    int number = 0;           // SysMenu
    std::string expect;       // text|shown|hidden|enabled|disabled|checked|unchecked|focus|output|message
    bool hasText = false;     // Expect: a text to compare was given
};

}  // namespace kestrin::session
