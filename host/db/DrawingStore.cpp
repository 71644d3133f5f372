#include "host/db/DrawingStore.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <string_view>
#include <utility>

#include "host/db/AcDbObject.h"
#include "host/db/ObjectFactory.h"
#include "host/db/RecordTags.h"
#include "host/db/HeaderVariables.h"
#include "host/db/SpatialIndex.h"
#include "host/dxf/Versions.h"
#include "platform/process/Parallel.h"

namespace kestrin::db {
namespace {

std::map<std::uint64_t, DrawingStore*>& liveStores() {
    static std::map<std::uint64_t, DrawingStore*> stores;
    return stores;
}

std::uint64_t nextSerial() {
    static std::uint64_t serial = 0;
    return ++serial;
}

// Whether the record is of the type: compared as views, the lengths first (most differ).
bool is(const dxf::Record& record, std::string_view type) { return std::string_view(record.type) == type; }

int handleCode(const dxf::Record& record) { return is(record, "DIMSTYLE") ? 105 : 5; }

bool startsComplex(const dxf::Record& record) {
    if (is(record, "POLYLINE")) return true;
    if (!is(record, "INSERT")) return false;
    const auto follows = headTag(record, 66);
    return follows && parseInteger(*follows).value_or(0) == 1;
}

bool isSubEntity(const dxf::Record& record) {
    return is(record, "ATTRIB") || is(record, "VERTEX") || is(record, "SEQEND");
}

// Work on runs of [0, count) on every core (one run on this thread when
// there are few), each run's results in a Run of its own: the runs come
// back in order. Run has `begin`; `work(run, begin, end)` fills it.
constexpr std::size_t kLeastRun = 16384;  // entries a core: fewer are not worth a thread
template <typename Run, typename Work>
std::vector<Run> inOrderedRuns(std::size_t count, Work&& work) {
    std::vector<Run> runs(process::cores());
    std::atomic<std::size_t> taken{0};
    process::inParallel(count, kLeastRun, [&](std::size_t begin, std::size_t end) {
        Run& run = runs[taken++];
        run.begin = begin;
        work(run, begin, end);
    });
    runs.resize(taken);
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.begin < b.begin; });
    return runs;
}

// A file's records come section by section, each mostly in the order of its
// handles: the list is sorted by merging its ascending runs in pairs, one pass
// when it is in order already and n log n at the worst.
void sortByHandle(std::vector<std::pair<std::uint64_t, Entry*>>& list) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i] < list[i - 1]) starts.push_back(i);
    starts.push_back(list.size());
    const auto at = [&](std::size_t i) { return list.begin() + static_cast<std::ptrdiff_t>(i); };
    while (starts.size() > 2) {
        std::vector<std::size_t> merged;
        std::size_t k = 0;
        for (; k + 2 < starts.size(); k += 2) {
            std::inplace_merge(at(starts[k]), at(starts[k + 1]), at(starts[k + 2]));
            merged.push_back(starts[k]);
        }
        merged.insert(merged.end(), starts.begin() + static_cast<std::ptrdiff_t>(k), starts.end());
        starts = std::move(merged);
    }
}

const Subclass kEntitySection{"AcDbEntity", 0, {67, 8, 6, 62, 370, 48, 60}};
const Subclass kInsertSection{"AcDbBlockReference", 0, {66, 2, 10, 20, 30, 41, 42, 43, 50}};

}  // namespace

DrawingStore::DrawingStore(AcDbDatabase& database)
    : database_(database), serial_(nextSerial()), journal_(std::make_unique<UndoJournal>(*this)) {
    liveStores()[serial_] = this;
}

DrawingStore::~DrawingStore() {
    liveStores().erase(serial_);
    for (Entry& e : storage_) {
        if (e.object == nullptr) continue;
        e.object->entry_ = nullptr;  // the store deletes its own objects
        delete e.object;
        e.object = nullptr;
    }
}

DrawingStore* DrawingStore::bySerial(std::uint64_t serial) {
    const auto it = liveStores().find(serial);
    return it == liveStores().end() ? nullptr : it->second;
}

Entry* DrawingStore::newEntry(dxf::Record&& record, Place place) {
    Entry& e = storage_.emplace_back();
    e.record = std::move(record);
    e.store = this;
    e.place = place;
    return &e;
}

