#include "host/dxf/TextEncoding.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "base/Cp1251.h"
#include "base/TextCase.h"
#include "platform/text/CodePages.h"

namespace kestrin::dxf {

namespace {

bool isMultiByte(unsigned number) {
    return number == 932 || number == 936 || number == 949 || number == 950 || number == 1361;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The code point of a `\U+XXXX` escape at text[at], or nothing.
std::optional<char32_t> escapeAt(std::string_view text, std::size_t at) {
    if (at + 7 > text.size() || text[at] != '\\' || text[at + 1] != 'U' || text[at + 2] != '+') return std::nullopt;
    char32_t cp = 0;
    for (std::size_t i = at + 3; i < at + 7; ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0) return std::nullopt;
        cp = cp * 16 + static_cast<char32_t>(d);
    }
    return cp;
}

bool isSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

void appendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// One UTF-8 character at s[pos], strictly: no overlong forms, surrogates or
// code points above U+10FFFF. Moves pos past it; nothing when malformed.
std::optional<char32_t> strictUtf8(std::string_view s, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    int extra;
    char32_t cp, min;
    if (b0 < 0x80) {
        ++pos;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + static_cast<std::size_t>(extra) >= s.size()) return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || isSurrogate(cp)) return std::nullopt;
    pos += static_cast<std::size_t>(extra) + 1;
    return cp;
}

}  // namespace

std::string unicodeEscape(char32_t cp) {
    char buf[24];
    if (cp > 0xFFFF) {
        const char32_t v = cp - 0x10000;
        std::snprintf(buf, sizeof buf, "\\U+%04X\\U+%04X", static_cast<unsigned>(0xD800 + (v >> 10)),
                      static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
    } else {
        std::snprintf(buf, sizeof buf, "\\U+%04X", static_cast<unsigned>(cp));
    }
    return buf;
}

// A single-byte page as tables: the system form of each byte (empty when the
// page leaves the byte undefined) and the byte of each character it has.
struct TextEncoding::SingleByte {
    std::array<std::string, 256> toSystem;
    std::array<bool, 256> defined{};
    std::unordered_map<char32_t, char> fromCodePoint;
};

std::optional<unsigned> TextEncoding::codePageNumber(std::string_view dwgCodePage) {
    std::string name = upperCase(dwgCodePage);
    std::replace(name.begin(), name.end(), '_', '-');
    auto number = [](std::string_view digits) -> std::optional<unsigned> {
        if (digits.empty() || digits.size() > 5) return std::nullopt;
        unsigned n = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + static_cast<unsigned>(c - '0');
        }
        return n;
    };
    static const std::vector<unsigned> ansi = {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1361};
    static const std::vector<unsigned> dos = {437, 850, 852, 855, 857, 860, 861, 863, 864, 865, 866, 869, 932};
    auto in = [](const std::vector<unsigned>& list, std::optional<unsigned> n) {
        return n && std::find(list.begin(), list.end(), *n) != list.end() ? n : std::nullopt;
    };
    if (name.starts_with("ANSI-")) return in(ansi, number(std::string_view(name).substr(5)));
    if (name.starts_with("DOS")) return in(dos, number(std::string_view(name).substr(3)));
    for (std::string_view iso : {"ISO8859-", "ISO-8859-"}) {
        if (!name.starts_with(iso)) continue;
        const auto n = number(std::string_view(name).substr(iso.size()));
        if (n && *n >= 1 && *n <= 10) return 28590 + *n;
        return std::nullopt;
    }
    static const std::pair<std::string_view, unsigned> named[] = {
        {"ASCII", 1251},   {"MACINTOSH", 10000}, {"MAC-ROMAN", 10000}, {"BIG5", 950}, {"KSC5601", 949},
        {"JOHAB", 1361},   {"GB2312", 936},      {"UTF-8", 65001},     {"UTF8", 65001}};
    for (const auto& [n, cp] : named)
        if (name == n) return cp;
    return std::nullopt;
}

