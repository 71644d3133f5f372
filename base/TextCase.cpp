#include "base/TextCase.h"

namespace kestrin {

namespace {
// Place of a byte in list order: its lower-case letter, with ё between е and ж.
int rank(char c) {
    const auto lower = static_cast<unsigned char>(lowerLetter(c));
    constexpr unsigned char kE = 0xE5, kYo = 0xB8;  // е, ё
    if (lower == kYo) return kE * 2 + 1;
    return lower * 2;
}
}  // namespace

std::string foldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerLetter(c);
    return out;
}

std::string upperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = upperLetter(c);
    return out;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerLetter(a[i]) != lowerLetter(b[i])) return false;
    return true;
}

int compareIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int d = rank(a[i]) - rank(b[i]);
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace kestrin