void DrawingStore::indexHandle(Entry* entry) {
    if (entry->handle == 0) return;
    // Handles come from the seed, above every other of the file; the host's
    // own lie above those again, in a list of their own.
    auto& list = entry->handle >= kSyntheticBase ? synthetic_ : handles_;
    list.emplace_back(entry->handle, entry);
}

Entry* DrawingStore::byHandle(std::uint64_t handle) const {
    const auto& list = handle >= kSyntheticBase ? synthetic_ : handles_;
    const auto it = std::lower_bound(list.begin(), list.end(), handle,
                                     [](const auto& slot, std::uint64_t h) { return slot.first < h; });
    return it != list.end() && it->first == handle ? it->second : nullptr;
}

std::uint64_t DrawingStore::allocateHandle() {
    journal_->noteSeed(nextHandle_);
    return nextHandle_++;
}

// A section's records taken as entries, on every core when there are many
// (a drawing's ENTITIES section may hold millions): first each is made in
// its place, then each core links a run of them that begins at an entity of
// its own, so that an INSERT or POLYLINE finds its followers in its own run.
void DrawingStore::takeEntities(std::vector<dxf::Record>& records, std::vector<Entry*>& out, std::uint32_t block) {
    const std::size_t n = records.size(), first = storage_.size();
    storage_.reserveMore(n);
    process::inParallel(n, kLeastRun, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            Entry& e = storage_.emplaceAt(first + k);
            e.record = std::move(records[k]);
            e.store = this;
        }
    });
    storage_.commit(n);
    // A run's ends moved on past followers: the next run begins where it ends.
    auto pastFollowers = [&](std::size_t k) {
        while (k > 0 && k < n && isSubEntity(storage_[first + k].record)) ++k;
        return k;
    };
    struct Run {
        std::size_t begin = 0;
        std::vector<Entry*> tops;
    };
    const auto runs = inOrderedRuns<Run>(n, [&](Run& run, std::size_t begin, std::size_t end) {
        Entry* complex = nullptr;  // an INSERT or POLYLINE whose SEQEND has not come yet
        for (std::size_t k = pastFollowers(begin), last = pastFollowers(end); k < last; ++k) {
            Entry* e = &storage_[first + k];
            if (complex != nullptr && isSubEntity(e->record)) {
                e->place = Place::SubEntity;
                e->parent = complex;
                complex->children->push_back(e);
                if (is(e->record, "SEQEND")) complex = nullptr;
                continue;
            }
            e->place = Place::Entity;
            e->block = block;
            run.tops.push_back(e);
            complex = nullptr;
            if (startsComplex(e->record)) {
                e->children = std::make_unique<std::vector<Entry*>>();
                complex = e;
            }
        }
    });
    std::size_t count = out.size();
    for (const Run& run : runs) count += run.tops.size();
    out.reserve(count);
    for (const Run& run : runs) out.insert(out.end(), run.tops.begin(), run.tops.end());
}

