// Registers a loaded module's resource table with the dialog framework, so
// its dialogs, menus, strings and images are found along the resource chain.
#pragma once

#include "host/loader/ModuleLoader.h"

namespace kestrin::host {

// A module without the resource export has no resources: that is not an
// error. A table the framework refuses makes the load fail with its reason.
ModuleLoader::ResourceHooks frameworkResourceHooks();

}  // namespace kestrin::host
