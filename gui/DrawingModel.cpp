#include "gui/DrawingModel.h"

#include <algorithm>
#include <deque>

#include "host/api/HostRuntime.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"
#include "platform/fs/Path.h"

namespace kestrin::gui {

namespace {

DrawingModel::Source hostSource() {
    DrawingModel::Source s;
    s.database = [] { return host::HostRuntime::instance().database(); };
    s.drawingFolder = [] {
        const std::string& path = host::HostRuntime::instance().drawingPath();
        return path.empty() ? std::string() : fs::parentPath(path);
    };
    s.supportFolders = [] { return host::HostRuntime::instance().supportPath(); };
    return s;
}

// An entity with its followers that are not erased, as the scene draws it.
void recordsOf(const db::Entry& entity, std::vector<dxf::Record>& out) {
    out.clear();
    out.push_back(entity.record);
    if (entity.children)
        for (const db::Entry* child : *entity.children)
            if (!child->erased) out.push_back(child->record);
}

}  // namespace

// The scene's entities are drawn again from the store itself.
class DrawingModel::StoreRecords : public render::RecordSource {
public:
    explicit StoreRecords(const db::DrawingStore& store) : store_(store) {}
    bool recordsOf(std::uint64_t handle, std::vector<dxf::Record>& out) const override {
        const db::Entry* e = store_.byHandle(handle);
        if (e == nullptr || e->erased) return false;
        gui::recordsOf(*e, out);
        return true;
    }

private:
    const db::DrawingStore& store_;
};

DrawingModel::DrawingModel() : DrawingModel(hostSource()) {}

DrawingModel::DrawingModel(Source source) : source_(std::move(source)) {
    attach(source_.database ? source_.database() : nullptr);
}

DrawingModel::~DrawingModel() = default;

void DrawingModel::sync() {
    AcDbDatabase* now = source_.database ? source_.database() : nullptr;
    const std::uint64_t serial = now ? now->store().serial() : 0;
    if (now != database_ || serial != serial_) attach(now);
}

void DrawingModel::attach(AcDbDatabase* database) {
    connections_.clear();  // harmless when the old database is gone: the connections only hold weak references
    database_ = database;
    serial_ = database ? database->store().serial() : 0;
    if (database) {
        db::DatabaseEvents& events = database->events();
        auto onEntity = [this](AcDbObjectId id) { entityEvent(id); };
        connections_.push_back(events.added.connectScoped(onEntity));
        connections_.push_back(events.changed.connectScoped(onEntity));
        connections_.push_back(events.erased.connectScoped(onEntity));
        connections_.push_back(events.replaced.connectScoped([this] {
            sameDrawing_ = false;
            invalidate();
        }));
    }
    sameDrawing_ = false;
    invalidate();
}

void DrawingModel::invalidate() {
    changedArea_.reset();
    stale_ = true;
    changed.emit();
}

const render::ViewScene& DrawingModel::scene() {
    partialScene();
    while (buildSome(std::chrono::hours(1))) {
    }
    return *scene_;
}

const render::ViewScene& DrawingModel::partialScene() {
    sync();
    if (stale_) startBuild();
    return *scene_;
}

// The drawing's definitions (with the space block's own entities) first;
// then buildSome takes each top-level entity straight from the store, so the
// drawing is never copied whole beside the scene.
void DrawingModel::startBuild() {
    // What the view showed of the scene before, when it is of this drawing,
    // is drawn first (unless that is most of a big drawing).
    constexpr std::size_t kMostFirst = 1 << 16;
    first_.clear();
    drawnFirst_.clear();
    firstDone_ = drawnCount_ = 0;
    if (scene_ && sameDrawing_ && shown_ && database_ != nullptr) {
        const std::vector<std::uint64_t> shown = scene_->handlesMeeting(*shown_, kMostFirst + 1);
        if (shown.size() <= kMostFirst && shown.size() < scene_->size())
            for (const std::uint64_t h : shown)
                if (const db::Entry* e = database_->store().byHandle(h); e != nullptr && drawnFirst_.insert(e).second)
                    first_.push_back(e);
    }
    sameDrawing_ = true;
    stale_ = false;
    ++rebuilds_;
    notes_.clear();
    scene_.reset();
    fonts_ = std::make_unique<render::FontLibrary>(
        source_.drawingFolder ? source_.drawingFolder() : std::string(),
        source_.supportFolders ? source_.supportFolders() : std::vector<std::string>(),
        [this](const std::string& note) { notes_.push_back(note); });
    records_ = database_ ? std::make_unique<StoreRecords>(database_->store()) : nullptr;
    scene_ = std::make_unique<render::ViewScene>(*fonts_, render::Space::Model, records_.get());
    if (database_ == nullptr) {
        scene_->build(dxf::Document{});
        building_.reset();
        return;
    }
    const db::DrawingStore& store = database_->store();
    scene_->build(store.saveDefinitions());
    scene_->reserve(store.topLevelEntities().size());
    building_ = 0;
}

bool DrawingModel::buildSome(std::chrono::steady_clock::duration budget) {
    partialScene();
    if (!building_) return false;
    const std::vector<db::Entry*>& entities = database_->store().topLevelEntities();
    const auto until = std::chrono::steady_clock::now() + budget;
    std::size_t& next = *building_;
    // A share at a time, drawn on every core: first what was shown, then
    // the rest in the drawing's order.
    constexpr std::size_t kShare = 2048;
    std::vector<render::ViewScene::Replacement> share;
    // An entity of one record is drawn from the store itself; one with
    // followers from a copy of its records with the erased ones left out.
    std::deque<std::vector<dxf::Record>> copies;
    auto left = [&] { return firstDone_ < first_.size() || next < entities.size(); };
    for (bool once = true; left() && (once || std::chrono::steady_clock::now() < until); once = false) {
        share.clear();
        copies.clear();
        while (share.size() < kShare && left()) {
            const db::Entry* e = nullptr;
            if (firstDone_ < first_.size()) {
                e = first_[firstDone_++];
            } else {
                e = entities[next++];
                if (drawnFirst_.contains(e)) continue;
            }
            ++drawnCount_;
            if (e->erased) continue;
            if (e->children && !e->children->empty()) {
                recordsOf(*e, copies.emplace_back());
                share.push_back({e->handle, copies.back()});
            } else {
                share.push_back({e->handle, {&e->record, 1}});
            }
        }
        scene_->replaceAll(share);
    }
    changedArea_.reset();  // what was added lies anywhere
    if (left()) return true;
    building_.reset();
    first_.clear();
    drawnFirst_.clear();
    return false;
}

std::optional<double> DrawingModel::buildProgress() const {
    if (!building_ || database_ == nullptr) return std::nullopt;
    const std::size_t total = database_->store().topLevelEntities().size();
    return total == 0 ? 1.0 : std::min(1.0, static_cast<double>(drawnCount_) / static_cast<double>(total));
}

// Whether an entity lies in model or paper space rather than in a block's definition.
bool DrawingModel::topLevel(const db::Entry& entry) const {
    const db::Space space = database_->store().spaceOf(entry);
    return space == db::Space::Model || space == db::Space::Paper;
}

void DrawingModel::entityEvent(const AcDbObjectId& id) {
    const db::Entry* e = id.entry();
    if (e == nullptr || database_ == nullptr || e->store != &database_->store()) return;
    switch (e->place) {
        case db::Place::Object:
            return;  // dictionaries and the like draw nothing
        case db::Place::TableHead:
        case db::Place::TableEntry:
        case db::Place::BlockBegin:
        case db::Place::BlockEnd:
            invalidate();  // layers, styles and blocks shape many entities
            return;
        case db::Place::SubEntity:
            e = e->parent;
            break;
        case db::Place::Entity:
            break;
    }
    if (e == nullptr || !topLevel(*e)) {
        invalidate();  // an entity of a block's definition: every INSERT of it may show it
        return;
    }
    if (stale_ || building_) {
        if (!stale_) redraw(*e);  // one not reached yet is drawn again when it is
        changedArea_.reset();
    } else {
        render::Box area = scene_->boxOf(e->handle);
        redraw(*e);
        area.add(scene_->boxOf(e->handle));
        changedArea_ = area;
    }
    changed.emit();
}

void DrawingModel::redraw(const db::Entry& entity) {
    if (entity.erased) {
        scene_->remove(entity.handle);
        return;
    }
    std::vector<dxf::Record> records;
    recordsOf(entity, records);
    scene_->replace(entity.handle, records);
}

}  // namespace kestrin::gui
