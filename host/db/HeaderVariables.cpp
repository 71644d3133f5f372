#include "host/db/HeaderVariables.h"

#include <cmath>
#include <limits>

#include "host/db/RecordTags.h"

namespace kestrin::db {
namespace {

VariableValue::Kind kindOf(int code) {
    if ((code >= 60 && code <= 79) || (code >= 270 && code <= 299)) return VariableValue::Kind::Short;
    if (code >= 90 && code <= 99) return VariableValue::Kind::Long;
    if (code >= 40 && code <= 59) return VariableValue::Kind::Real;
    if (code >= 10 && code <= 39) return VariableValue::Kind::Point;
    return VariableValue::Kind::String;
}

std::size_t valueEnd(const dxf::TagList& header, std::size_t nameIndex) {
    std::size_t end = nameIndex + 1;
    while (end < header.size() && header[end].code != 9) ++end;
    return end;
}

bool readOnly(std::string_view name) {
    // The handle seed and the file's own version are the database's business.
    return sameName(name, "HANDSEED") || sameName(name, "ACADVER") || sameName(name, "DWGCODEPAGE");
}

}  // namespace

std::optional<std::size_t> findVariable(const dxf::TagList& header, std::string_view name) {
    if (!name.empty() && name.front() == '$') name.remove_prefix(1);
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i].code != 9) continue;
        std::string_view n = header[i].value;
        if (!n.empty() && n.front() == '$') n.remove_prefix(1);
        if (sameName(n, name)) return i;
    }
    return std::nullopt;
}

std::optional<VariableValue> readVariable(const dxf::TagList& header, std::string_view name) {
    const auto at = findVariable(header, name);
    if (!at) return std::nullopt;
    const std::size_t end = valueEnd(header, *at);
    if (end == *at + 1) return std::nullopt;
    VariableValue v;
    const auto first = header[*at + 1];
    v.kind = kindOf(first.code);
    switch (v.kind) {
        case VariableValue::Kind::Short:
        case VariableValue::Kind::Long: v.integer = parseInteger(first.value).value_or(0); break;
        case VariableValue::Kind::Real: v.real = parseReal(first.value).value_or(0); break;
        case VariableValue::Kind::String: v.text = std::string(first.value); break;
        case VariableValue::Kind::Point:
            for (std::size_t i = *at + 1; i < end; ++i) {
                const int axis = header[i].code / 10 - first.code / 10;
                if (axis >= 0 && axis < 3) v.point[axis] = parseReal(header[i].value).value_or(0);
            }
            break;
    }
    return v;
}

VariableWrite writeVariable(dxf::TagList& header, std::string_view name, const VariableValue& value) {
    const auto current = readVariable(header, name);
    if (!current) return VariableWrite::Unknown;
    if (readOnly(name)) return VariableWrite::ReadOnly;
    const std::size_t at = *findVariable(header, name);
    using Kind = VariableValue::Kind;
    switch (current->kind) {
        case Kind::Short:
        case Kind::Long: {
            long long n = value.integer;
            if (value.kind == Kind::Real) {
                if (!std::isfinite(value.real) || value.real != std::trunc(value.real)) return VariableWrite::OutOfRange;
                if (std::fabs(value.real) > 9.0e18) return VariableWrite::OutOfRange;
                n = static_cast<long long>(value.real);
            } else if (value.kind != Kind::Short && value.kind != Kind::Long) {
                return VariableWrite::WrongType;
            }
            const long long low = current->kind == Kind::Short ? std::numeric_limits<std::int16_t>::min()
                                                               : std::numeric_limits<std::int32_t>::min();
            const long long high = current->kind == Kind::Short ? std::numeric_limits<std::int16_t>::max()
                                                                : std::numeric_limits<std::int32_t>::max();
            if (n < low || n > high) return VariableWrite::OutOfRange;
            header.set(at + 1, std::to_string(n));
            return VariableWrite::Done;
        }
        case Kind::Real: {
            double r = value.real;
            if (value.kind == Kind::Short || value.kind == Kind::Long) r = static_cast<double>(value.integer);
            else if (value.kind != Kind::Real) return VariableWrite::WrongType;
            if (!std::isfinite(r)) return VariableWrite::OutOfRange;
            if (sameName(name, "TEXTSIZE") && r <= 0) return VariableWrite::OutOfRange;
            header.set(at + 1, formatReal(r));
            return VariableWrite::Done;
        }
        case Kind::String:
            if (value.kind != Kind::String) return VariableWrite::WrongType;
            header.set(at + 1, value.text);
            return VariableWrite::Done;
        case Kind::Point: {
            if (value.kind != Kind::Point) return VariableWrite::WrongType;
            const std::size_t end = valueEnd(header, at);
            const int base = header[at + 1].code;
            for (std::size_t i = at + 1; i < end; ++i) {
                const int axis = header[i].code / 10 - base / 10;
                if (axis >= 0 && axis < 3) header.set(i, formatReal(value.point[axis]));
            }
            return VariableWrite::Done;
        }
    }
    return VariableWrite::WrongType;
}

}  // namespace kestrin::db
