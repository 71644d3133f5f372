// Between R12 (and older) and the versions from R13 on, whose records carry
// subclass markers, owners and handles, and whose drawings have classes,
// objects and block records.
#pragma once

#include "host/dxf/DxfDocument.h"
#include "host/dxf/VersionChange.h"

namespace kestrin::dxf {

// A modern document to R12's records: what R12 lacks goes and is counted in
// `change` (entity types, objects, layouts beyond the first paper space,
// header variables); LWPOLYLINE becomes POLYLINE with VERTEX and SEQEND.
// The version itself is set by the caller.
void convertToR12(Document& doc, VersionChange& change);

// An R12 document to the records of R13 and later, within the new-drawing
// template's classes, objects and layouts: every record gets a handle (the
// drawing's own are kept), an owner and its subclass markers. Paper-space
// viewports of R12, kept in extended data, are dropped and counted.
void convertFromR12(Document& doc, VersionChange& change);

}  // namespace kestrin::dxf
