// Selection sets: named lists of entities a module builds to hand to the
// host at once (to drag them). A set's name is not an entity's name; each
// set lives until freed.
#pragma once

#include <cstdint>
#include <vector>

#include "host/api/AdsTypes.h"

// With `sname` null a new set, holding `ename` when it is given; else
// `ename` added to `sname` (once). The set's name goes to `result`.
// RTERROR for a name that is neither a live set nor an entity.
int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result);
int acedSSFree(const ads_name sname);
int acedSSLength(const ads_name sname, Adesk::Int32* length);
// The entity at `index` of the set.
int acedSSName(const ads_name sname, Adesk::Int32 index, ads_name entity);

namespace kestrin::host {
// The handles of the set's entities in their store, in the order added;
// nothing for a name that is not a live set.
std::vector<std::uint64_t> selectionSetHandles(const ads_name sname);
}  // namespace kestrin::host