void DrawingStore::load(dxf::Document&& document) {
    header_ = std::move(document.header);
    classes_ = std::move(document.classes);
    others_ = std::move(document.others);
    order_ = std::move(document.order);
    format_ = std::move(document.format);
    verbatim_ = std::move(document.verbatim);
    const auto version = dxf::versionByAcadver(format_.version);
    modern_ = !version || version->modern();

    for (dxf::Table& table : document.tables) {
        TableLayout& layout = tables_.emplace_back();
        layout.head = newEntry(std::move(table.head), Place::TableHead);
        for (dxf::Record& r : table.entries) layout.entries.push_back(newEntry(std::move(r), Place::TableEntry));
    }
    for (dxf::Block& block : document.blocks) {
        const auto index = static_cast<std::uint32_t>(blocks_.size());
        BlockLayout& layout = blocks_.emplace_back();
        layout.begin = newEntry(std::move(block.begin), Place::BlockBegin);
        layout.begin->block = index;
        takeEntities(block.entities, layout.entities, index);
        layout.end = newEntry(std::move(block.end), Place::BlockEnd);
        layout.end->block = index;
    }
    takeEntities(document.entities, entities_, Entry::kNoBlock);
    for (dxf::Record& r : document.objects) objects_.push_back(newEntry(std::move(r), Place::Object));

    // Handles: every record that carries one is found by it. Read on every
    // core, a run of the entries each, into the run's own part of the list;
    // the first bad one is told.
    struct Run {
        std::size_t begin = 0, found = 0;  // entries with a handle
        std::vector<Entry*> withoutHandle;
        std::uint64_t highest = 0;
        std::size_t bad = SIZE_MAX;  // the first entry whose handle is not one
    };
    handles_.resize(storage_.size());
    const auto runs = inOrderedRuns<Run>(storage_.size(), [&](Run& run, std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            Entry& e = storage_[k];
            const auto text = headTag(e.record, handleCode(e.record));
            if (!text) {
                if (e.place != Place::BlockBegin && e.place != Place::BlockEnd) run.withoutHandle.push_back(&e);
                continue;
            }
            const auto value = parseHandle(*text);
            if (!value || *value == 0) {
                run.bad = k;
                return;
            }
            e.handle = *value;
            run.highest = std::max(run.highest, *value);
            handles_[begin + run.found++] = {e.handle, &e};
        }
    });
    std::uint64_t highest = 0;
    std::vector<Entry*> withoutHandle;
    std::size_t count = 0;
    for (const Run& run : runs) {
        if (run.bad != SIZE_MAX) {
            const Entry& e = storage_[run.bad];
            throw DatabaseError(dxf::describePosition(format_, e.record.line) + ": the handle \"" +
                                std::string(*headTag(e.record, handleCode(e.record))) + "\" of " + e.record.type +
                                " is not a hexadecimal number above 0");
        }
        // The runs' parts closed up, in the entries' order.
        if (count < run.begin)
            std::copy(handles_.begin() + static_cast<std::ptrdiff_t>(run.begin),
                      handles_.begin() + static_cast<std::ptrdiff_t>(run.begin + run.found),
                      handles_.begin() + static_cast<std::ptrdiff_t>(count));
        count += run.found;
        withoutHandle.insert(withoutHandle.end(), run.withoutHandle.begin(), run.withoutHandle.end());
        highest = std::max(highest, run.highest);
    }
    handles_.resize(count);
    sortByHandle(handles_);
    for (std::size_t i = 1; i < handles_.size(); ++i) {
        if (handles_[i].first != handles_[i - 1].first) continue;
        throw DatabaseError(dxf::describePosition(format_, handles_[i].second->record.line) + ": " +
                            handles_[i].second->record.type + " has the handle " + formatHandle(handles_[i].first) +
                            " that " + handles_[i - 1].second->record.type + " at " +
                            dxf::describePosition(format_, handles_[i - 1].second->record.line) + " has already");
    }
    const auto seedIndex = findVariable(header_, "HANDSEED");
    std::uint64_t seed = 1;
    if (seedIndex && *seedIndex + 1 < header_.size()) seed = parseHandle(header_[*seedIndex + 1].value).value_or(1);
    nextHandle_ = std::max(seed, highest + 1);
    // R13 and later give every record a handle, R12 only when $HANDLING is on.
    const auto handling = readVariable(header_, "HANDLING");
    writesHandles_ = modern_ || !handles_.empty() || (handling && handling->integer == 1);
    for (Entry* e : withoutHandle) {
        if (modern_) {
            // Records of a file that left them without: new ones, as the host does.
            e->handle = allocateHandle();
            e->record.tags.insert(0, handleCode(e->record), formatHandle(e->handle));
        } else {
            // An R12 drawing saves without handles it did not have.
            e->handle = writesHandles_ ? syntheticHandle() : allocateHandle();
        }
        if (e->handle >= kSyntheticBase) indexHandle(e);
        else handles_.emplace_back(e->handle, e);
    }
    sortByHandle(handles_);
    if (!modern_) synthesizeTables();
    initialNext_ = nextHandle_;
}

