#include "host/api/HostState.h"

#include "host/db/AcDbDatabase.h"

namespace kestrin::host {

HostState& HostState::instance() {
    static HostState state;
    return state;
}

const DisplayCounters& displayCounters() { return HostState::instance().display; }

}  // namespace kestrin::host
