// What the host is asking the person for right now: nothing (the command line
// or a dialog), a point, an entity, an entity nested in block references, or a
// word typed at the command line (a number, an option).
// The desktop window reads it to know whether a click is a point or a pick.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kestrin::host {

enum class InputRequest { None, Point, Entity, NestedEntity, Word };

InputRequest currentRequest();
// The base point of the current point request (a rubber band starts there,
// perpendicular snaps are taken from it); nothing without one.
std::optional<std::array<double, 3>> requestBasePoint();

// Entities that follow the cursor while a point is asked for: the module's
// transform of them for a cursor at (x, y), as a 2D affine map {a, b, c, d,
// e, f} (x' = a x + b y + c, y' = d x + e y + f); nothing where the module
// shows them nowhere.
struct DragRequest {
    std::vector<std::uint64_t> handles;
    std::function<std::optional<std::array<double, 6>>(double x, double y)> transformAt;
};
// The current point request's dragged entities; null when it drags none.
const DragRequest* requestDrag();

// Sets the current request (and its base point) for its life; the one
// before comes back after.
class RequestScope {
public:
    explicit RequestScope(InputRequest request, std::optional<std::array<double, 3>> base = std::nullopt,
                          const DragRequest* drag = nullptr);
    ~RequestScope();
    RequestScope(const RequestScope&) = delete;
    RequestScope& operator=(const RequestScope&) = delete;

private:
    InputRequest before_;
    std::optional<std::array<double, 3>> baseBefore_;
    const DragRequest* dragBefore_;
};

}  // namespace kestrin::host
