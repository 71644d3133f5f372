// The strokes of the host's current drawing, kept up to date for the drawing
// views. It follows the drawing's change signals: an entity added, changed or
// erased is drawn again alone (an attribute or vertex with its INSERT or
// POLYLINE); a change of a table record, a block or the whole drawing draws
// everything again, once, when the scene is next asked for. A drawing is
// drawn again a part at a time (buildSome) for a view that shows it as it
// grows; scene() finishes what is left. Qt-free.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/Signal.h"
#include "render/Scene.h"
#include "render/ViewScene.h"

class AcDbDatabase;
class AcDbObjectId;

namespace kestrin::db {
struct Entry;
}

namespace kestrin::gui {

class DrawingModel {
public:
    // Where the drawing and its fonts come from.
    struct Source {
        std::function<AcDbDatabase*()> database;               // the current drawing; may answer null
        std::function<std::string()> drawingFolder;             // searched first for fonts
        std::function<std::vector<std::string>()> supportFolders;
    };
    // The host's current drawing; fonts looked for where the host looks for
    // files (the drawing's folder, the current folder, the support path).
    DrawingModel();
    explicit DrawingModel(Source source);
    ~DrawingModel();
    DrawingModel(const DrawingModel&) = delete;
    DrawingModel& operator=(const DrawingModel&) = delete;

    // Takes up the current drawing when the host has put another database in
    // its place (a new or opened drawing); views call it before they paint.
    void sync();
    // The scene, brought up to date: all of the drawing.
    const render::ViewScene& scene();
    // The scene as far as it is built; a drawing to draw again is begun.
    const render::ViewScene& partialScene();
    // Builds on for about `budget` (at least one entity); false once the
    // whole drawing is in the scene.
    bool buildSome(std::chrono::steady_clock::duration budget);
    // While a drawing is being drawn again: the share of its entities done.
    std::optional<double> buildProgress() const;
    // Where the views show the drawing: drawn again, the entities that lay
    // there are drawn first.
    void setShown(const render::Box& area) { shown_ = area; }
    // Full rebuilds so far.
    std::size_t rebuilds() const { return rebuilds_; }
    // What the font search had to say (fonts not found or unreadable), UTF-8.
    const std::vector<std::string>& notes() const { return notes_; }

    // The scene changed (or will have, when next asked for): views repaint.
    Signal<> changed;
    // What the change just told touched: the boxes of an entity before and
    // after it was drawn again (empty when it draws nothing). Nothing when
    // all of the drawing may have changed.
    const std::optional<render::Box>& changedArea() const { return changedArea_; }

private:
    void attach(AcDbDatabase* database);
    void invalidate();
    void entityEvent(const AcDbObjectId& id);
    bool topLevel(const db::Entry& entry) const;
    void redraw(const db::Entry& entity);
    void startBuild();
    class StoreRecords;

    Source source_;
    AcDbDatabase* database_ = nullptr;
    std::uint64_t serial_ = 0;  // of the database's store: tells a new database at a reused address
    std::vector<ScopedConnection> connections_;
    std::vector<std::string> notes_;
    std::unique_ptr<render::FontLibrary> fonts_;
    std::unique_ptr<StoreRecords> records_;     // where the scene finds an entity's records again
    std::unique_ptr<render::ViewScene> scene_;  // after the fonts and records it uses
    bool stale_ = true;
    std::optional<std::size_t> building_;  // the next top-level entity of the store to draw
    std::vector<const db::Entry*> first_;  // drawn before the others: those that were shown
    std::size_t firstDone_ = 0;            // of first_
    std::unordered_set<const db::Entry*> drawnFirst_;  // first_, passed by when their turn comes
    std::size_t drawnCount_ = 0;           // top-level entities taken so far (the progress)
    std::optional<render::Box> shown_;
    bool sameDrawing_ = false;  // the scene is of the drawing attached now (a rebuild may use its boxes)
    std::optional<render::Box> changedArea_;
    std::size_t rebuilds_ = 0;
};

}  // namespace kestrin::gui