std::optional<TextEncoding> TextEncoding::forFile(const DxfVersion& version, std::string_view dwgCodePage) {
    TextEncoding enc;
    if (version.utf8()) {
        enc.identity_ = false;
        enc.utf8_ = true;
        enc.number_ = 65001;
    } else {
        const auto number = dwgCodePage.empty() ? std::optional<unsigned>(1251) : codePageNumber(dwgCodePage);
        if (!number) return std::nullopt;
        enc.number_ = *number;
        if (*number == 1251) return enc;
        enc.identity_ = false;
        if (*number == 65001) {
            enc.utf8_ = true;
        } else {
            std::shared_ptr<const text::CodePage> page = text::CodePage::open(*number);
            if (!page) return std::nullopt;
            if (isMultiByte(*number)) {
                enc.page_ = page;
            } else {
                auto tables = std::make_shared<SingleByte>();
                for (int b = 0; b < 256; ++b) {
                    const char byte = static_cast<char>(b);
                    std::u32string cps;
                    if (page->decode(std::string_view(&byte, 1), cps) != text::CodePage::npos || cps.size() != 1) continue;
                    tables->defined[static_cast<std::size_t>(b)] = true;
                    std::string& system = tables->toSystem[static_cast<std::size_t>(b)];
                    enc.appendCodePoint(cps[0], system);
                    tables->fromCodePoint.emplace(cps[0], byte);
                }
                enc.singleByte_ = tables;
            }
        }
    }
    auto fromCp1251 = std::make_shared<std::array<std::string, 128>>();
    for (int b = 0x80; b < 0x100; ++b) {
        const char32_t cp = codePointFromCp1251(static_cast<unsigned char>(b));
        enc.encodeCodePoint(cp, unicodeEscape(cp), (*fromCp1251)[static_cast<std::size_t>(b - 0x80)]);
    }
    enc.fromCp1251_ = fromCp1251;
    return enc;
}

std::string TextEncoding::name() const {
    if (utf8_) return "UTF-8";
    return "code page " + std::to_string(number_);
}

namespace {

bool hasEscape(std::string_view raw) {
    for (std::size_t i = raw.find('\\'); i != std::string_view::npos; i = raw.find('\\', i + 1))
        if (i + 2 < raw.size() && (raw[i + 1] == 'U' || raw[i + 1] == 'M') && raw[i + 2] == '+') return true;
    return false;
}

// The code page of a multi-byte escape's number: 1 Japanese, 2 traditional
// Chinese, 3 Korean (Wansung), 4 Korean (Johab), 5 simplified Chinese.
const text::CodePage* multiBytePage(int n) {
    static const unsigned numbers[] = {932, 950, 949, 1361, 936};
    static std::mutex lock;
    static std::map<int, std::unique_ptr<text::CodePage>> pages;
    if (n < 1 || n > 5) return nullptr;
    std::lock_guard<std::mutex> hold(lock);
    auto& page = pages[n];
    if (!page) page = text::CodePage::open(numbers[n - 1]);
    return page.get();
}

// The character of a `\M+nXXXX` escape at text[at] (n the code page, XXXX
// the character's two bytes there), or nothing.
std::optional<char32_t> multiByteEscapeAt(std::string_view text, std::size_t at) {
    if (at + 8 > text.size() || text[at] != '\\' || text[at + 1] != 'M' || text[at + 2] != '+') return std::nullopt;
    const text::CodePage* page = multiBytePage(text[at + 3] - '0');
    int bytes = 0;
    for (std::size_t i = at + 4; i < at + 8; ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0) return std::nullopt;
        bytes = bytes * 16 + d;
    }
    if (page == nullptr) return std::nullopt;
    const char pair[2] = {static_cast<char>(bytes >> 8), static_cast<char>(bytes & 0xFF)};
    std::u32string cps;
    if (page->decode(std::string_view(pair, 2), cps) != text::CodePage::npos || cps.size() != 1) return std::nullopt;
    return cps[0];
}

