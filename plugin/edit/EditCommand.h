// EKestrin: edits the string of texts, attributes, attribute definitions
// (their tag) and multiline texts, also inside blocks, one after another in
// the edit dialog.
#pragma once

// 1 when the last entity picked by pickEditableEntity lay inside a block
// (the host reported containers for it), else 0.
extern unsigned char g_nestedSelection;

// Body of EKestrin: asks for an entity until one is picked and edited or
// the user cancels.
void editTextCommand();

// Asks for an entity with "\nВыберите примитив" and takes its string into
// g_textProperties.text (g_textProperties.entity names it). Outside the
// edit dialog (picked == 0) it then runs the dialog. Answers kPickDone,
// kPickCancelled (Esc), or kPickAgain: nothing picked, an entity without a
// string (reported on the command line with its class), or one that
// cannot be opened for writing.
int pickEditableEntity();

// Runs the edit dialog modally over the host's main window.
void runEditDialog();
