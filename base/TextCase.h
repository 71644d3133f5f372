// Letter case of code page 1251 text: the one table every part of the system
// folds names and list entries with, so that a name the drawing treats as
// equal also sorts together in a list. The letters are Latin A-Z and every
// Cyrillic letter of the code page (А-Я, Ё, and Ђ Ѓ Є Ѕ І Ї Ј Љ Њ Ћ Ќ Ў Џ Ґ);
// other bytes have no case.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/Cp1251.h"

namespace kestrin {

namespace detail {

// Unicode's simple case pairs of the letters the code page holds.
constexpr char32_t upperCodePoint(char32_t cp) {
    if (cp >= U'a' && cp <= U'z') return cp - 0x20;
    if (cp >= 0x0430 && cp <= 0x044F) return cp - 0x20;  // а..я
    if (cp >= 0x0450 && cp <= 0x045F) return cp - 0x50;  // ѐ..џ (ё, ђ, ѓ, є, ѕ, і, ї, ј, љ, њ, ћ, ќ, ў, џ)
    if (cp == 0x0491) return 0x0490;                      // ґ
    return cp;
}
constexpr char32_t lowerCodePoint(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
    if (cp >= 0x0410 && cp <= 0x042F) return cp + 0x20;
    if (cp >= 0x0400 && cp <= 0x040F) return cp + 0x50;
    if (cp == 0x0490) return 0x0491;
    return cp;
}

struct CaseTable {
    std::array<unsigned char, 256> lower{}, upper{};
};

constexpr CaseTable makeCaseTable() {
    CaseTable t;
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = codePointFromCp1251(static_cast<unsigned char>(b));
        const int lower = cp1251FromCodePoint(lowerCodePoint(cp));
        const int upper = cp1251FromCodePoint(upperCodePoint(cp));
        t.lower[b] = static_cast<unsigned char>(lower < 0 ? b : lower);
        t.upper[b] = static_cast<unsigned char>(upper < 0 ? b : upper);
    }
    return t;
}

inline constexpr CaseTable kCaseTable = makeCaseTable();

}  // namespace detail

constexpr char lowerLetter(char c) {
    return static_cast<char>(detail::kCaseTable.lower[static_cast<unsigned char>(c)]);
}
constexpr char upperLetter(char c) {
    return static_cast<char>(detail::kCaseTable.upper[static_cast<unsigned char>(c)]);
}

// The text with every letter in lower case: the form names are compared in.
std::string foldCase(std::string_view text);
std::string upperCase(std::string_view text);

bool equalIgnoringCase(std::string_view a, std::string_view b);
// The order of sorted lists: letters compared without case, Ё/ё right after
// Е/е as readers expect; negative, zero or positive as a sorts before, with
// or after b. Zero exactly when equalIgnoringCase(a, b).
int compareIgnoringCase(std::string_view a, std::string_view b);

}  // namespace kestrin
