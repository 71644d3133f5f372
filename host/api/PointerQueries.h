// What lies under the desktop window's cursor, for the feedback it shows
// while the host asks: the entity a click would pick (highlighted), and the
// object snap a click would take (marked), as the host's own picking and the
// drawing's OSMODE decide. A typed point or a script's point is never snapped.
#pragma once

#include <cstdint>
#include <optional>

#include "host/db/ObjectSnap.h"
#include "host/db/SpatialIndex.h"

namespace kestrin::host {

struct EntityUnderCursor {
    std::uint64_t handle = 0;
    db::Outline outline;
};

// The entity a pick at (x, y) takes (within the host's pick box).
std::optional<EntityUnderCursor> entityUnderCursor(double x, double y);

// The drawing's OSMODE (0 without a drawing).
int objectSnapModes();

// The snap for a click at (x, y) within `aperture` drawing units, with the
// modes given (OSMODE, or what the person toggled), perpendicular from the
// current point request's base point.
std::optional<db::SnapPoint> objectSnapAt(double x, double y, double aperture, int modes);

}  // namespace kestrin::host