void DrawingStore::addSyntheticTable(std::string_view table, const std::vector<std::string>& names) {
    TableLayout& layout = tables_.emplace_back();
    layout.synthetic = true;
    dxf::Record head;
    head.type = "TABLE";
    head.tags.push(2, table);
    head.tags.push(70, std::to_string(names.size()));
    layout.head = newEntry(std::move(head), Place::TableHead);
    layout.head->synthetic = true;
    layout.head->handle = syntheticHandle();
    indexHandle(layout.head);
    for (const std::string& name : names) {
        dxf::Record r;
        r.type = std::string(table);
        r.tags.push(2, name);
        r.tags.push(70, "0");
        if (table == "STYLE") {
            for (const auto& [code, value] : {std::pair<int, const char*>{40, "0.0"}, {41, "1.0"}, {50, "0.0"},
                                              {71, "0"}, {42, "2.5"}, {3, "txt"}, {4, ""}})
                r.tags.push(code, value);
        }
        Entry* e = newEntry(std::move(r), Place::TableEntry);
        e->synthetic = true;
        e->handle = syntheticHandle();
        indexHandle(e);
        layout.entries.push_back(e);
    }
}

// An R12 drawing keeps its blocks in the BLOCKS section alone and may have
// no tables at all; the host's API reaches blocks and styles through their
// tables, so the missing ones are made here (and never written, unless a
// style is added: see materialize).
void DrawingStore::synthesizeTables() {
    if (tableHead("BLOCK_RECORD") == nullptr) {
        std::vector<std::string> names = {"*Model_Space", "*Paper_Space"};
        for (const BlockLayout& b : blocks_) {
            const std::string name(recordName(*b.begin));
            const std::string upper = upperName(name);
            if (upper == "$MODEL_SPACE" || upper == "$PAPER_SPACE" || upper == "*MODEL_SPACE" || upper == "*PAPER_SPACE")
                continue;
            names.push_back(name);
        }
        addSyntheticTable("BLOCK_RECORD", names);
    }
    if (tableHead("STYLE") == nullptr) addSyntheticTable("STYLE", {"STANDARD"});
}

void DrawingStore::adaptNewRecord(dxf::Record& record) const {
    if (modern_) return;
    // R12 has no subclass markers.
    for (std::size_t i = record.tags.size(); i > 0; --i) {
        if (record.tags[i - 1].code == 1001) continue;
        if (record.tags[i - 1].code == 100) record.tags.erase(i - 1);
    }
}

void DrawingStore::writeEntity(const Entry* entry, std::vector<dxf::Record>& out) const {
    if (entry->erased) return;
    out.push_back(entry->record);
    if (entry->children)
        for (const Entry* child : *entry->children)
            if (!child->erased) out.push_back(child->record);
}

void DrawingStore::writeHeader(dxf::Document& doc) const {
    doc.header = header_;
    // $HANDSEED is written only when new handles moved it on, so that a
    // drawing saved unchanged keeps its header as it was.
    if (!writesHandles_ || nextHandle_ == initialNext_) return;
    const std::string seed = formatHandle(nextHandle_);
    if (const auto i = findVariable(doc.header, "HANDSEED"); i && *i + 1 < doc.header.size()) {
        doc.header.set(*i + 1, seed);
    } else {
        doc.header.push(9, "$HANDSEED");
        doc.header.push(5, seed);
    }
}

dxf::Document DrawingStore::save() const {
    dxf::Document doc = saveDefinitions();
    for (const Entry* e : entities_) writeEntity(e, doc.entities);
    for (const Entry* e : objects_)
        if (!e->erased) doc.objects.push_back(e->record);
    doc.others = others_;
    doc.order = order_;
    doc.verbatim = verbatim_;
    return doc;
}

dxf::Document DrawingStore::saveDefinitions() const {
    dxf::Document doc;
    writeHeader(doc);
    doc.classes = classes_;
    for (const TableLayout& t : tables_) {
        // A table the host made is written once the drawing holds a record of its own in it.
        if (t.synthetic && std::none_of(t.entries.begin(), t.entries.end(),
                                        [](const Entry* e) { return !e->synthetic && !e->erased; }))
            continue;
        dxf::Table& table = doc.tables.emplace_back();
        table.head = t.head->record;
        for (const Entry* e : t.entries)
            if (!e->erased) table.entries.push_back(e->record);
    }
    for (const BlockLayout& b : blocks_) {
        dxf::Block& block = doc.blocks.emplace_back();
        block.begin = b.begin->record;
        for (const Entry* e : b.entities) writeEntity(e, block.entities);
        block.end = b.end->record;
    }
    doc.format = format_;
    return doc;
}

