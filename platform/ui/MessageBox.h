// Message boxes. A box is answered by the session: `answer ok|yes|no|cancel`
// queues an answer; a box takes the oldest queued answer, or waits for one.
// While it waits, any other action is refused ("a message box waits for an
// answer"), and so is an answer its buttons do not offer. `escape` (the
// Escape key, Ctrl+C at a terminal), the end of input or a failed session
// close the box as by Escape: IDCANCEL when it has a
// Cancel button, IDOK for a lone OK button, IDNO for Yes/No. Every box goes to
// the transcript with its caption, text, icon, buttons and answer.
// An answer is meant for a box raised by the next action handed out to a
// consumer: when yet another action is handed out, or the session ends, while
// it is still queued, the session fails with the answer's line (the box it
// was meant for never appeared).
#pragma once

#include <string>

#include "platform/win/MessageBoxFlags.h"
#include "platform/win/Types.h"

int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT promptResource, UINT type = MB_OK, UINT helpId = UINT(-1));

namespace kestrin::ui {

// The text of the last message box shown (CP1251).
const std::string& lastMessageBoxText();
// The answers the box's buttons offer, e.g. "yes/no".
std::string messageBoxButtons(UINT type);
std::string messageBoxIcon(UINT type);
int openMessageBoxes();
// Forget queued answers and the last text (tests).
void resetMessageBoxes();
// Registers the session handler for `answer` and the check of unused answers. Safe to call more than once;
// detaching removes it again.
void attachMessageBoxesToSession();
void detachMessageBoxesFromSession();

}  // namespace kestrin::ui
