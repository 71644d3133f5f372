// The CKestrin command and the drawing operations it shares with the
// palette: creating the line's text entity, appending an entity to the
// current space, and making changes visible while a dialog is open.
#pragma once

#include <functional>

#include <string>

#include "host/api/Arx.h"

// Body of CKestrin: a point starts a new empty text there, Enter picks an
// existing text; then the palette runs modally.
void placeTextCommand();

// Creates a text entity from g_textProperties with `text` as its string,
// appends it to the current space and makes it the record's entity. An
// entity whose append failed is deleted and the record's entity cleared.
void createTextEntity(const std::string& text);

// Appends `entity` to model space (TILEMODE 1) or paper space (TILEMODE 0)
// and closes it on success; `id` receives its id. Answers the database
// status: eOk, eNoDatabase (124) without a working drawing, or the failing
// call's status (the entity then stays open and owned by the caller).
Acad::ErrorStatus appendToCurrentSpace(AcDbEntity* entity, AcDbObjectId& id);

// Queues and flushes the changed graphics of the current document and
// updates the display.
void flushDrawingGraphics();

// Pick answers of the interactive operations.
enum PickAnswer { kPickDone = 0, kPickCancelled = 1, kPickAgain = 2 };

// Asks with `pick` until it answers kPickDone or kPickCancelled; answers that.
int pickUntilDone(const std::function<int()>& pick);

// Asks for a text and loads its properties into g_textProperties. Answers
// kPickDone, kPickCancelled (Esc) or kPickAgain (missed, refused or not
// openable: the caller asks again).
int pickExistingText();
