// Connects the dialog framework, message boxes and the keyboard to the
// session: the handlers for answer, caps, num, layout, layouts, and the
// dialog checks of expect (text, shown, hidden, enabled, disabled, checked,
// unchecked, focus of a control of the topmost dialog; message against the
// last message box). Other expect kinds are left to other handlers.
#pragma once

namespace kestrin::ui {

// Safe to call more than once. Detaching removes every handler again (tests
// that share the session with other stand-ins).
void attachToSession();
void detachFromSession();

}  // namespace kestrin::ui
