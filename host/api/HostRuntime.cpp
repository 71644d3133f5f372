#include "host/api/HostRuntime.h"

#include <exception>

#include "host/api/AcEdCommandStack.h"
#include "host/api/AutoSave.h"
#include "host/api/AcEdUIContext.h"
#include "host/api/AcRxDynamicLinker.h"
#include "host/api/CommandLine.h"
#include "host/api/HostSession.h"
#include "host/api/HostCommands.h"
#include "host/api/HostSettings.h"
#include "host/api/HostState.h"
#include "host/api/UndoCommands.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/RecordTags.h"
#include "host/db/DrawingStore.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/VersionChange.h"
#include "host/dxf/Template.h"

namespace kestrin::host {
namespace {

void install(std::unique_ptr<AcDbDatabase> database, const std::string& path) {
    applyUndoLimit(*database);
    HostState& state = HostState::instance();
    state.database = std::move(database);
    state.working = state.database.get();
    state.drawingPath = path;
}

// The command name as typed: without a leading '_' (global name) or '.'.
std::string bareName(const std::string& typed, bool& global) {
    std::string name = typed;
    global = false;
    while (!name.empty() && (name.front() == '_' || name.front() == '.')) {
        if (name.front() == '_') global = true;
        name.erase(0, 1);
    }
    return name;
}

AcEdCommand* lookup(const std::string& typed) {
    bool global = false;
    const std::string name = bareName(typed, global);
    if (name.empty()) return nullptr;
    if (global) return commandStack().lookupGlobalCmd(name.c_str());
    if (AcEdCommand* local = commandStack().lookupLocalCmd(name.c_str())) return local;
    return commandStack().lookupGlobalCmd(name.c_str());
}


}  // namespace

HostRuntime& HostRuntime::instance() {
    static HostRuntime* const runtime = [] {
        auto* r = new HostRuntime;  // lives as long as the process: modules call in until they are unloaded
        hostSettingChanged().connect([](const std::string& name) {
            AcDbDatabase* db = HostState::instance().working;
            if (name == "UNDOLIMIT" && db != nullptr) applyUndoLimit(*db);
        });
        r->newDrawing();
        return r;
    }();
    return *runtime;
}

void HostRuntime::newDrawing() {
    auto database = std::make_unique<AcDbDatabase>();
    database->fromDocument(dxf::newDrawingTemplate());
    install(std::move(database), "");
}

bool HostRuntime::openDrawing(const std::string& path, std::string& error) {
    if (openObjectCount() > 0) {
        error = "cannot open " + path + ": objects of the current drawing are open";
        return false;
    }
    try {
        auto database = std::make_unique<AcDbDatabase>();
        database->fromDocument(dxf::readDxfFile(path));
        install(std::move(database), path);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        if (error.find(path) == std::string::npos) error = path + ": " + error;
        return false;
    }
}

bool HostRuntime::recoverDrawing(const std::string& recovery, const std::string& drawing, std::string& error) {
    if (!openDrawing(recovery, error)) return false;
    HostState::instance().drawingPath = drawing;
    return true;
}

bool HostRuntime::saveDrawing(const std::string& path, std::string& error, const std::string& version,
                              std::string* dropped) {
    HostState& state = HostState::instance();
    if (state.working == nullptr) {
        error = "cannot save " + path + ": there is no drawing";
        return false;
    }
    std::optional<dxf::DxfVersion> target;
    if (!version.empty()) {
        target = dxf::versionByName(version);
        if (!target) {
            error = "cannot save " + path + ": '" + version + "' is not a DXF version the host writes, expected one of " +
                    dxf::describeVersions();
            return false;
        }
    }
    try {
        dxf::Document doc = state.working->toDocument();
        if (target) {
            const dxf::VersionChange change = dxf::changeVersion(doc, *target);
            if (dropped != nullptr) *dropped = change.summary();
        }
        dxf::saveDxfFile(doc, path);
        AutoSave::instance().drawingSaved();
        state.drawingPath = path;
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        if (error.find(path) == std::string::npos) error = path + ": " + error;
        return false;
    }
}

const std::string& HostRuntime::drawingPath() const { return HostState::instance().drawingPath; }

std::string HostRuntime::drawingVersion() const {
    const AcDbDatabase* db = HostState::instance().working;
    const auto version = db != nullptr ? dxf::versionByAcadver(db->store().format().version) : std::nullopt;
    return std::string(version ? version->release : dxf::r2000().release);
}

AcDbDatabase* HostRuntime::database() const { return HostState::instance().working; }

bool HostRuntime::runCommand(const std::string& name) {
    bool global = false;
    const std::string bare = bareName(name, global);
    if (AcEdCommand* command = lookup(name)) {
        // A module's command is one step of the undo journal; what changed
        // before it is another.
        endUndoStep(kBetweenCommands);
        command->functionAddr()();
        endUndoStep(db::upperName(bare));
        return true;
    }
    if (runHostCommand(bare)) return true;
    printUnknownCommand(bare);
    return false;
}

bool HostRuntime::hasCommand(const std::string& name) const {
    bool global = false;
    return lookup(name) != nullptr || isHostCommand(bareName(name, global));
}

std::optional<std::string> HostRuntime::takeSentInput() {
    auto& queue = HostState::instance().sentInput;
    if (queue.empty()) return std::nullopt;
    HostState::Sent sent = std::move(queue.front());
    queue.pop_front();
    if (sent.echo) echoInput(sent.text);
    return sent.text;
}

std::vector<HostRuntime::ContextMenu> HostRuntime::defaultContextMenus() const {
    std::vector<ContextMenu> menus;
    for (const auto& m : registeredContextMenus()) menus.push_back({m.context, m.appId, m.name});
    return menus;
}

void HostRuntime::addSupportPath(const std::string& dir) { HostState::instance().supportPath.push_back(dir); }
std::vector<std::string> HostRuntime::supportPath() const { return HostState::instance().supportPath; }
void HostRuntime::clearSupportPath() { HostState::instance().supportPath.clear(); }

void HostRuntime::reset() {
    HostState& state = HostState::instance();
    state.sentInput.clear();
    state.display = DisplayCounters{};
    commandStack().removeAll();
    clearContextMenus();
    acrxDynamicLinker()->forgetAll();
    newDrawing();
}

}  // namespace kestrin::host
