#include "gui/DrawingModel.h"

#include <algorithm>

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

}  // namespace

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
        connections_.push_back(events.replaced.connectScoped([this] { invalidate(); }));
    }
    invalidate();
}

void DrawingModel::invalidate() {
    changedArea_.reset();
    stale_ = true;
    changed.emit();
}

const render::ViewScene& DrawingModel::scene() {
    sync();
    if (stale_) rebuild();
    return *scene_;
}

void DrawingModel::rebuild() {
    stale_ = false;
    ++rebuilds_;
    notes_.clear();
    scene_.reset();
    fonts_ = std::make_unique<render::FontLibrary>(
        source_.drawingFolder ? source_.drawingFolder() : std::string(),
        source_.supportFolders ? source_.supportFolders() : std::vector<std::string>(),
        [this](const std::string& note) { notes_.push_back(note); });
    scene_ = std::make_unique<render::ViewScene>(*fonts_);
    if (database_ == nullptr) {
        scene_->build(dxf::Document{});
        return;
    }
    // The drawing's definitions (with the space block's own entities), then
    // each top-level entity straight from the store: the drawing is never
    // copied whole beside the scene.
    const db::DrawingStore& store = database_->store();
    scene_->build(store.saveDefinitions());
    scene_->reserve(store.topLevelEntities().size());
    for (const db::Entry* e : store.topLevelEntities())
        if (!e->erased) redraw(*e);
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
    if (stale_) {
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
    std::vector<dxf::Record> records{entity.record};
    if (entity.children)
        for (const db::Entry* child : *entity.children)
            if (!child->erased) records.push_back(child->record);
    scene_->replace(entity.handle, records);
}

}  // namespace kestrin::gui
