// What each DXF version holds, as the format's reference gives it: the
// version that brought a record type or a header variable, and the group
// codes of R12's records.
#pragma once

#include <optional>
#include <string_view>

namespace kestrin::dxf {

// The $ACADVER of the version that brought record type `type` (an entity,
// object or table entry), or nothing for R12's own types and for types the
// format does not name (another program's, kept in every version).
std::optional<std::string_view> typeIntroducedIn(std::string_view type);

// The $ACADVER of the version that brought header variable `name` ("$INSUNITS"),
// or nothing when R12 had it already or it is not one the format names.
std::optional<std::string_view> variableIntroducedIn(std::string_view name);
// True for a variable of R12's header.
bool isR12Variable(std::string_view name);

// The version that brought a group code of an entity's common part (the
// AcDbEntity section): true colour, transparency, materials, ...
std::optional<std::string_view> entityCodeIntroducedIn(int code);

// True when an R12 record of `type` (an entity, table entry or "TABLE" head)
// has group code `code` before its extended data; false for every code of a
// type R12 does not have.
bool isR12Code(std::string_view type, int code);
// True for the entity types R12 has.
bool isR12EntityType(std::string_view type);

}  // namespace kestrin::dxf
