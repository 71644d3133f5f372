// EKestrin: edits the string of texts, attributes, attribute definitions
// (their tag) and multiline texts, also inside blocks, one after another in
// the edit dialog.
#pragma once

#include "plugin/frame/TextPlacement.h"

// What a pick of an entity to edit gave: kPickDone, kPickCancelled (Esc) or
// kPickAgain (nothing picked, an entity without a string, reported on the
// command line with its class, or one that cannot be opened for writing);
// and whether the entity lay inside a block (the host reported containers).
struct EditPick {
    int answer = kPickAgain;
    bool inBlock = false;
};

// Body of EKestrin: asks for an entity until one is picked, then edits it in
// the dialog; or the user cancels.
void editTextCommand();

// Asks for an entity with "\nВыберите примитив" and takes its string into
// g_textProperties.text (g_textProperties.entity names it).
EditPick pickEditableEntity();
// Asks until an entity is picked or the user cancels.
EditPick pickEditableEntityUntilDone();

// Runs the edit dialog modally over the host's main window, on the entity picked.
void runEditDialog(const EditPick& picked);