Acad::ErrorStatus DrawingStore::open(AcDbObject*& object, Entry* entry, AcDb::OpenMode mode, bool openErased) {
    object = nullptr;
    if (entry == nullptr) return Acad::eNullObjectId;
    if (entry->erased && !openErased) return Acad::eWasErased;
    if (entry->object == nullptr) {
        entry->object = makeObject(*entry).release();
        entry->object->own_ = dxf::Record{};  // the entry's record is the object's data from now on
        entry->object->entry_ = entry;
    }
    AcDbObject* o = entry->object;
    if (o->writer_) return Acad::eWasOpenForWrite;
    if (mode == AcDb::kForWrite) {
        if (o->readers_ > 0) return Acad::eWasOpenForRead;
        o->writer_ = true;
        o->beginWrite();
    } else {
        ++o->readers_;
    }
    if (o->readers_ + (o->writer_ ? 1 : 0) == 1) noteOpened(entry);
    object = o;
    return Acad::eOk;
}

void DrawingStore::noteOpened(Entry* entry) { open_.push_back(entry); }

void DrawingStore::noteClosed(Entry* entry) {
    const auto it = std::find(open_.begin(), open_.end(), entry);
    if (it != open_.end()) open_.erase(it);
}

void DrawingStore::attach(AcDbObject& object, Entry* entry) {
    entry->object = &object;
    object.entry_ = entry;
    object.readers_ = 0;
    object.writer_ = true;  // a newly added object is open for write
    object.added_ = true;
    noteOpened(entry);
}

void DrawingStore::giveHandle(Entry* entry, std::string_view owner) {
    entry->handle = allocateHandle();
    std::size_t at = 0;
    if (writesHandles_) entry->record.tags.insert(at++, handleCode(entry->record), formatHandle(entry->handle));
    if (modern_ && !owner.empty()) entry->record.tags.insert(at, 330, owner);
    indexHandle(entry);
}

std::string_view DrawingStore::recordName(const Entry& entry) {
    return headTag(entry.record, 2).value_or(std::string_view{});
}

Entry* DrawingStore::tableHead(std::string_view table) const {
    for (const TableLayout& t : tables_)
        if (headTag(t.head->record, 2).value_or("") == table) return t.head;
    return nullptr;
}

const std::vector<Entry*>* DrawingStore::tableEntries(std::string_view table) const {
    for (const TableLayout& t : tables_)
        if (headTag(t.head->record, 2).value_or("") == table) return &t.entries;
    return nullptr;
}

Entry* DrawingStore::findTableEntry(std::string_view table, std::string_view name, bool includeErased) const {
    const auto* entries = tableEntries(table);
    if (entries == nullptr) return nullptr;
    for (Entry* e : *entries)
        if ((includeErased || !e->erased) && sameName(recordName(*e), name)) return e;
    return nullptr;
}

// A table the host made becomes the drawing's own when a record of its own
// is added to it (save() then writes it): its records take handles where the
// drawing has them.
void DrawingStore::materialize(TableLayout& table) {
    if (!table.synthetic || !writesHandles_ || headTag(table.head->record, 2).value_or("") == "BLOCK_RECORD") return;
    auto own = [this](Entry* e) {
        if (e->handle < kSyntheticBase) return;
        journal_->noteWrite(*e);
        std::erase(synthetic_, std::make_pair(e->handle, e));
        e->handle = allocateHandle();
        e->record.tags.insert(0, handleCode(e->record), formatHandle(e->handle));
        indexHandle(e);
    };
    own(table.head);
    for (Entry* e : table.entries) own(e);
}

Entry* DrawingStore::addTableEntry(std::string_view table, AcDbObject& object) {
    for (TableLayout& t : tables_) {
        if (headTag(t.head->record, 2).value_or("") != table) continue;
        materialize(t);
        Entry* e = newEntry(std::move(object.own_), Place::TableEntry);
        giveHandle(e, formatHandle(t.head->handle));
        adaptNewRecord(e->record);
        t.entries.push_back(e);
        journal_->noteAdded(*e, {t.head, t.entries.size() - 1});
        const long long count = static_cast<long long>(t.entries.size());
        const Subclass tableSection{"AcDbSymbolTable", 0, {70}};
        if (integerTag(t.head->record, tableSection, 70, 0) < count) {
            journal_->noteWrite(*t.head);
            setIntegerTag(t.head->record, tableSection, 70, count);
        }
        attach(object, e);
        return e;
    }
    return nullptr;
}

