// Edits of a document that changing its version needs.
#pragma once

#include <functional>
#include <string_view>

#include "host/dxf/DxfDocument.h"
#include "host/dxf/VersionChange.h"

namespace kestrin::dxf {

// Removes the header variables `drop` picks by name, each counted.
void dropVariables(Document& doc, const std::function<bool(std::string_view)>& drop, VersionChange& change);
// Sets a header variable (added when missing; $ACADVER leads the header).
void setVariable(Document& doc, std::string_view name, int code, std::string_view value);

}  // namespace kestrin::dxf
