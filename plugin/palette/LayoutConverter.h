// Rewrites text as if typed with the other keyboard layout (US keys <->
// Russian keys) or with the other letter case, by fixed character tables.
#pragma once

#include <string>


class CLayoutConverter {
public:
    // The 32 Russian letters without Ё and the 26 Latin letters, in keyboard
    // order; position i of one string pairs with position i of the other.
    static const std::string& lowerLetters();
    static const std::string& upperLetters();
    // The characters of the same keys on a US and on a Russian keyboard.
    static const std::string& keyCharacters();
    static const std::string& cyrillicCharacters();

    // Each character found in `from` becomes the `to` character at its first
    // position there; else one found in `to` becomes the `from` character at
    // its first position there; anything else stays.
    std::string mapCharacters(const std::string& text, const std::string& from, const std::string& to) const;
    std::string convertLayout(const std::string& text) const;
    std::string convertCase(const std::string& text) const;
};

enum class SelectionConversion { Layout, Case };

// `text` with the characters from `start` to `end` (clamped to the text)
// converted; with nothing selected the text comes back as it was.
std::string convertSelection(const std::string& text, int start, int end, SelectionConversion conversion);