// A `\U+XXXX` escape of a character CP1251 has becomes that character; a
// `\M+nXXXX` escape becomes its character, or its `\U+XXXX` escape.
void resolveEscapes(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\\') {
            out.push_back(text[i++]);
            continue;
        }
        if (const auto cp = escapeAt(text, i)) {
            const int byte = cp1251FromCodePoint(*cp);
            if (byte >= 0 && *cp != 0x98) {
                out.push_back(static_cast<char>(byte));
                i += 7;
                continue;
            }
        } else if (const auto mb = multiByteEscapeAt(text, i)) {
            const int byte = cp1251FromCodePoint(*mb);
            if (byte >= 0 && *mb != 0x98)
                out.push_back(static_cast<char>(byte));
            else
                out += unicodeEscape(*mb);
            i += 8;
            continue;
        }
        out.push_back(text[i++]);
    }
    text = std::move(out);
}

}  // namespace

bool TextEncoding::needsConversion(std::string_view raw) const {
    if (hasEscape(raw)) return true;
    if (identity_) return false;
    for (char c : raw)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

void TextEncoding::appendCodePoint(char32_t cp, std::string& out) const {
    const int b = cp1251FromCodePoint(cp);
    if (b >= 0 && cp != 0x98)
        out.push_back(static_cast<char>(b));
    else
        out += unicodeEscape(cp);
}

std::size_t TextEncoding::decode(std::string_view raw, std::string& out) const {
    if (!hasEscape(raw)) return decodeCharacters(raw, out);
    std::string text;
    const std::size_t bad = decodeCharacters(raw, text);
    resolveEscapes(text);
    out += text;
    return bad;
}

std::size_t TextEncoding::decodeCharacters(std::string_view raw, std::string& out) const {
    if (identity_) {
        out.append(raw);
        return npos;
    }
    if (singleByte_) {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const auto b = static_cast<unsigned char>(raw[i]);
            if (b < 0x80) {
                out.push_back(raw[i]);
            } else {
                if (!singleByte_->defined[b]) return i;
                out += singleByte_->toSystem[b];
            }
        }
        return npos;
    }
    if (utf8_) {
        for (std::size_t i = 0; i < raw.size();) {
            const std::size_t at = i;
            const auto cp = strictUtf8(raw, i);
            if (!cp) return at;
            appendCodePoint(*cp, out);
        }
        return npos;
    }
    std::u32string cps;
    const std::size_t bad = page_->decode(raw, cps);
    for (char32_t cp : cps) appendCodePoint(cp, out);
    return bad == text::CodePage::npos ? npos : bad;
}

void TextEncoding::encodeCodePoint(char32_t cp, std::string_view escape, std::string& out) const {
    if (utf8_) {
        if (isSurrogate(cp) || cp > 0x10FFFF)
            out.append(escape);
        else
            appendUtf8(cp, out);
        return;
    }
    if (singleByte_) {
        const auto it = singleByte_->fromCodePoint.find(cp);
        if (it != singleByte_->fromCodePoint.end())
            out.push_back(it->second);
        else
            out.append(escape);
        return;
    }
    if (page_ == nullptr || isSurrogate(cp) || !page_->encode(cp, out)) out.append(escape);
}

void TextEncoding::encode(std::string_view text, std::string& out) const {
    if (identity_) {
        out.append(text);
        return;
    }
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b >= 0x80) {
            out += (*fromCp1251_)[b - 0x80];
            ++i;
            continue;
        }
        const auto cp = b == '\\' ? escapeAt(text, i) : std::nullopt;
        if (!cp) {
            out.push_back(text[i++]);
            continue;
        }
        std::size_t length = 7;
        char32_t full = *cp;
        if (*cp >= 0xD800 && *cp <= 0xDBFF) {
            if (const auto low = escapeAt(text, i + 7); low && *low >= 0xDC00 && *low <= 0xDFFF) {
                full = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                length = 14;
            }
        }
        encodeCodePoint(full, text.substr(i, length), out);
        i += length;
    }
}

}  // namespace kestrin::dxf
