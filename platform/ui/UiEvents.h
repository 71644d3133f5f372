// What the window model tells a view: each signal fires once for each real
// change, after the model holds the new value; writing an equal value fires
// nothing. Handles stay valid during the callbacks.
//
//   textChanged       a window's text (an edit's or combo box's content, a
//                     caption) changed: every typed character, paste, undo
//                     or program write that changes it.
//   shownChanged      a window was shown or hidden (dialogs too).
//   enabledChanged    a window was enabled or disabled.
//   checkChanged      a button's check state changed.
//   selectionChanged  the current entry of a combo box or list box changed
//                     (also when an insertion or deletion moves its index).
//   entriesChanged    entries were added to, deleted from or reset in a list.
//   dialogOpened      a dialog was made from its template with its controls,
//                     before its initialisation; it is not shown yet.
//   dialogClosed      an opened dialog is being destroyed (still readable).
//   messageBoxShown   a message box is shown: owner, text, caption, type
//                     (MB_ flags); the callback runs before it is answered.
//   messageBoxClosed  the message box was answered: owner, the answer (IDOK...).
#pragma once

#include <string>

#include "base/Signal.h"
#include "platform/win/Types.h"

namespace kestrin::ui {

struct UiEvents {
    Signal<HWND, const std::string&> textChanged;
    Signal<HWND, bool> shownChanged;
    Signal<HWND, bool> enabledChanged;
    Signal<HWND, int> checkChanged;
    Signal<HWND, int> selectionChanged;
    Signal<HWND> entriesChanged;
    Signal<HWND> dialogOpened;
    Signal<HWND> dialogClosed;
    Signal<HWND, const std::string&, const std::string&, UINT> messageBoxShown;
    Signal<HWND, int> messageBoxClosed;
};

// The one set of signals of the window model.
UiEvents& uiEvents();

}  // namespace kestrin::ui
