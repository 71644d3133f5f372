#include "host/api/InputRequest.h"

namespace kestrin::host {

namespace {
InputRequest current = InputRequest::None;
std::optional<std::array<double, 3>> currentBase;
}  // namespace

InputRequest currentRequest() { return current; }

std::optional<std::array<double, 3>> requestBasePoint() { return currentBase; }

RequestScope::RequestScope(InputRequest request, std::optional<std::array<double, 3>> base)
    : before_(current), baseBefore_(currentBase) {
    current = request;
    currentBase = base;
}

RequestScope::~RequestScope() {
    current = before_;
    currentBase = baseBefore_;
}

}  // namespace kestrin::host
