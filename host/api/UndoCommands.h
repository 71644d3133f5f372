// Undo and redo at the command line: U undoes the last step, UNDO asks how
// many (a number, or All), REDO redoes what the last U or UNDO undid. A step
// is a command, or the changes made between two commands; the steps are the
// working drawing's undo journal (host/db/UndoJournal.h).
#pragma once

#include <optional>
#include <string>

class AcDbDatabase;

namespace kestrin::host {

// The name a step of changes made between commands gets.
inline constexpr const char* kBetweenCommands = "(changes between commands)";

// Gives the drawing's journal the depth UNDOLIMIT sets.
void applyUndoLimit(AcDbDatabase& database);

// Ends the step being recorded in the working drawing, named `name`.
void endUndoStep(const std::string& name);

// The commands U, UNDO and REDO (CP1251 output on the command line).
void undoLastStep();
void undoAskedSteps();
void redoLastUndo();

// What undo and redo would do now: the step's name; nothing when there is
// nothing to undo or redo.
std::optional<std::string> nextUndoName();
std::optional<std::string> nextRedoName();

}  // namespace kestrin::host