bool DrawingStore::isModelSpace(const Entry* blockRecord) const {
    return sameName(recordName(*blockRecord), "*Model_Space");
}

bool DrawingStore::isPaperSpace(const Entry* blockRecord) const {
    return sameName(recordName(*blockRecord), "*Paper_Space");
}

DrawingStore::BlockLayout* DrawingStore::blockOf(const Entry* blockRecord) {
    return const_cast<BlockLayout*>(std::as_const(*this).blockOf(blockRecord));
}

const DrawingStore::BlockLayout* DrawingStore::blockOf(const Entry* blockRecord) const {
    const std::string owner = formatHandle(blockRecord->handle);
    for (const BlockLayout& b : blocks_)
        if (headTag(b.begin->record, 330).value_or("") == owner) return &b;
    for (const BlockLayout& b : blocks_)
        if (sameName(headTag(b.begin->record, 2).value_or(""), recordName(*blockRecord))) return &b;
    return nullptr;
}

std::string DrawingStore::blockName(const Entry* blockRecord) const { return std::string(recordName(*blockRecord)); }

const Entry* DrawingStore::spaceRecord(bool paper) const {
    return findTableEntry("BLOCK_RECORD", paper ? "*Paper_Space" : "*Model_Space", false);
}

Space DrawingStore::spaceOf(const Entry& entry) const {
    if (entry.place == Place::SubEntity) return Space::Nested;
    if (entry.place != Place::Entity || entry.block != Entry::kNoBlock) return Space::Block;
    if (modern_) {
        if (const auto owner = headTag(entry.record, 330)) {
            const auto handle = parseHandle(*owner);
            const Entry* record = handle ? byHandle(*handle) : nullptr;
            if (record != nullptr && record->record.type == "BLOCK_RECORD") {
                if (isPaperSpace(record)) return Space::Paper;
                if (isModelSpace(record)) return Space::Model;
                return Space::Block;
            }
        }
    }
    return integerTag(entry.record, kEntitySection, 67, 0) == 1 ? Space::Paper : Space::Model;
}

const Entry* DrawingStore::ownerOf(const Entry& entry) const {
    if (entry.place == Place::SubEntity) return entry.parent;
    if (modern_) {
        if (const auto owner = headTag(entry.record, 330))
            if (const auto handle = parseHandle(*owner))
                if (const Entry* e = byHandle(*handle)) return e;
    }
    if (entry.block != Entry::kNoBlock) {
        const BlockLayout& b = blocks_[entry.block];
        if (const auto owner = headTag(b.begin->record, 330))
            if (const auto handle = parseHandle(*owner))
                if (const Entry* e = byHandle(*handle)) return e;
        return findTableEntry("BLOCK_RECORD", recordName(*b.begin), false);
    }
    if (entry.place == Place::Entity) return spaceRecord(spaceOf(entry) == Space::Paper);
    if (entry.place == Place::TableEntry)
        for (const TableLayout& t : tables_)
            if (std::find(t.entries.begin(), t.entries.end(), &entry) != t.entries.end()) return t.head;
    return nullptr;
}

std::vector<Entry*> DrawingStore::entitiesOf(const Entry* blockRecord) const {
    std::vector<Entry*> out;
    if (blockRecord == nullptr) return out;
    const bool model = isModelSpace(blockRecord), paper = isPaperSpace(blockRecord);
    if (model || paper) {
        const Space wanted = model ? Space::Model : Space::Paper;
        for (Entry* e : entities_)
            if (spaceOf(*e) == wanted) out.push_back(e);
        return out;
    }
    if (const BlockLayout* b = blockOf(blockRecord)) out = b->entities;
    return out;
}

Entry* DrawingStore::appendEntity(const Entry* blockRecord, AcDbObject& entity) {
    const bool model = isModelSpace(blockRecord), paper = isPaperSpace(blockRecord);
    BlockLayout* block = model || paper ? nullptr : blockOf(blockRecord);
    if (!model && !paper && block == nullptr) return nullptr;
    entity.onAppend(*this);
    Entry* e = newEntry(std::move(entity.own_), Place::Entity);
    giveHandle(e, formatHandle(blockRecord->handle));
    if (paper) setIntegerTag(e->record, kEntitySection, 67, 1);
    else removeTags(e->record, kEntitySection, 67);
    adaptNewRecord(e->record);
    if (block != nullptr) e->block = static_cast<std::uint32_t>(block - blocks_.data());
    std::vector<Entry*>& list = block != nullptr ? block->entities : entities_;
    list.push_back(e);
    journal_->noteAdded(*e, {block != nullptr ? block->begin : nullptr, list.size() - 1});
    attach(entity, e);
    return e;
}

