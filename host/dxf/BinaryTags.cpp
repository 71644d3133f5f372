#include "host/dxf/BinaryTags.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kestrin::dxf {

namespace {

static_assert(std::endian::native == std::endian::little, "binary DXF values are copied as they lie in memory");

template <typename T>
T little(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void putLittle(std::string& out, T v) {
    char buf[sizeof v];
    std::memcpy(buf, &v, sizeof v);
    out.append(buf, sizeof v);
}

std::string_view numberText(TextArena& arena, auto value) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return arena.keep(std::string_view(buf, static_cast<std::size_t>(end - buf)));
}

std::size_t widthOf(ValueType type) {
    switch (type) {
        case ValueType::Boolean: return 1;
        case ValueType::Int16: return 2;
        case ValueType::Int32: return 4;
        case ValueType::Int64:
        case ValueType::Real: return 8;
        default: return 0;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    return s;
}

template <typename T>
bool parseNumber(std::string_view text, T& v) {
    text = trim(text);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return !text.empty() && ec == std::errc{} && end == text.data() + text.size();
}

}  // namespace

int BinaryTagScanner::detectCodeBytes(std::string_view bytes) {
    const std::string_view first = bytes.substr(kBinarySentinel.size());
    if (first.starts_with(std::string_view("\0\0SECTION\0", 10))) return 2;
    if (first.starts_with(std::string_view("\0SECTION\0", 9))) return 1;
    return 0;
}

bool BinaryTagScanner::next(BinaryTag& tag, TextArena& arena, std::string& error) {
    error.clear();
    if (pos_ >= bytes_.size()) return false;
    const std::size_t at = pos_;
    const char* p = bytes_.data();
    const std::size_t n = bytes_.size();
    int code;
    if (codeBytes_ == 1) {
        code = static_cast<unsigned char>(p[pos_++]);
        if (code == 255) {
            if (pos_ + 2 > n) return error = "end of file inside a group code", false;
            code = little<std::int16_t>(p + pos_);
            pos_ += 2;
        }
    } else {
        if (pos_ + 2 > n) return error = "end of file inside a group code", false;
        code = little<std::int16_t>(p + pos_);
        pos_ += 2;
    }
    const ValueType type = valueTypeIn(inDimStyle_ ? "DIMSTYLE" : "", code);
    tag = {code, type, {}, at};
    if (type == ValueType::Unknown) return error = "group code " + std::to_string(code) + " is not a DXF group code", false;
    if (code == 999) return error = "group code 999 (a comment), which binary DXF does not have", false;
    const std::string after = " for group code " + std::to_string(code);
    if (type == ValueType::String || type == ValueType::Handle) {
        const void* nul = std::memchr(p + pos_, '\0', n - pos_);
        if (nul == nullptr) return error = "end of file inside a string" + after + ", expected its closing NUL", false;
        const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(nul) - p);
        tag.value = bytes_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (type == ValueType::Handle && !isValidValue(type, tag.value))
            return error = "expected a hexadecimal handle" + after, false;
        return true;
    }
    if (type == ValueType::Binary) {
        if (pos_ >= n) return error = "end of file" + after + ", expected the length of its data", false;
        const std::size_t length = static_cast<unsigned char>(p[pos_++]);
        if (pos_ + length > n) return error = "end of file inside the binary data" + after, false;
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string hex;
        hex.reserve(length * 2);
        for (std::size_t i = 0; i < length; ++i) {
            const auto b = static_cast<unsigned char>(p[pos_ + i]);
            hex.push_back(kHex[b >> 4]);
            hex.push_back(kHex[b & 15]);
        }
        pos_ += length;
        tag.value = arena.keep(hex);
        return true;
    }
    const std::size_t width = widthOf(type);
    if (pos_ + width > n)
        return error = "end of file" + after + ", expected " + std::to_string(width) + " bytes of " +
                       std::string(describe(type)),
               false;
    const char* v = p + pos_;
    pos_ += width;
    switch (type) {
        case ValueType::Boolean: {
            const auto b = static_cast<unsigned char>(*v);
            if (b > 1) return error = "expected a boolean (0 or 1)" + after + ", found " + std::to_string(b), false;
            tag.value = b ? "1" : "0";
            return true;
        }
        case ValueType::Int16: tag.value = numberText(arena, little<std::int16_t>(v)); return true;
        case ValueType::Int32: tag.value = numberText(arena, little<std::int32_t>(v)); return true;
        case ValueType::Int64: tag.value = numberText(arena, little<std::int64_t>(v)); return true;
        case ValueType::Real: {
            const double d = std::bit_cast<double>(little<std::uint64_t>(v));
            if (!std::isfinite(d)) return error = "a real value that is not a finite number" + after, false;
            tag.value = numberText(arena, d);
            return true;
        }
        default: break;
    }
    return error = "a value of an unknown type" + after, false;
}

