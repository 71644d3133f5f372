// The undo journal of one drawing: what each step (a command, or the changes
// made between two commands) did, recorded from the store's hooks as it
// happens, so that the step can be undone and redone exactly.
//
// A step keeps only what it changed: the record (and erased flag) of each
// object as it was before the step first opened it for write, the objects it
// appended (they stay in the store, unlinked while undone), the header as it
// was, and the handle seed. Records the step left as they were are dropped
// when it closes. Undoing swaps the kept records with the drawing's, so the
// same step redoes. Nothing may be open while a step is undone or redone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "host/dxf/TagList.h"

namespace kestrin::db {

class DrawingStore;
struct Entry;

// Where an appended entry lies: the list of the entry that owns it (a table
// head, a block's BLOCK entry, the INSERT or POLYLINE of a sub-entity; none
// for the top-level entities) and its index there.
struct ListSlot {
    Entry* owner = nullptr;
    std::size_t index = 0;
};

class UndoJournal {
public:
    // The depth when none is set: the steps kept.
    static constexpr std::size_t kDefaultLimit = 100;

    explicit UndoJournal(DrawingStore& store) : store_(store) {}
    UndoJournal(const UndoJournal&) = delete;
    UndoJournal& operator=(const UndoJournal&) = delete;

    // The store's hooks, called before the change they announce.
    void noteWrite(Entry& entry);                        // before its record or erased flag changes
    void noteAdded(Entry& entry, const ListSlot& slot);  // after it was appended at `slot`
    void noteHeader(const dxf::TagList& header);         // before the header may change
    void noteSeed(std::uint64_t seed);                   // before the handle seed moves on

    // Ends the step being recorded, named `name` (a command's name). A step
    // that changed nothing is dropped; any other makes what was undone
    // unredoable. Answers whether a step was kept.
    bool close(const std::string& name);
    // Drops everything recorded (a drawing just loaded starts here).
    void forget();
    // Whether the step being recorded holds anything yet.
    bool recording() const { return open_.has_value(); }

    // Undoes up to `count` steps, newest first, as one undo that redo()
    // reverses whole; the step being recorded is closed first (unnamed).
    // Answers the names of the steps undone, in order.
    std::vector<std::string> undo(std::size_t count);
    // Redoes what the last undo undid; the names, in order. Nothing once a
    // new step has been kept.
    std::vector<std::string> redo();

    // The steps that can be undone (newest last) and the undos redo() can
    // reverse.
    std::size_t undoable() const { return done_.size(); }
    std::size_t redoable() const { return undoSizes_.size(); }
    // The name of the step undo(1) undoes; of the newest step the next redo() redoes.
    std::optional<std::string> nextUndo() const;
    std::optional<std::string> nextRedo() const;

    // How many steps are kept: older ones are forgotten. 0 keeps none (no undo).
    void setLimit(std::size_t limit);
    std::size_t limit() const { return limit_; }

    // Bytes the kept steps hold on the heap and in their records.
    std::size_t bytes() const;
    static std::size_t recordBytes(const dxf::Record& record);

private:
    struct Written {
        Entry* entry;
        dxf::Record record;  // the other side: before the step while done, after it while undone
        bool erased;
    };
    struct Added {
        Entry* entry;
        ListSlot slot;
        bool erased = false;  // while undone: whether it was erased when the step was undone
    };
    struct Step {
        std::string name;
        std::vector<Written> written;
        std::vector<Added> added;
        std::optional<dxf::TagList> header;  // the other side, as for records
        std::optional<std::uint64_t> seed;   // the other side
        std::unordered_set<const Entry*> touched;  // while recording: noted already (written or added)
    };

    DrawingStore& store_;
    std::optional<Step> open_;
    std::deque<Step> done_;                // oldest first
    std::vector<Step> undone_;             // newest undone last
    std::vector<std::size_t> undoSizes_;   // steps each undo took, the last undo last
    std::size_t limit_ = kDefaultLimit;
    bool applying_ = false;  // undo and redo change the store without being recorded

    Step& step();
    // Keeps only what differs from the drawing now; false when nothing does.
    bool trim(Step& step) const;
    // Swaps the step's side with the drawing's; `undoing` unlinks what it
    // appended, else links it again. Then tells the views.
    void apply(Step& step, bool undoing);
};

}  // namespace kestrin::db
