// How the strings of a DXF file are encoded, and their conversion to and from
// the CP1251 text the system holds.
//
// Up to R2004 a file's strings are in the code page its $DWGCODEPAGE names;
// from R2007 on they are UTF-8. Inside the system every string is CP1251, and
// a character CP1251 lacks is its DXF escape `\U+XXXX` (two escapes, the
// UTF-16 surrogates, above U+FFFF). Writing turns such escapes back into the
// file's own characters where its encoding has them. The `\M+nXXXX` escapes
// of older multi-byte files (a character of code page n: 1 932, 2 950, 3 949,
// 4 1361, 5 936) are read as their characters too.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/dxf/Versions.h"

namespace kestrin::text {
class CodePage;
}

namespace kestrin::dxf {

class TextEncoding {
public:
    // The encoding of a file of `version` whose $DWGCODEPAGE is `dwgCodePage`
    // (empty when the header has none: the host's own code page 1251), or
    // nothing when the code page is not one the system can convert.
    static std::optional<TextEncoding> forFile(const DxfVersion& version, std::string_view dwgCodePage);
    // The Windows number of a $DWGCODEPAGE name ("ANSI_1252", "dos866",
    // "ISO8859-1", "BIG5", case-insensitive), or nothing.
    static std::optional<unsigned> codePageNumber(std::string_view dwgCodePage);

    // CP1251 (and ASCII, taken as the host's own code page): bytes are kept.
    bool isIdentity() const { return identity_; }
    // "UTF-8", "code page 1252": for messages.
    std::string name() const;

    // True when `raw` may differ between the file and the system.
    bool needsConversion(std::string_view raw) const;
    // Appends the system's form of the file bytes `raw`: a `\U+XXXX` escape
    // of a character CP1251 has is that character, a `\M+nXXXX` escape its
    // character or `\U+XXXX`. Answers npos, or the
    // offset of the first byte that is not valid in the encoding.
    std::size_t decode(std::string_view raw, std::string& out) const;
    // Appends the file's bytes for the system's text `text`.
    void encode(std::string_view text, std::string& out) const;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    struct SingleByte;
    std::size_t decodeCharacters(std::string_view raw, std::string& out) const;
    void appendCodePoint(char32_t cp, std::string& out) const;  // system form of one character
    void encodeCodePoint(char32_t cp, std::string_view escape, std::string& out) const;

    bool identity_ = true;
    bool utf8_ = false;
    unsigned number_ = 1251;
    std::shared_ptr<const text::CodePage> page_;       // multi-byte pages
    std::shared_ptr<const SingleByte> singleByte_;     // tables of single-byte pages
    std::shared_ptr<const std::array<std::string, 128>> fromCp1251_;  // file bytes of CP1251 0x80..0xFF
};

// The `\U+XXXX` escape of a code point (two of them above U+FFFF).
std::string unicodeEscape(char32_t cp);

}  // namespace kestrin::dxf
