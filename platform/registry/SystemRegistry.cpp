#include "platform/registry/Registry.h"

namespace kestrin::registry {

// Linux: the registry is a REGEDIT4 file, used when a program names one.
bool systemHasRegistry() { return false; }

}  // namespace kestrin::registry
