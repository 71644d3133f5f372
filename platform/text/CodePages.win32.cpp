// Windows: the national-language API. MultiByteToWideChar with
// MB_ERR_INVALID_CHARS refuses bytes the page does not define; it does not say
// where, so a refused text is walked character by character to find the first
// bad one. WideCharToMultiByte with WC_NO_BEST_FIT_CHARS and the used-default
// flag refuses a character the page lacks instead of writing a look-alike or
// '?'. UTF-8 (65001) takes neither flag as other pages do and is converted
// here; the pages that refuse the flags (the ISO-2022 and other stateful
// ones, UTF-7) are checked by converting back.
#include "platform/text/CodePages.h"

#include <windows.h>

namespace kestrin::text {

namespace {

constexpr unsigned kUtf8 = 65001;

// The code points of UTF-16 text (a lone surrogate passes as it is).
void appendCodePoints(const wchar_t* text, int n, std::u32string& out) {
    for (int i = 0; i < n; ++i) {
        const char32_t unit = static_cast<char16_t>(text[i]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < n) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                out.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        out.push_back(unit);
    }
}

// One UTF-8 character at `i`: its code point, and `i` past it; false for an
// invalid, overlong, surrogate or incomplete sequence.
bool decodeUtf8(std::string_view s, std::size_t& i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    std::size_t length = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        cp = b0;
        ++i;
        return true;
    }
    if ((b0 & 0xE0) == 0xC0) length = 2, cp = b0 & 0x1F, min = 0x80;
    else if ((b0 & 0xF0) == 0xE0) length = 3, cp = b0 & 0x0F, min = 0x800;
    else if ((b0 & 0xF8) == 0xF0) length = 4, cp = b0 & 0x07, min = 0x10000;
    else return false;
    if (i + length > s.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return false;
    i += length;
    return true;
}

void encodeUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

// The Windows pages 874 and 1250 to 1258 leave some bytes of 0x80 to 0x9F
// unassigned, and the system reads those as the C1 control of the same number
// rather than refusing them.
bool hasC1Holes(unsigned page) { return page == 874 || (page >= 1250 && page <= 1258); }

struct CodePage::Impl {
    unsigned maxCharSize = 1;
    bool flagsAccepted = true;  // MB_ERR_INVALID_CHARS and WC_NO_BEST_FIT_CHARS
    bool c1Holes = false;

    // The UTF-16 text of `bytes`, or false when the page refuses them.
    bool toWide(unsigned page, std::string_view bytes, std::wstring& wide) const {
        if (bytes.empty()) return true;
        const DWORD flags = flagsAccepted ? MB_ERR_INVALID_CHARS : 0;
        const int size = static_cast<int>(bytes.size());
        const int n = MultiByteToWideChar(page, flags, bytes.data(), size, nullptr, 0);
        if (n <= 0) return false;
        wide.resize(static_cast<std::size_t>(n));
        MultiByteToWideChar(page, flags, bytes.data(), size, wide.data(), n);
        if (c1Holes)
            for (wchar_t c : wide)
                if (c >= 0x80 && c <= 0x9F) return false;
        // Without the flag a page marks what it cannot read with U+FFFD.
        return flagsAccepted || wide.find(L'\xFFFD') == std::wstring::npos;
    }
};

CodePage::CodePage(unsigned number, std::unique_ptr<Impl> impl) : number_(number), impl_(std::move(impl)) {}

CodePage::~CodePage() = default;

std::unique_ptr<CodePage> CodePage::open(unsigned number) {
    auto impl = std::make_unique<Impl>();
    if (number != kUtf8) {
        CPINFO info{};
        if (!IsValidCodePage(number) || !GetCPInfo(number, &info)) return nullptr;
        impl->maxCharSize = info.MaxCharSize;
        impl->c1Holes = hasC1Holes(number);
        // The pages that take neither flag answer ERROR_INVALID_FLAGS.
        wchar_t probe[2];
        impl->flagsAccepted = MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, "A", 1, probe, 2) > 0 ||
                              GetLastError() != ERROR_INVALID_FLAGS;
    }
    return std::unique_ptr<CodePage>(new CodePage(number, std::move(impl)));
}

std::size_t CodePage::decode(std::string_view bytes, std::u32string& out) const {
    if (bytes.empty()) return npos;
    if (number_ == kUtf8) {
        for (std::size_t i = 0; i < bytes.size();) {
            const std::size_t at = i;
            char32_t cp = 0;
            if (!decodeUtf8(bytes, i, cp)) return at;
            out.push_back(cp);
        }
        return npos;
    }
    std::wstring wide;
    if (impl_->toWide(number_, bytes, wide)) {
        appendCodePoints(wide.data(), static_cast<int>(wide.size()), out);
        return npos;
    }
    // Refused: the characters before the first one the page refuses.
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t length = 1;
        if (impl_->maxCharSize > 1 && IsDBCSLeadByteEx(number_, static_cast<BYTE>(bytes[i]))) length = 2;
        if (i + length > bytes.size()) return i;  // a lead byte with nothing after it
        wide.clear();
        if (!impl_->toWide(number_, bytes.substr(i, length), wide)) return i;
        appendCodePoints(wide.data(), static_cast<int>(wide.size()), out);
        i += length;
    }
    return bytes.size();  // the whole was refused, though each character passed: a stateful page's end
}

bool CodePage::encode(char32_t cp, std::string& out) const {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return false;
    if (impl_->c1Holes && cp >= 0x80 && cp <= 0x9F) return false;
    if (number_ == kUtf8) {
        encodeUtf8(cp, out);
        return true;
    }
    wchar_t wide[2];
    int units = 1;
    if (cp >= 0x10000) {
        wide[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        units = 2;
    } else {
        wide[0] = static_cast<wchar_t>(cp);
    }
    char buf[16];
    BOOL usedDefault = FALSE;
    int n = impl_->flagsAccepted
                ? WideCharToMultiByte(number_, WC_NO_BEST_FIT_CHARS, wide, units, buf, sizeof buf, nullptr, &usedDefault)
                : WideCharToMultiByte(number_, 0, wide, units, buf, sizeof buf, nullptr, nullptr);
    if (n <= 0 || usedDefault) return false;
    if (!impl_->flagsAccepted) {
        // A look-alike or '?' shows when the bytes do not read back as the character.
        std::u32string back;
        if (decode(std::string_view(buf, static_cast<std::size_t>(n)), back) != npos || back != std::u32string(1, cp))
            return false;
    }
    out.append(buf, static_cast<std::size_t>(n));
    return true;
}

}  // namespace kestrin::text
