#include "host/api/EditorInput.h"

#include <cmath>
#include <limits>
#include <optional>
#include <variant>
#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "host/api/HostState.h"
#include "host/api/InputAnswers.h"
#include "host/api/InputRequest.h"
#include "host/api/PointerQueries.h"
#include "host/api/SelectionSets.h"
#include "host/db/HeaderVariables.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"
#include "host/db/SpatialIndex.h"
#include "host/dxf/Handles.h"
#include "platform/session/Session.h"
#include "host/api/CommandLine.h"

using kestrin::db::Entry;
using kestrin::db::Place;
using kestrin::session::Action;
using kestrin::session::ActionKind;
using kestrin::session::PickTarget;
using kestrin::session::Session;
using kestrin::host::input::ask;
using kestrin::host::input::commonAnswer;
using kestrin::host::input::kAskAgain;
using kestrin::host::input::refuse;

namespace {

std::string number(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", v);
    return buffer;
}

std::string hex(std::uint64_t h) { return kestrin::dxf::formatHandle(h); }

std::string describePick(const PickTarget& pick) {
    switch (pick.by) {
        case PickTarget::By::Handle: {
            std::string text = "pick " + hex(pick.handle);
            if (!pick.containers.empty()) {
                text += " in";
                for (auto c : pick.containers) text.append(" ").append(hex(c));  // not " " + hex(): g++ 12 -Wrestrict
            }
            return text;
        }
        case PickTarget::By::Last: return "pick last";
        case PickTarget::By::At: return "pick at " + number(pick.x) + "," + number(pick.y);
    }
    return "pick";
}

// The first 10/20/30 tags of the record: insertion, base or centre point.
AcGePoint3d anchorOf(const Entry& e) {
    const auto& tags = e.record.tags;
    AcGePoint3d p;
    bool x = false, y = false;
    for (std::size_t i = 0; i < tags.size() && tags[i].code != 1001; ++i) {
        const auto v = kestrin::db::parseReal(tags[i].value);
        if (tags[i].code == 10 && !x) { p.x = v.value_or(0); x = true; }
        else if (tags[i].code == 20 && !y) { p.y = v.value_or(0); y = true; }
        else if (tags[i].code == 30 && x && y) { p.z = v.value_or(0); break; }
    }
    return p;
}

// Only what the current space shows can be picked by position or as the last.
bool inCurrentSpace(const Entry& e, bool tilemode) {
    return (e.store->spaceOf(e) == kestrin::db::Space::Paper) != tilemode;
}

bool isEntity(const Entry& e) { return e.place == Place::Entity || e.place == Place::SubEntity; }

// The pick box: PICKBOX (3 pixels, the host's default) on a nominal view
// 1000 pixels tall showing the height of the active viewport (VPORT *Active,
// group 40); one drawing unit when the drawing has no such viewport.
double pickTolerance(const kestrin::db::DrawingStore& store) {
    constexpr double kPickBoxPixels = 3, kViewPixels = 1000;
    if (const Entry* vport = store.findTableEntry("VPORT", "*Active", false)) {
        const double height = kestrin::db::realTag(vport->record, {"AcDbViewportTableRecord", 0, {}}, 40, 0);
        if (height > 0 && std::isfinite(height)) return kPickBoxPixels * height / kViewPixels;
    }
    return 1.0;
}

// What the current space shows, erased ones and those of erased block
// references left out.
bool shown(const Entry& e, bool tilemode) {
    const Entry* top = e.parent != nullptr ? e.parent : &e;
    return !e.erased && !top->erased && inCurrentSpace(*top, tilemode);
}

// The entity a pick at (x, y) takes: the nearest outline within the
// tolerance; of equals the one drawn last (it lies on top).
Entry* nearestEntity(AcDbDatabase& db, double x, double y, double tolerance) {
    kestrin::db::DrawingStore& store = db.store();
    Entry* nearest = nullptr;
    double best = std::numeric_limits<double>::infinity();
    store.spatialIndex().visitNear(x, y, tolerance, [&](Entry* e) {
        if (!shown(*e, db.tilemode())) return;
        const auto outline = kestrin::db::outlineOf(*e);
        if (!outline) return;
        const double d = kestrin::db::distanceTo(*outline, x, y);
        if (d > tolerance || d > best || (d == best && e->handle < nearest->handle)) return;
        best = d;
        nearest = e;
    });
    return nearest;
}

struct Picked {
    Entry* entity = nullptr;
    std::vector<Entry*> containers;  // innermost first
    AcGePoint3d point;
};

// Resolves a pick; on failure the session is failed and nothing is answered.
std::optional<Picked> resolve(const Action& action) {
    AcDbDatabase* db = kestrin::host::HostState::instance().working;
    if (db == nullptr) {
        Session::instance().reject(action, "there is no drawing to pick in");
        return std::nullopt;
    }
    const kestrin::db::DrawingStore& store = db->store();
    const PickTarget& pick = action.pick;
    Picked picked;
    if (pick.by == PickTarget::By::Last) {
        const auto& all = store.topLevelEntities();
        for (auto it = all.rbegin(); it != all.rend() && picked.entity == nullptr; ++it)
            if (!(*it)->erased && inCurrentSpace(**it, db->tilemode())) picked.entity = *it;
        if (picked.entity == nullptr) {
            Session::instance().reject(action, "the drawing has no entity to pick");
            return std::nullopt;
        }
        picked.point = anchorOf(*picked.entity);
        return picked;
    }
    if (pick.by == PickTarget::By::At) {
        picked.entity = nearestEntity(*db, pick.x, pick.y, pickTolerance(store));
        picked.point = AcGePoint3d(pick.x, pick.y, 0);
        return picked;  // no entity: a miss
    }
    auto entityByHandle = [&](std::uint64_t handle, const char* role) -> Entry* {
        Entry* e = store.byHandle(handle);
        std::string why;
        if (e == nullptr) why = std::string(role) + " " + hex(handle) + " does not exist";
        else if (e->erased) why = std::string(role) + " " + hex(handle) + " is erased";
        else if (!isEntity(*e)) why = std::string(role) + " " + hex(handle) + " is not an entity (" + e->record.type + ")";
        if (!why.empty()) {
            Session::instance().reject(action, "cannot " + describePick(pick) + ": " + why);
            return nullptr;
        }
        return e;
    };
    picked.entity = entityByHandle(pick.handle, "entity");
    if (picked.entity == nullptr) return std::nullopt;
    // Each container is a block reference whose block holds the one before it.
    Entry* inner = picked.entity;
    for (std::uint64_t handle : pick.containers) {
        Entry* container = entityByHandle(handle, "block reference");
        if (container == nullptr) return std::nullopt;
        if (container->record.type != "INSERT") {
            Session::instance().reject(action, "cannot " + describePick(pick) + ": " + hex(handle) +
                                                   " is a " + container->record.type + ", not a block reference");
            return std::nullopt;
        }
        const auto blockName = kestrin::db::tagValue(container->record, {"AcDbBlockReference", 0, {}}, 2);
        const Entry* block = store.findTableEntry("BLOCK_RECORD", blockName.value_or(""), false);
        if (block == nullptr || store.ownerOf(*inner) != block) {
            Session::instance().reject(action, "cannot " + describePick(pick) + ": " + hex(inner->handle) +
                                                   " is not in the block that " + hex(handle) + " inserts");
            return std::nullopt;
        }
        picked.containers.push_back(container);
        inner = container;
    }
    // Something inside a block definition is reached only through a reference.
    if (picked.containers.empty() && store.spaceOf(*picked.entity) == kestrin::db::Space::Block) {
        const Entry* ownerEntry = store.ownerOf(*picked.entity);
        const auto name = ownerEntry != nullptr ? kestrin::db::DrawingStore::recordName(*ownerEntry) : std::string_view();
        Session::instance().reject(action, "cannot " + describePick(pick) + ": " + hex(pick.handle) +
                                               " lies in the block definition \"" + kestrin::cp1251ToUtf8(name) +
                                               "\"; name the block references it is picked through");
        return std::nullopt;
    }
    picked.point = anchorOf(*picked.entity);
    return picked;
}

void setName(ads_name name, const Entry* e) {
    name[0] = static_cast<long>(e->handle);
    name[1] = static_cast<long>(e->store->serial());
}

void setPoint(ads_point out, const AcGePoint3d& p) {
    if (out == nullptr) return;
    out[X] = p.x;
    out[Y] = p.y;
    out[Z] = p.z;
}

// The shared part of both entity requests: the picked entity, or an answer.
std::variant<Picked, int> askForEntityOnce(const char* prompt) {
    const auto action = ask(prompt);
    if (!action) return RTCAN;
    if (auto answer = commonAnswer(*action, "an entity")) return *answer;
    if (action->kind == ActionKind::Point)
        return refuse(*action, "an entity is asked for here, not a point (use \"pick\")");
    if (action->kind == ActionKind::Miss) {
        kestrin::host::echoInput("miss");
        return RTERROR;
    }
    auto picked = resolve(*action);
    if (!picked) return Session::instance().failed() ? RTCAN : kAskAgain;
    kestrin::host::echoInput(describePick(action->pick));
    if (picked->entity == nullptr) {  // nothing inside the pick box
        kestrin::host::print("\nNothing found at " + number(action->pick.x) + "," + number(action->pick.y) + ".");
        return RTERROR;
    }
    return *picked;
}

std::variant<Picked, int> askForEntity(const char* prompt) {
    for (;;) {
        auto answer = askForEntityOnce(prompt);
        if (const int* status = std::get_if<int>(&answer); status && *status == kAskAgain) continue;
        return answer;
    }
}

int getPointOnce(const char* prompt, ads_point result) {
    const auto action = ask(prompt);
    if (!action) return RTCAN;
    if (auto answer = commonAnswer(*action, "a point")) return *answer;
    if (action->kind != ActionKind::Point)
        return refuse(*action, "a point is asked for here, not an entity (use \"point X,Y\")");
    kestrin::host::echoInput(number(action->x) + "," + number(action->y) +
                             (action->z != 0 ? std::string(",").append(number(action->z)) : ""));  // g++ 12 -Wrestrict
    setPoint(result, AcGePoint3d(action->x, action->y, action->z));
    return RTNORM;
}

// Asks until a point, Enter or a cancel answers.
int getPoint(const char* prompt, ads_point result) {
    for (;;) {
        const int status = getPointOnce(prompt, result);
        if (status != kAskAgain) return status;
    }
}

}  // namespace

