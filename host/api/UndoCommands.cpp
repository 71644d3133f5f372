#include "host/api/UndoCommands.h"

#include <cstdlib>
#include <vector>

#include "host/api/AdsTypes.h"
#include "host/api/CommandLine.h"
#include "host/api/HostSettings.h"
#include "host/api/HostState.h"
#include "host/api/WordInput.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"

namespace kestrin::host {

namespace {

db::UndoJournal* journal() {
    AcDbDatabase* db = HostState::instance().working;
    return db != nullptr ? &db->store().journal() : nullptr;
}

// Undo and redo change records in place: nothing may be open meanwhile.
db::UndoJournal* idleJournal(const char* what) {
    AcDbDatabase* db = HostState::instance().working;
    if (db == nullptr) return nullptr;
    if (db->openObjectCount() > 0) {
        print(std::string("\nCannot ") + what + " while objects of the drawing are open.\n");
        return nullptr;
    }
    return &db->store().journal();
}

void undoSteps(std::size_t count) {
    endUndoStep(kBetweenCommands);
    db::UndoJournal* j = idleJournal("undo");
    if (j == nullptr) return;
    const std::vector<std::string> names = j->undo(count);
    for (const std::string& name : names) print("\nUndone: " + name + "\n");
    if (names.size() < count) print("\nEverything has been undone\n");
}

}  // namespace

void applyUndoLimit(AcDbDatabase& database) {
    database.store().journal().setLimit(static_cast<std::size_t>(hostSetting("UNDOLIMIT").value_or(0)));
}

void endUndoStep(const std::string& name) {
    if (db::UndoJournal* j = journal()) j->close(name);
}

void undoLastStep() { undoSteps(1); }

void undoAskedSteps() {
    for (;;) {
        std::string word;
        const int status = getWord("\nEnter the number of steps to undo or [All] <1>: ", word);
        if (status == RTCAN) return;
        if (status == RTNONE) return undoSteps(1);
        if (db::sameName(word, "All") || db::sameName(word, "A")) return undoSteps(static_cast<std::size_t>(-1));
        char* end = nullptr;
        const long count = std::strtol(word.c_str(), &end, 10);
        if (!word.empty() && end != nullptr && *end == '\0' && count > 0) return undoSteps(static_cast<std::size_t>(count));
        print("\nRequires a positive whole number or All.\n");
    }
}

void redoLastUndo() {
    endUndoStep(kBetweenCommands);
    db::UndoJournal* j = idleJournal("redo");
    if (j == nullptr) return;
    const std::vector<std::string> names = j->redo();
    if (names.empty()) print("\nNothing to redo: REDO follows U or UNDO\n");
    for (const std::string& name : names) print("\nRedone: " + name + "\n");
}

std::optional<std::string> nextUndoName() {
    db::UndoJournal* j = journal();
    if (j == nullptr) return std::nullopt;
    if (j->recording()) return std::string(kBetweenCommands);
    return j->nextUndo();
}

std::optional<std::string> nextRedoName() {
    db::UndoJournal* j = journal();
    return j != nullptr && !j->recording() ? j->nextRedo() : std::nullopt;
}

}  // namespace kestrin::host
