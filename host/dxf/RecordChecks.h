// Consistency checks on records the reader has built: declared counts that
// must match the tags present, and blocks that would insert themselves.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/dxf/DxfDocument.h"

namespace kestrin::dxf {

struct CheckFailure {
    std::size_t line;
    std::string what;
};

// LWPOLYLINE vertices (90), SPLINE knots/control/fit points (72/73/74) and
// LEADER vertices (76) must agree with the tags that follow: a reader of those
// entities walks the vertex data by them. Table entry counts (70) are only
// hints that writers get wrong, and are not checked.
std::optional<CheckFailure> checkCounts(const Record& entity);

// A block that reaches itself through INSERT (or DIMENSION) references,
// directly or through other blocks. Block names compare case-insensitively.
std::optional<CheckFailure> findSelfContainingBlock(const std::vector<Block>& blocks);

}  // namespace kestrin::dxf
