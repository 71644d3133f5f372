// acedFindFile: a file by name in the drawing's folder, the current folder,
// then each folder of the support path, in that order. Names are matched
// without regard to letter case, as on the host's own platform; '\' counts
// as a folder separator. A name with a folder part is looked up as given.
#pragma once

#include <cstddef>

#include "host/api/AdsTypes.h"

// `result` receives the full path (CP1251) and needs 260 bytes; RTERROR when
// the file is not found or its path does not fit.
int acedFindFile(const char* name, char* result);

namespace kestrin::host {
int findFile(const char* name, char* result, std::size_t size);
}
