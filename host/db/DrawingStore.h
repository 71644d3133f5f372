// The drawing behind an AcDbDatabase: every record of the DXF document kept
// in one entry each, in the document's structure, so that the document can
// be rebuilt exactly. Objects are made from entries only when opened.
//
// Memory per object beside its record: the entry's handle, store pointer,
// object pointer, child list pointer, parent pointer and flags (48 bytes), and one handle
// index slot (16 bytes).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/AcadTypes.h"
#include "host/db/StableList.h"
#include "host/db/UndoJournal.h"
#include "host/dxf/DxfDocument.h"

class AcDbDatabase;
class AcDbObject;

namespace kestrin::db {

class DrawingStore;
class SpatialIndex;

// A document that cannot become a database (duplicate handles, ...); the
// message names the record's line and the fault. UTF-8.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Place : std::uint8_t { Entity, SubEntity, TableHead, TableEntry, BlockBegin, BlockEnd, Object };

// Where an entity lies: in model space, in paper space, in a block's
// definition, or under an INSERT or POLYLINE (a sub-entity).
enum class Space : std::uint8_t { Model, Paper, Block, Nested };

struct Entry {
    dxf::Record record;
    std::uint64_t handle = 0;
    DrawingStore* store = nullptr;
    AcDbObject* object = nullptr;                   // made on first open, owned by the store
    std::unique_ptr<std::vector<Entry*>> children;  // attributes or vertices and their SEQEND
    // For a sub-entity: the INSERT or POLYLINE it follows in the drawing. Its
    // group 330 is not trusted: some programs write the block record there.
    Entry* parent = nullptr;
    Place place = Place::Object;
    bool erased = false;
    // A table or record the drawing's version has no room for (the block
    // records of an R12 drawing): the host's own, never written.
    bool synthetic = false;
    std::uint32_t block = kNoBlock;  // a block definition's entity: which block
    static constexpr std::uint32_t kNoBlock = UINT32_MAX;
};

class DrawingStore {
public:
    explicit DrawingStore(AcDbDatabase& database);
    ~DrawingStore();
    DrawingStore(const DrawingStore&) = delete;
    DrawingStore& operator=(const DrawingStore&) = delete;

    // Takes the document's records; throws DatabaseError and keeps nothing
    // when the document is inconsistent.
    void load(dxf::Document&& document);
    dxf::Document save() const;
    // The header, classes, tables and blocks alone: what the drawing's
    // entities are drawn with, without a copy of the entities themselves.
    dxf::Document saveDefinitions() const;

    AcDbDatabase& database() const { return database_; }
    std::uint64_t serial() const { return serial_; }
    static DrawingStore* bySerial(std::uint64_t serial);

    Entry* byHandle(std::uint64_t handle) const;

    // Where an entity lies, and what owns an entry: the block record of its
    // space or block, or the INSERT or POLYLINE of a sub-entity. Drawings of
    // R12 and older have no owner handles: the paper-space flag and the
    // section the entity stands in say it.
    Space spaceOf(const Entry& entry) const;
    const Entry* ownerOf(const Entry& entry) const;

    // The drawing's version and whether its records carry handles and
    // owners (an R12 drawing may have no handles; none has owners).
    const dxf::FileFormat& format() const { return format_; }
    bool writesHandles() const { return writesHandles_; }
    std::uint64_t allocateHandle();
    std::uint64_t handleSeed() const { return nextHandle_; }

    // Open and close bookkeeping.
    Acad::ErrorStatus open(AcDbObject*& object, Entry* entry, AcDb::OpenMode mode, bool openErased);
    void noteOpened(Entry* entry);
    void noteClosed(Entry* entry);
    const std::vector<Entry*>& openEntries() const { return open_; }

    // Tables by their DXF name ("BLOCK_RECORD", "STYLE").
    Entry* tableHead(std::string_view table) const;
    const std::vector<Entry*>* tableEntries(std::string_view table) const;
    Entry* findTableEntry(std::string_view table, std::string_view name, bool includeErased) const;
    Entry* addTableEntry(std::string_view table, AcDbObject& object);

