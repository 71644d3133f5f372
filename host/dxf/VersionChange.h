// A drawing written in another version than it was read in. Going down drops
// what the older version cannot hold (entity and object types it does not
// have, header variables and group codes it does not know) and says what was
// dropped; R12 and older also lose the classes, objects, block records,
// owners and subclass markers they never had, and their polylines become
// POLYLINE and VERTEX records. Going up from R12 gives the drawing what later
// versions need of it (handles, owners, markers, block records, layouts).
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "host/dxf/DxfDocument.h"
#include "host/dxf/Versions.h"

namespace kestrin::dxf {

struct VersionChange {
    // What was dropped, by kind: an entity type ("MTEXT"), "objects",
    // "header variables", "group codes", "layouts", "section NAME".
    std::map<std::string, std::size_t> dropped;
    void drop(const std::string& kind, std::size_t n = 1) {
        if (n > 0) dropped[kind] += n;
    }
    // "MTEXT: 2, header variables: 1" (UTF-8); empty when nothing was dropped.
    std::string summary() const;
};

// Turns `doc` into a document of `target` in place; throws DxfError when the
// document's own version is not one the host knows.
VersionChange changeVersion(Document& doc, const DxfVersion& target);

}  // namespace kestrin::dxf