Entry* DrawingStore::appendSubEntity(Entry* parent, AcDbObject& entity) {
    const std::string owner = formatHandle(parent->handle);
    std::optional<std::string> paperFlag;  // a copy: the parent's record changes below
    if (const auto flag = tagValue(parent->record, kEntitySection, 67)) paperFlag = std::string(*flag);
    const std::string layer = stringTag(parent->record, kEntitySection, 8, "0");
    journal_->noteWrite(*parent);
    if (!parent->children) {
        parent->children = std::make_unique<std::vector<Entry*>>();
        dxf::Record seqend;
        seqend.type = "SEQEND";
        seqend.tags.push(100, "AcDbEntity");
        if (paperFlag) seqend.tags.push(67, *paperFlag);
        seqend.tags.push(8, layer);
        Entry* end = newEntry(std::move(seqend), Place::SubEntity);
        giveHandle(end, owner);
        adaptNewRecord(end->record);
        end->parent = parent;
        parent->children->push_back(end);
        journal_->noteAdded(*end, {parent, 0});
        setIntegerTag(parent->record, kInsertSection, 66, 1);
    }
    entity.onAppend(*this);
    Entry* e = newEntry(std::move(entity.own_), Place::SubEntity);
    giveHandle(e, owner);
    if (paperFlag) setTag(e->record, kEntitySection, 67, *paperFlag);
    adaptNewRecord(e->record);
    e->parent = parent;
    auto& children = *parent->children;
    const auto seqend = std::find_if(children.begin(), children.end(),
                                     [](const Entry* c) { return c->record.type == "SEQEND"; });
    const std::size_t at = static_cast<std::size_t>(seqend - children.begin());
    children.insert(seqend, e);
    journal_->noteAdded(*e, {parent, at});
    attach(entity, e);
    return e;
}

std::vector<Entry*>& DrawingStore::listOf(const ListSlot& slot) {
    if (slot.owner == nullptr) return entities_;
    if (slot.owner->place == Place::TableHead)
        for (TableLayout& t : tables_)
            if (t.head == slot.owner) return t.entries;
    if (slot.owner->place == Place::BlockBegin)
        for (BlockLayout& b : blocks_)
            if (b.begin == slot.owner) return b.entities;
    if (!slot.owner->children) slot.owner->children = std::make_unique<std::vector<Entry*>>();
    return *slot.owner->children;
}

void DrawingStore::takeOut(Entry& entry, const ListSlot& slot) {
    std::vector<Entry*>& list = listOf(slot);
    auto it = slot.index < list.size() && list[slot.index] == &entry ? list.begin() + static_cast<std::ptrdiff_t>(slot.index)
                                                                     : std::find(list.begin(), list.end(), &entry);
    if (it != list.end()) list.erase(it);
    // An INSERT without attributes has no list: a later attribute brings its SEQEND again.
    if (list.empty() && slot.owner != nullptr && slot.owner->children.get() == &list) slot.owner->children.reset();
    const auto at = std::lower_bound(handles_.begin(), handles_.end(), entry.handle,
                                     [](const auto& h, std::uint64_t v) { return h.first < v; });
    if (at != handles_.end() && at->second == &entry) handles_.erase(at);
    entry.erased = true;
}

void DrawingStore::putBack(Entry& entry, const ListSlot& slot) {
    std::vector<Entry*>& list = listOf(slot);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(slot.index, list.size())), &entry);
    const std::pair<std::uint64_t, Entry*> handle{entry.handle, &entry};
    handles_.insert(std::lower_bound(handles_.begin(), handles_.end(), handle,
                                     [](const auto& a, const auto& b) { return a.first < b.first; }),
                    handle);
}

SpatialIndex& DrawingStore::spatialIndex() const {
    if (!spatialIndex_) spatialIndex_ = std::make_unique<SpatialIndex>(const_cast<DrawingStore&>(*this));
    return *spatialIndex_;
}

}  // namespace kestrin::db
