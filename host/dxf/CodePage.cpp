#include "host/dxf/CodePage.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/Cp1251.h"
#include "platform/text/CodePages.h"

namespace kestrin::dxf {

namespace {

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The Windows number of a single-byte code page, or 0.
unsigned codePageNumber(const std::string& dwg) {
    static constexpr std::string_view kKnown[] = {"ANSI_874",  "ANSI_1250", "ANSI_1252", "ANSI_1253", "ANSI_1254",
                                                  "ANSI_1255", "ANSI_1256", "ANSI_1257", "ANSI_1258"};
    for (std::string_view k : kKnown)
        if (dwg == k) return static_cast<unsigned>(std::stoul(std::string(k.substr(5))));
    return 0;
}

std::string escape(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\\U+%04X", static_cast<unsigned>(cp));
    return buf;
}

}  // namespace

bool isCp1251Name(std::string_view dwgCodePage) {
    const std::string name = upper(dwgCodePage);
    return name == "ANSI_1251" || name == "ASCII";
}

std::optional<CodePageConverter> CodePageConverter::forName(std::string_view dwgCodePage) {
    CodePageConverter conv;
    if (isCp1251Name(dwgCodePage)) return conv;
    const unsigned number = codePageNumber(upper(dwgCodePage));
    const auto page = number != 0 ? text::CodePage::open(number) : nullptr;
    if (!page) return std::nullopt;
    conv.identity_ = false;
    for (int b = 0x80; b < 0x100; ++b) {
        // A byte the code page leaves undefined keeps its own number as a C1
        // control character, so it is at least not lost.
        const char byte = static_cast<char>(b);
        std::u32string decoded;
        const char32_t cp = page->decode(std::string_view(&byte, 1), decoded) == text::CodePage::npos && decoded.size() == 1
                                ? decoded[0]
                                : static_cast<char32_t>(b);
        const int mapped = cp1251FromCodePoint(cp);
        conv.high_[b - 0x80] = mapped >= 0 && cp != 0x98 ? std::string(1, static_cast<char>(mapped)) : escape(cp);
    }
    return conv;
}

bool CodePageConverter::needsConversion(std::string_view text) const {
    if (identity_) return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

void CodePageConverter::convert(std::string_view text, std::string& out) const {
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80 || identity_)
            out.push_back(c);
        else
            out += high_[b - 0x80];
    }
}

}  // namespace kestrin::dxf
