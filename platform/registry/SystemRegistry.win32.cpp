#include "platform/registry/Registry.h"

namespace kestrin::registry {

// Windows: the registry calls go to the system's registry.
bool systemHasRegistry() { return true; }

}  // namespace kestrin::registry
