#include "platform/ui/TextCompare.h"

namespace kestrin::ui {

namespace {
unsigned char lower(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);
    if (c == 0xA8) return 0xB8;  // Ё
    return c;
}
unsigned char upper(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0) return static_cast<unsigned char>(c - 32);
    if (c == 0xB8) return 0xA8;  // ё
    return c;
}
// Ё sorts with Е, as people expect in a list.
int rank(unsigned char c) {
    c = lower(c);
    if (c == 0xB8) return 0xE5 * 2 + 1;
    return c * 2;
}
}  // namespace

std::string lowerCp1251(std::string s) {
    for (char& c : s) c = static_cast<char>(lower(static_cast<unsigned char>(c)));
    return s;
}

std::string upperCp1251(std::string s) {
    for (char& c : s) c = static_cast<char>(upper(static_cast<unsigned char>(c)));
    return s;
}

int compareNoCase(const std::string& a, const std::string& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int d = rank(static_cast<unsigned char>(a[i])) - rank(static_cast<unsigned char>(b[i]));
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace kestrin::ui