std::string appendBinaryTag(std::string& out, int codeBytes, int code, ValueType type, std::string_view value) {
    if (type == ValueType::Unknown) return "group code " + std::to_string(code) + " is not a DXF group code";
    if (code == 999) return "binary DXF has no comments (group code 999)";
    if (codeBytes == 1) {
        if (code >= 255) {
            out.push_back(static_cast<char>(255));
            putLittle(out, static_cast<std::int16_t>(code));
        } else {
            out.push_back(static_cast<char>(code));
        }
    } else {
        putLittle(out, static_cast<std::int16_t>(code));
    }
    switch (type) {
        case ValueType::String:
        case ValueType::Handle:
            if (value.find('\0') != std::string_view::npos) return "the value holds a NUL byte";
            if (type == ValueType::Handle && !isValidValue(type, value)) return "the value is not a hexadecimal handle";
            out.append(value);
            out.push_back('\0');
            return {};
        case ValueType::Binary: {
            if (value.size() % 2 != 0 || value.size() > 2 * 255) return "binary data longer than 255 bytes or of odd length";
            out.push_back(static_cast<char>(value.size() / 2));
            for (std::size_t i = 0; i < value.size(); i += 2) {
                const int hi = hexDigit(value[i]), lo = hexDigit(value[i + 1]);
                if (hi < 0 || lo < 0) return "the value is not hexadecimal binary data";
                out.push_back(static_cast<char>(hi * 16 + lo));
            }
            return {};
        }
        case ValueType::Boolean: {
            int b = 0;
            if (!parseNumber(value, b) || b < 0 || b > 1) return "the value is not a boolean (0 or 1)";
            out.push_back(static_cast<char>(b));
            return {};
        }
        case ValueType::Int16: {
            std::int32_t v = 0;  // the unsigned range is taken as its bits
            if (!parseNumber(value, v) || v < INT16_MIN || v > UINT16_MAX) return "the value is not a 16-bit integer";
            putLittle(out, static_cast<std::uint16_t>(v));
            return {};
        }
        case ValueType::Int32: {
            std::int64_t v = 0;
            if (!parseNumber(value, v) || v < INT32_MIN || v > UINT32_MAX) return "the value is not a 32-bit integer";
            putLittle(out, static_cast<std::uint32_t>(v));
            return {};
        }
        case ValueType::Int64: {
            std::int64_t v = 0;
            if (!parseNumber(value, v)) return "the value is not a 64-bit integer";
            putLittle(out, static_cast<std::uint64_t>(v));
            return {};
        }
        case ValueType::Real: {
            double d = 0;
            if (!parseNumber(value, d) || !std::isfinite(d)) return "the value is not a real number";
            putLittle(out, std::bit_cast<std::uint64_t>(d));
            return {};
        }
        case ValueType::Unknown: break;
    }
    return "a value of an unknown type";
}

}  // namespace kestrin::dxf
