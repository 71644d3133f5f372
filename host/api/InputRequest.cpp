#include "host/api/InputRequest.h"

namespace kestrin::host {

namespace {
InputRequest current = InputRequest::None;
}  // namespace

InputRequest currentRequest() { return current; }

RequestScope::RequestScope(InputRequest request) : before_(current) { current = request; }

RequestScope::~RequestScope() { current = before_; }

}  // namespace kestrin::host
