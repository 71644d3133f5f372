// What an edit control (and the edit field of a combo box) does with its
// text: typing, keys, selection, one-level undo and the clipboard.
//
// Notifications: an edit raises EN_UPDATE then EN_CHANGE on every change of
// its text, by the person or by the program. A combo box raises
// CBN_EDITUPDATE then CBN_EDITCHANGE only when its text is edited (typing,
// keys, cut, paste, undo), never when the program sets it.
#pragma once

#include <string>

#include "platform/ui/Window.h"

namespace kestrin::ui {

// Text set as a whole (WM_SETTEXT): empties the undo buffer, caret to 0.
void editSetText(Window& w, const std::string& text, bool edited);
// EM_REPLACESEL: without undo the undo buffer is emptied.
void editReplaceSel(Window& w, const std::string& text, bool canUndo);
// EM_SETSEL: start -1 removes the selection; end -1 means the end of text.
void editSetSel(Window& w, int start, int end);
bool editUndo(Window& w);
void editCut(Window& w);
void editCopy(const Window& w);
void editPaste(Window& w);
void editClear(Window& w);
// A typed character (WM_CHAR default processing); 8 is backspace.
void editChar(Window& w, unsigned char c);
// A key (WM_KEYDOWN default processing): delete, arrows, home, end.
void editKey(Window& w, int virtualKey, bool shift);

}  // namespace kestrin::ui
