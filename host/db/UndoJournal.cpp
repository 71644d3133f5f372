#include "host/db/UndoJournal.h"

#include <algorithm>
#include <utility>

#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"

namespace kestrin::db {

UndoJournal::Step& UndoJournal::step() {
    if (!open_) open_.emplace();
    return *open_;
}

void UndoJournal::noteWrite(Entry& entry) {
    if (applying_) return;
    Step& s = step();
    if (!s.touched.insert(&entry).second) return;
    s.written.push_back({&entry, entry.record, entry.erased});
}

void UndoJournal::noteAdded(Entry& entry, const ListSlot& slot) {
    if (applying_) return;
    Step& s = step();
    s.touched.insert(&entry);
    s.added.push_back({&entry, slot, false});
}

void UndoJournal::noteHeader(const dxf::TagList& header) {
    if (applying_) return;
    Step& s = step();
    if (!s.header) s.header = header;
}

void UndoJournal::noteSeed(std::uint64_t seed) {
    if (applying_) return;
    Step& s = step();
    if (!s.seed) s.seed = seed;
}

bool UndoJournal::trim(Step& s) const {
    std::erase_if(s.written, [](const Written& w) {
        return w.erased == w.entry->erased && w.record.type == w.entry->record.type &&
               w.record.tags == w.entry->record.tags;
    });
    if (s.header && *s.header == store_.header_) s.header.reset();
    if (s.seed && *s.seed == store_.nextHandle_) s.seed.reset();
    s.touched = {};
    return !s.written.empty() || !s.added.empty() || s.header || s.seed;
}

bool UndoJournal::close(const std::string& name) {
    if (!open_) return false;
    Step s = std::move(*open_);
    open_.reset();
    if (!trim(s)) return false;
    undone_.clear();
    undoSizes_.clear();
    if (limit_ == 0) {
        done_.clear();
        return true;
    }
    s.name = name;
    done_.push_back(std::move(s));
    while (done_.size() > limit_) done_.pop_front();
    return true;
}

void UndoJournal::forget() {
    open_.reset();
    done_.clear();
    undone_.clear();
    undoSizes_.clear();
}

void UndoJournal::setLimit(std::size_t limit) {
    limit_ = limit;
    while (done_.size() > limit_) done_.pop_front();
}

std::vector<std::string> UndoJournal::undo(std::size_t count) {
    close("");
    std::vector<std::string> names;
    while (names.size() < count && !done_.empty()) {
        Step s = std::move(done_.back());
        done_.pop_back();
        apply(s, true);
        names.push_back(s.name);
        undone_.push_back(std::move(s));
    }
    if (!names.empty()) undoSizes_.push_back(names.size());
    return names;
}

std::vector<std::string> UndoJournal::redo() {
    std::vector<std::string> names;
    if (open_ || undoSizes_.empty()) return names;
    const std::size_t count = undoSizes_.back();
    undoSizes_.pop_back();
    for (std::size_t i = 0; i < count && !undone_.empty(); ++i) {
        Step s = std::move(undone_.back());
        undone_.pop_back();
        apply(s, false);
        names.push_back(s.name);
        done_.push_back(std::move(s));
    }
    return names;
}

std::optional<std::string> UndoJournal::nextUndo() const {
    if (done_.empty()) return std::nullopt;
    return done_.back().name;
}

std::optional<std::string> UndoJournal::nextRedo() const {
    if (undoSizes_.empty() || undone_.empty()) return std::nullopt;
    return undone_.back().name;
}

void UndoJournal::apply(Step& s, bool undoing) {
    applying_ = true;
    struct Told {
        Entry* entry;
        bool wasErased;
    };
    std::vector<Told> told;
    if (undoing)
        for (auto it = s.added.rbegin(); it != s.added.rend(); ++it) {
            told.push_back({it->entry, it->entry->erased});
            it->erased = it->entry->erased;
            store_.takeOut(*it->entry, it->slot);
        }
    for (Written& w : s.written) {
        told.push_back({w.entry, w.entry->erased});
        std::swap(w.entry->record, w.record);
        std::swap(w.entry->erased, w.erased);
    }
    if (!undoing)
        for (const Added& a : s.added) {
            told.push_back({a.entry, true});
            store_.putBack(*a.entry, a.slot);
            a.entry->erased = a.erased;
        }
    if (s.header) std::swap(*s.header, store_.header_);
    if (s.seed) std::swap(*s.seed, store_.nextHandle_);
    applying_ = false;

    // The views learn of it as of any change: an object that came or went,
    // or one whose data changed.
    DatabaseEvents& events = store_.database().events();
    for (const Told& t : told) {
        if (t.entry->record.type == "SEQEND") continue;
        const AcDbObjectId id(t.entry);
        if (t.wasErased != t.entry->erased) (t.entry->erased ? events.erased : events.added).emit(id);
        else if (!t.entry->erased) events.changed.emit(id);
    }
}

std::size_t UndoJournal::recordBytes(const dxf::Record& record) {
    return sizeof(dxf::Record) + (record.type.capacity() > 15 ? record.type.capacity() : 0) + record.tags.heapBytes();
}

std::size_t UndoJournal::bytes() const {
    auto ofStep = [](const Step& s) {
        std::size_t n = sizeof(Step) + s.name.capacity() + s.added.capacity() * sizeof(Added) +
                        s.written.capacity() * sizeof(Written) + s.touched.size() * (sizeof(void*) * 4);
        for (const Written& w : s.written) n += recordBytes(w.record) - sizeof(dxf::Record);
        if (s.header) n += s.header->heapBytes();
        return n;
    };
    std::size_t n = 0;
    if (open_) n += ofStep(*open_);
    for (const Step& s : done_) n += ofStep(s);
    for (const Step& s : undone_) n += ofStep(s);
    return n;
}

}  // namespace kestrin::db