    // The entities of a block record, in order (model and paper space share
    // the ENTITIES section; they are told apart by owner).
    std::vector<Entry*> entitiesOf(const Entry* blockRecord) const;
    Entry* appendEntity(const Entry* blockRecord, AcDbObject& entity);
    // An attribute (or other sub-entity) of `parent`, before its SEQEND.
    Entry* appendSubEntity(Entry* parent, AcDbObject& entity);
    const std::vector<Entry*>& topLevelEntities() const { return entities_; }
    // Every entity a person can pick: top-level and block-definition entities.
    template <class F>
    void forEachEntity(F&& f) const {
        for (Entry* e : entities_) f(e);
        for (const auto& block : blocks_)
            for (Entry* e : block.entities) f(e);
    }

    // Where the top-level entities and their attributes lie (made on first
    // use, then kept up to date through the database's change signals).
    SpatialIndex& spatialIndex() const;

    // The header for changing (the journal keeps it as it was); read it
    // through a const store.
    dxf::TagList& header() {
        journal_->noteHeader(header_);
        return header_;
    }
    const dxf::TagList& header() const { return header_; }

    // What the drawing's steps changed, for undo and redo.
    UndoJournal& journal() const { return *journal_; }

    // The name of a symbol table record (group 2).
    static std::string_view recordName(const Entry& entry);
    std::string blockName(const Entry* blockRecord) const;

private:
    friend class UndoJournal;
    struct TableLayout {
        Entry* head = nullptr;
        std::vector<Entry*> entries;
        bool synthetic = false;       // made by the host for a drawing that lacked the table
    };
    struct BlockLayout {
        Entry* begin = nullptr;
        std::vector<Entry*> entities;
        Entry* end = nullptr;
    };

    Entry* newEntry(dxf::Record&& record, Place place);
    void takeEntities(std::vector<dxf::Record>& records, std::vector<Entry*>& out, std::uint32_t block);
    void indexHandle(Entry* entry);
    void attach(AcDbObject& object, Entry* entry);
    void giveHandle(Entry* entry, std::string_view owner);
    std::uint64_t syntheticHandle() { return nextSynthetic_++; }
    void synthesizeTables();
    void addSyntheticTable(std::string_view table, const std::vector<std::string>& names);
    void materialize(TableLayout& table);
    // A new record made the way the drawing's version writes them.
    void adaptNewRecord(dxf::Record& record) const;
    void writeHeader(dxf::Document& doc) const;
    const Entry* spaceRecord(bool paper) const;
    BlockLayout* blockOf(const Entry* blockRecord);
    const BlockLayout* blockOf(const Entry* blockRecord) const;
    bool isPaperSpace(const Entry* blockRecord) const;
    bool isModelSpace(const Entry* blockRecord) const;
    void writeEntity(const Entry* entry, std::vector<dxf::Record>& out) const;
    // The list an appended entry went into (see ListSlot); taking one out
    // erases it and drops its handle, putting it back restores both.
    std::vector<Entry*>& listOf(const ListSlot& slot);
    ListSlot slotOfLast(Entry* owner, const std::vector<Entry*>& list) const;
    void takeOut(Entry& entry, const ListSlot& slot);
    void putBack(Entry& entry, const ListSlot& slot);

    AcDbDatabase& database_;
    std::uint64_t serial_;
    StableList<Entry> storage_;
    std::vector<std::pair<std::uint64_t, Entry*>> handles_;  // sorted: new handles are above all others
    std::uint64_t nextHandle_ = 1;
    std::uint64_t loadedSeed_ = 0;  // $HANDSEED as read; written back only when it moved
    // Handles of synthetic records and of the records of a drawing without
    // handles: known inside the host only, far above every handle of a file.
    static constexpr std::uint64_t kSyntheticBase = std::uint64_t{1} << 60;
    std::uint64_t nextSynthetic_ = kSyntheticBase;
    std::vector<std::pair<std::uint64_t, Entry*>> synthetic_;
    std::uint64_t initialNext_ = 1;
    bool writesHandles_ = true;
    bool modern_ = true;  // R13 and later: subclass markers, owners, block records
    std::vector<Entry*> open_;

    dxf::TagList header_;
    std::vector<dxf::Record> classes_;
    std::vector<TableLayout> tables_;
    std::vector<BlockLayout> blocks_;
    std::vector<Entry*> entities_;
    std::vector<Entry*> objects_;
    std::vector<dxf::RawSection> others_;
    std::vector<std::string> order_;
    dxf::FileFormat format_;
    std::shared_ptr<const dxf::Verbatim> verbatim_;
    mutable std::unique_ptr<SpatialIndex> spatialIndex_;
    std::unique_ptr<UndoJournal> journal_;
};

}  // namespace kestrin::db
