#include "host/api/InputRequest.h"

namespace kestrin::host {

namespace {
InputRequest current = InputRequest::None;
std::optional<std::array<double, 3>> currentBase;
const DragRequest* currentDrag = nullptr;
}  // namespace

InputRequest currentRequest() { return current; }

std::optional<std::array<double, 3>> requestBasePoint() { return currentBase; }

const DragRequest* requestDrag() { return currentDrag; }

RequestScope::RequestScope(InputRequest request, std::optional<std::array<double, 3>> base, const DragRequest* drag)
    : before_(current), baseBefore_(currentBase), dragBefore_(currentDrag) {
    current = request;
    currentBase = base;
    currentDrag = drag;
}

RequestScope::~RequestScope() {
    current = before_;
    currentBase = baseBefore_;
    currentDrag = dragBefore_;
}

}  // namespace kestrin::host