int acedGetPoint(const ads_point base, const char* prompt, ads_point result) {
    std::optional<std::array<double, 3>> from;
    if (base != nullptr) from = std::array<double, 3>{base[X], base[Y], base[Z]};
    const kestrin::host::RequestScope asking(kestrin::host::InputRequest::Point, from);
    return getPoint(prompt, result);
}

int acedDragGen(const ads_name ss, const char* prompt, int, int (*transform)(ads_point pt, ads_matrix mt),
                ads_point result) {
    Adesk::Int32 length = 0;
    if (transform == nullptr || acedSSLength(ss, &length) != RTNORM) return RTERROR;
    kestrin::host::DragRequest drag;
    drag.handles = kestrin::host::selectionSetHandles(ss);
    drag.transformAt = [transform](double x, double y) -> std::optional<std::array<double, 6>> {
        ads_point at = {x, y, 0};
        ads_matrix m = {};
        if (transform(at, m) != RTNORM) return std::nullopt;
        return std::array<double, 6>{m[0][0], m[0][1], m[0][3], m[1][0], m[1][1], m[1][3]};
    };
    const kestrin::host::RequestScope asking(kestrin::host::InputRequest::Point, std::nullopt, &drag);
    return getPoint(prompt, result);
}

int acedEntSel(const char* prompt, ads_name entity, ads_point pickPoint) {
    const kestrin::host::RequestScope asking(kestrin::host::InputRequest::Entity);
    auto answer = askForEntity(prompt);
    if (const int* status = std::get_if<int>(&answer)) return *status;
    const Picked& picked = std::get<Picked>(answer);
    const Entry* chosen = picked.containers.empty() ? picked.entity : picked.containers.back();
    // An attribute: its block reference, the INSERT it follows (its group 330
    // may name the block record instead).
    if (chosen->place == Place::SubEntity && chosen->parent != nullptr) chosen = chosen->parent;
    setName(entity, chosen);
    setPoint(pickPoint, picked.point);
    return RTNORM;
}

