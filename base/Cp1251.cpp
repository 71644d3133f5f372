#include "base/Cp1251.h"

#include <cstdio>

namespace kestrin {

namespace {
std::string describe(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}
}  // namespace

std::string utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t at = pos;
        const char32_t cp = decodeUtf8(utf8, pos);
        if (cp == 0xFFFFFFFF)
            throw EncodingError("malformed UTF-8 byte at offset " + std::to_string(at));
        const int byte = cp1251FromCodePoint(cp);
        if (byte < 0)
            throw EncodingError("character " + describe(cp) + " '" + std::string(utf8.substr(at, pos - at)) +
                                "' at offset " + std::to_string(at) + " has no code page 1251 form");
        out.push_back(static_cast<char>(byte));
    }
    return out;
}

std::string cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char c : cp1251) {
        const char32_t cp = codePointFromCp1251(static_cast<unsigned char>(c));
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

bool representableInCp1251(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = decodeUtf8(utf8, pos);
        if (cp == 0xFFFFFFFF || cp1251FromCodePoint(cp) < 0) return false;
    }
    return true;
}

}  // namespace kestrin
