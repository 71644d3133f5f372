// Handles of a drawing: hex numbers in group codes 5 and 105 (the DIMSTYLE
// table uses 105), and $HANDSEED, the header variable above every handle in
// use, from which new objects take theirs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/dxf/DxfDocument.h"

namespace kestrin::dxf {

std::optional<std::uint64_t> parseHandle(std::string_view hex);
std::string formatHandle(std::uint64_t handle);  // upper-case hex, no leading zeros

// Index of the value tag of header variable `name` ("$HANDSEED"), or npos.
std::size_t headerValueIndex(const TagList& header, std::string_view name);

// The largest handle (group 5 or 105) of any record outside the header; 0 when none.
std::uint64_t maxHandle(const Document& doc);

// $HANDSEED, or 0 when the header lacks it or it is not a handle.
std::uint64_t handleSeed(const Document& doc);
// Sets $HANDSEED (adding the variable at the header's end if missing).
void setHandleSeed(Document& doc, std::uint64_t seed);

// Raises $HANDSEED above every handle in use when a file left it lower, so
// that new objects never take a handle that is already there.
void repairHandleSeed(Document& doc);

// The handle for a new object: the current $HANDSEED, which moves on by one.
std::uint64_t nextHandle(Document& doc);
inline std::string nextHandleText(Document& doc) { return formatHandle(nextHandle(doc)); }

}  // namespace kestrin::dxf
