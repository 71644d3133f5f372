#include "render/TextCodes.h"

#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/text/CodePages.h"

namespace kestrin::render {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Four hex digits at `at`, or -1.
long hex4(std::string_view s, std::size_t at) {
    if (at + 4 > s.size()) return -1;
    long v = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const int d = hexDigit(s[at + k]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

}  // namespace

char32_t multiByteCharacter(int page, unsigned code) {
    static const unsigned kPages[] = {0, 932, 950, 949, 1361, 936};
    if (page < 1 || page > 5 || code > 0xFFFF) return 0;
    static std::mutex lock;
    static std::map<int, std::unique_ptr<text::CodePage>> open;
    std::lock_guard<std::mutex> hold(lock);
    auto& cp = open[page];
    if (!cp) cp = text::CodePage::open(kPages[page]);
    if (!cp) return 0;
    std::string bytes;
    if (code > 0xFF) bytes += static_cast<char>(code >> 8);
    bytes += static_cast<char>(code & 0xFF);
    std::u32string out;
    if (cp->decode(bytes, out) != text::CodePage::npos || out.size() != 1) return 0;
    return out[0];
}

std::vector<TextItem> parseTextCodes(std::string_view s) {
    std::vector<TextItem> items;
    const std::size_t n = s.size();
    items.reserve(n);  // at most one a byte
    for (std::size_t i = 0; i < n;) {
        if (s[i] == '\\' && i + 2 < n && s[i + 2] == '+') {
            const char k = s[i + 1];
            if (k == 'U' || k == 'u') {
                const long cp = hex4(s, i + 3);
                if (cp >= 0) {
                    items.push_back({TextItem::Unicode, static_cast<int>(cp)});
                    i += 7;
                    continue;
                }
            } else if ((k == 'M' || k == 'm') && i + 3 < n && s[i + 3] >= '1' && s[i + 3] <= '5') {
                const long code = hex4(s, i + 4);
                const char32_t cp = code >= 0 ? multiByteCharacter(s[i + 3] - '0', static_cast<unsigned>(code)) : 0;
                if (cp != 0) {
                    items.push_back({TextItem::Unicode, static_cast<int>(cp)});
                    i += 8;
                    continue;
                }
            }
        }
        if (s[i] == '%' && i + 2 < n && s[i + 1] == '%') {
            const char c = s[i + 2];
            if (std::isdigit(static_cast<unsigned char>(c))) {
                int value = 0;
                std::size_t j = i + 2;
                while (j < n && j < i + 5 && std::isdigit(static_cast<unsigned char>(s[j]))) value = value * 10 + (s[j++] - '0');
                items.push_back({TextItem::Shape, value});
                i = j;
                continue;
            }
            switch (std::tolower(static_cast<unsigned char>(c))) {
                case 'c': case 'd': case 'p':
                    items.push_back({TextItem::Symbol, std::tolower(static_cast<unsigned char>(c))});
                    i += 3;
                    continue;
                case 'o':
                    items.push_back({TextItem::Over, 0});
                    i += 3;
                    continue;
                case 'u':
                    items.push_back({TextItem::Under, 0});
                    i += 3;
                    continue;
                case '%':
                    items.push_back({TextItem::Byte, '%'});
                    i += 3;
                    continue;
                default:
                    break;
            }
        }
        items.push_back({TextItem::Byte, static_cast<unsigned char>(s[i])});
        ++i;
    }
    return items;
}

}  // namespace kestrin::render