int acedNEntSelP(const char* prompt, ads_name entity, ads_point pickPoint, int, ads_matrix transform,
                 resbuf** containers) {
    if (containers != nullptr) *containers = nullptr;
    const kestrin::host::RequestScope asking(kestrin::host::InputRequest::NestedEntity);
    auto answer = askForEntity(prompt);
    if (const int* status = std::get_if<int>(&answer)) return *status;
    const Picked& picked = std::get<Picked>(answer);
    setName(entity, picked.entity);
    setPoint(pickPoint, picked.point);
    if (transform != nullptr)
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) transform[r][c] = r == c ? 1.0 : 0.0;
    if (containers != nullptr) {
        resbuf** tail = containers;
        for (const Entry* c : picked.containers) {
            resbuf* rb = acutNewRb(RTENAME);
            setName(rb->resval.rlname, c);
            *tail = rb;
            tail = &rb->rbnext;
        }
    }
    return RTNORM;
}

namespace kestrin::host {

std::optional<EntityUnderCursor> entityUnderCursor(double x, double y) {
    AcDbDatabase* db = HostState::instance().working;
    if (db == nullptr) return std::nullopt;
    Entry* e = nearestEntity(*db, x, y, pickTolerance(db->store()));
    if (e == nullptr) return std::nullopt;
    auto outline = db::outlineOf(*e);
    if (!outline) return std::nullopt;
    return EntityUnderCursor{e->handle, std::move(*outline)};
}

int objectSnapModes() {
    AcDbDatabase* db = HostState::instance().working;
    if (db == nullptr) return 0;
    const auto value = db::readVariable(db->store().header(), "OSMODE");
    return value ? static_cast<int>(value->integer) : 0;
}

std::optional<db::SnapPoint> objectSnapAt(double x, double y, double aperture, int modes) {
    AcDbDatabase* db = HostState::instance().working;
    if (db == nullptr) return std::nullopt;
    db::SnapQuery query;
    query.x = x;
    query.y = y;
    query.aperture = aperture;
    query.modes = modes;
    if (const auto base = requestBasePoint()) query.base = std::pair((*base)[0], (*base)[1]);
    const bool tilemode = db->tilemode();
    return db::findSnap(db->store().spatialIndex(), query,
                        [tilemode](const Entry& e) { return shown(e, tilemode); });
}

}  // namespace kestrin::host
