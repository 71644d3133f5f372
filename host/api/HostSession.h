// The host's part in the session: before each user action it checks that no
// drawing object was left open, and fails the session naming each one.
#pragma once

#include <cstddef>
#include <string>

namespace kestrin::host {

// Registers the check with the session; calling it again does nothing.
void attachToSession();
// Objects of the working drawing open at this moment.
std::size_t openObjectCount();
// "<handle> <class> (read|write)" of each open object, comma-separated
// (empty when none).
std::string describeOpenObjects();

}  // namespace kestrin::host
