// What the host is asking the person for right now: nothing (the command line
// or a dialog), a point, an entity, an entity nested in block references, or a
// word typed at the command line (a number, an option).
// The desktop window reads it to know whether a click is a point or a pick.
#pragma once

#include <array>
#include <optional>

namespace kestrin::host {

enum class InputRequest { None, Point, Entity, NestedEntity, Word };

InputRequest currentRequest();
// The base point of the current point request (a rubber band starts there,
// perpendicular snaps are taken from it); nothing without one.
std::optional<std::array<double, 3>> requestBasePoint();

// Sets the current request (and its base point) for its life; the one
// before comes back after.
class RequestScope {
public:
    explicit RequestScope(InputRequest request, std::optional<std::array<double, 3>> base = std::nullopt);
    ~RequestScope();
    RequestScope(const RequestScope&) = delete;
    RequestScope& operator=(const RequestScope&) = delete;

private:
    InputRequest before_;
    std::optional<std::array<double, 3>> baseBefore_;
};

}  // namespace kestrin::host
