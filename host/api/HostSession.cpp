#include "host/api/HostSession.h"

#include "host/api/HostState.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"
#include "host/dxf/Handles.h"
#include "platform/session/Session.h"

namespace kestrin::host {

std::size_t openObjectCount() {
    const AcDbDatabase* db = HostState::instance().working;
    return db != nullptr ? db->openObjectCount() : 0;
}

std::string describeOpenObjects() {
    const AcDbDatabase* db = HostState::instance().working;
    if (db == nullptr) return {};
    std::string text;
    for (const db::Entry* e : db->store().openEntries()) {
        if (!text.empty()) text += ", ";
        text += dxf::formatHandle(e->handle) + " " + e->object->isA()->name() +
                (e->object->isWriteEnabled() ? " (write)" : " (read)");
    }
    return text;
}

void attachToSession() {
    static bool attached = false;
    if (attached) return;
    attached = true;
    session::Session::instance().addIdleCheck([] {
        if (openObjectCount() == 0) return;
        session::Session::instance().fail("host", "drawing objects left open: " + describeOpenObjects());
    });
}

}  // namespace kestrin::host
