// What the host is asking the person for right now: nothing (the command line
// or a dialog), a point, an entity, an entity nested in block references, or a
// word typed at the command line (a number, an option).
// The desktop window reads it to know whether a click is a point or a pick.
#pragma once

namespace kestrin::host {

enum class InputRequest { None, Point, Entity, NestedEntity, Word };

InputRequest currentRequest();

// Sets the current request for its life; the one before comes back after.
class RequestScope {
public:
    explicit RequestScope(InputRequest request);
    ~RequestScope();
    RequestScope(const RequestScope&) = delete;
    RequestScope& operator=(const RequestScope&) = delete;

private:
    InputRequest before_;
};

}  // namespace kestrin::host
