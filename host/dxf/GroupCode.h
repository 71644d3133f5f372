// The value type of each DXF group code (R2000 ranges) and the checks that a
// value written in a file parses as its type.
#pragma once

#include <string_view>

namespace kestrin::dxf {

enum class ValueType {
    Unknown,  // a code the format does not define
    String,
    Handle,   // 1 to 16 hex digits
    Binary,   // hex digits, two per byte
    Real,
    Int16,
    Int32,
    Int64,
    Boolean,  // 0 or 1
};

ValueType valueTypeOf(int code);

// The type of `code` in a record of `recordType`: a DIMSTYLE record keeps
// its handle in 105 and an arrow block's name in 5.
inline ValueType valueTypeIn(std::string_view recordType, int code) {
    if (code == 5 && recordType == "DIMSTYLE") return ValueType::String;
    return valueTypeOf(code);
}

// "a real value", "a 16-bit integer", ... for error messages.
std::string_view describe(ValueType type);

// True when `value` is a well-formed value of `type`. Numbers may carry
// surrounding spaces, as some writers right-align them.
bool isValidValue(ValueType type, std::string_view value);

}  // namespace kestrin::dxf
