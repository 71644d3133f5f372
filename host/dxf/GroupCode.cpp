#include "host/dxf/GroupCode.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

namespace kestrin::dxf {

namespace {

ValueType computeValueType(int code) {
    using enum ValueType;
    if (code < 0) return Unknown;
    if (code == 5 || code == 105) return Handle;
    if (code <= 9) return String;
    if (code <= 59) return Real;
    if (code <= 79) return Int16;
    if (code <= 89) return Unknown;
    if (code <= 99) return Int32;
    if (code == 100 || code == 101 || code == 102) return String;
    if (code <= 109) return Unknown;
    if (code <= 149) return Real;
    if (code <= 159) return Unknown;
    if (code <= 169) return Int64;
    if (code <= 179) return Int16;
    if (code <= 209) return Unknown;
    if (code <= 239) return Real;
    if (code <= 269) return Unknown;
    if (code <= 289) return Int16;
    if (code <= 299) return Boolean;
    if (code <= 309) return String;
    if (code <= 319) return Binary;
    if (code <= 369) return Handle;
    if (code <= 389) return Int16;
    if (code <= 399) return Handle;
    if (code <= 409) return Int16;
    if (code <= 419) return String;
    if (code <= 429) return Int32;
    if (code <= 439) return String;
    if (code <= 459) return Int32;
    if (code <= 469) return Real;
    if (code <= 479) return String;
    if (code <= 481) return Handle;
    if (code == 999) return String;
    if (code < 1000) return Unknown;
    if (code <= 1003) return String;
    if (code == 1004) return Binary;
    if (code == 1005) return Handle;
    if (code <= 1009) return String;
    if (code <= 1059) return Real;
    if (code <= 1070) return Int16;
    if (code == 1071) return Int32;
    return Unknown;
}

}  // namespace

ValueType valueTypeOf(int code) {
    constexpr int kMaxCode = 1071;
    static const auto table = [] {
        std::array<ValueType, kMaxCode + 1> t{};
        for (int c = 0; c <= kMaxCode; ++c) t[static_cast<std::size_t>(c)] = computeValueType(c);
        return t;
    }();
    return code >= 0 && code <= kMaxCode ? table[static_cast<std::size_t>(code)] : ValueType::Unknown;
}

std::string_view describe(ValueType type) {
    switch (type) {
        case ValueType::String: return "a string";
        case ValueType::Handle: return "a hexadecimal handle";
        case ValueType::Binary: return "hexadecimal binary data";
        case ValueType::Real: return "a real value";
        case ValueType::Int16: return "a 16-bit integer";
        case ValueType::Int32: return "a 32-bit integer";
        case ValueType::Int64: return "a 64-bit integer";
        case ValueType::Boolean: return "a boolean (0 or 1)";
        case ValueType::Unknown: break;
    }
    return "nothing (undefined group code)";
}

namespace {

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

template <typename Int>
bool parsesAsInteger(std::string_view s, Int low, Int high) {
    s = trimSpaces(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    Int v{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && ec == std::errc{} && end == s.data() + s.size() && v >= low && v <= high;
}

// Whether `s` is a real the way nearly every file writes one: an optional
// minus, digits with a point in them or not, an exponent of a few digits.
// Nothing when it is not that plain (long, large exponents, inf, ...): the
// number conversion then decides.
std::optional<bool> plainDecimal(std::string_view s) {
    const char* p = s.data();
    const char* end = p + s.size();
    if (p < end && *p == '-') ++p;
    const char* digits = p;
    while (p < end && *p >= '0' && *p <= '9') ++p;
    std::size_t n = static_cast<std::size_t>(p - digits);
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        while (p < end && *p >= '0' && *p <= '9') ++p;
        n += static_cast<std::size_t>(p - fraction);
    }
    if (n == 0 || n > 30) return n == 0 ? std::optional<bool>(false) : std::nullopt;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
        const char* exponent = p;
        while (p < end && *p >= '0' && *p <= '9') ++p;
        if (p == exponent) return false;
        if (p - exponent > 2) return std::nullopt;  // far from 1: let the conversion say whether it fits
    }
    return p == end;
}

}  // namespace

bool isValidValue(ValueType type, std::string_view value) {
    switch (type) {
        case ValueType::String: return true;
        case ValueType::Handle: {
            if (value.empty() || value.size() > 16) return false;
            for (char c : value)
                if (!isHex(c)) return false;
            return true;
        }
        case ValueType::Binary: {
            if (value.size() % 2 != 0) return false;
            for (char c : value)
                if (!isHex(c)) return false;
            return true;
        }
        case ValueType::Real: {
            std::string_view s = trimSpaces(value);
            if (!s.empty() && s.front() == '+') s.remove_prefix(1);
            if (const auto plain = plainDecimal(s)) return *plain;
            double v = 0;
            const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
            return !s.empty() && ec == std::errc{} && end == s.data() + s.size() && std::isfinite(v);
        }
        // Writers put unsigned values (colours, flags) into 16- and 32-bit
        // codes, so the unsigned range is accepted too.
        case ValueType::Int16: return parsesAsInteger<std::int32_t>(value, INT16_MIN, UINT16_MAX);
        case ValueType::Int32: return parsesAsInteger<std::int64_t>(value, INT32_MIN, UINT32_MAX);
        case ValueType::Int64: return parsesAsInteger<std::int64_t>(value, INT64_MIN, INT64_MAX);
        case ValueType::Boolean: return parsesAsInteger<int>(value, 0, 1);
        case ValueType::Unknown: break;
    }
    return false;
}

}  // namespace kestrin::dxf
