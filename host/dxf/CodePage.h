// Conversion of the strings of a drawing from the code page its
// $DWGCODEPAGE names into CP1251. Characters CP1251 lacks become \U+XXXX
// escapes, the form DXF itself uses for them, so nothing is lost.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin::dxf {

class CodePageConverter {
public:
    // A converter for a single-byte code page named as in $DWGCODEPAGE
    // ("ANSI_1252", case-insensitive), or nothing when it is not one we know.
    static std::optional<CodePageConverter> forName(std::string_view dwgCodePage);

    // True for CP1251 and plain ASCII, whose bytes are kept as they are.
    bool isIdentity() const { return identity_; }

    // Appends the CP1251 form of `text` to `out`.
    void convert(std::string_view text, std::string& out) const;
    bool needsConversion(std::string_view text) const;

private:
    bool identity_ = true;
    std::array<std::string, 128> high_;  // CP1251 form of each byte 0x80..0xFF
};

// True when the name means code page 1251 (or ASCII, a subset of it).
bool isCp1251Name(std::string_view dwgCodePage);

}  // namespace kestrin::dxf
