// System variables stored in the drawing header: "9 $NAME" followed by the
// value's tags. A variable's type is given by its group codes: 70-78, 280-289
// and 290-299 short, 90-99 long, 40-59 real, 10/20/30 point, other text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/db/AcadTypes.h"
#include "host/dxf/TagList.h"

namespace kestrin::db {

struct VariableValue {
    enum class Kind { Short, Long, Real, String, Point } kind = Kind::Short;
    long long integer = 0;
    double real = 0;
    std::string text;
    AcGePoint3d point;
};

// Index of the "9 $NAME" tag; the name is matched without regard to case and
// without its '$'.
std::optional<std::size_t> findVariable(const dxf::TagList& header, std::string_view name);

std::optional<VariableValue> readVariable(const dxf::TagList& header, std::string_view name);

enum class VariableWrite { Done, Unknown, WrongType, OutOfRange, ReadOnly };
// Writes a value of the variable's own kind; a Real written to a Short or
// Long variable is taken as that integer when it is whole. TEXTSIZE must be
// above 0; short values must fit 16 bits.
VariableWrite writeVariable(dxf::TagList& header, std::string_view name, const VariableValue& value);

}  // namespace kestrin::db
