// Letter case of CP1251 text: one table for names in the drawing and entries
// of sorted lists.
#include "base/TextCase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using namespace kestrin;

namespace {

std::vector<char> allBytes() {
    std::vector<char> out;
    for (int b = 0; b < 256; ++b) out.push_back(static_cast<char>(b));
    return out;
}

TEST(TextCase, UpperAndLowerAreInversePairsOverTheWholeCodePage) {
    int upperLetters = 0;
    std::set<char> lowers;
    for (const char c : allBytes()) {
        EXPECT_EQ(lowerLetter(upperLetter(c)), lowerLetter(c)) << int(static_cast<unsigned char>(c));
        EXPECT_EQ(upperLetter(lowerLetter(c)), upperLetter(c)) << int(static_cast<unsigned char>(c));
        if (lowerLetter(c) != c) {
            ++upperLetters;
            EXPECT_TRUE(lowers.insert(lowerLetter(c)).second) << "two capitals share a small letter";
        }
    }
    // Latin 26, А-Я 32, Ё, and the 14 letters of the other Cyrillic alphabets.
    EXPECT_EQ(upperLetters, 26 + 32 + 1 + 14);
}

TEST(TextCase, EveryCyrillicLetterOfTheCodePageHasItsCase) {
    EXPECT_EQ(foldCase("ЂЃЄЅІЇЈЉЊЋЌЎЏҐЁ"_cp), "ђѓєѕіїјљњћќўџґё"_cp);
    EXPECT_EQ(upperCase("ђѓєѕіїјљњћќўџґё"_cp), "ЂЃЄЅІЇЈЉЊЋЌЎЏҐЁ"_cp);
    EXPECT_EQ(foldCase("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ Kestrin"_cp),
              "абвгдежзийклмнопрстуфхцчшщъыьэюя kestrin"_cp);
}

TEST(TextCase, SignsDigitsAndUnassignedBytesHaveNoCase) {
    const std::string signs = std::string("0129 _-.,;:!?@[]{}«»№€‰‚„…†‡•–—™"_cp) + "\xA0\x98";  // NBSP, unassigned
    EXPECT_EQ(foldCase(signs), signs);
    EXPECT_EQ(upperCase(signs), signs);
}

TEST(TextCase, EqualityIgnoresCaseOnly) {
    EXPECT_TRUE(equalIgnoringCase("Ўзор-Їжак-Євро-Ірис"_cp, "ЎЗОР-ЇЖАК-ЄВРО-ІРИС"_cp));
    EXPECT_TRUE(equalIgnoringCase("ґанок"_cp, "Ґанок"_cp));
    EXPECT_FALSE(equalIgnoringCase("Ірис"_cp, "Ирис"_cp)) << "І and И are different letters";
    EXPECT_FALSE(equalIgnoringCase("Ёлка"_cp, "Елка"_cp));
    EXPECT_FALSE(equalIgnoringCase("ab", "abc"));
}

TEST(TextCase, ListOrderPutsYoAfterYeAndIsZeroExactlyForEqualNames) {
    std::vector<std::string> names = {"ж"_cp, "Ёж"_cp, "ель"_cp, "Ель"_cp, "Дом"_cp, "Ўзор"_cp, "ЎЗОР"_cp, "b", "A"};
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return compareIgnoringCase(a, b) < 0; });
    // Ў has no place in the Russian alphabet and keeps its code page place, but
    // both cases of it sort together.
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "Ўзор"_cp, "ЎЗОР"_cp, "Дом"_cp, "ель"_cp, "Ель"_cp, "Ёж"_cp,
                                               "ж"_cp}));
    for (const auto& a : names)
        for (const auto& b : names) {
            EXPECT_EQ(compareIgnoringCase(a, b) == 0, equalIgnoringCase(a, b)) << a << " " << b;
            EXPECT_EQ(compareIgnoringCase(a, b) < 0, compareIgnoringCase(b, a) > 0);
        }
    EXPECT_LT(compareIgnoringCase("ab", "abc"), 0);
}

}  // namespace
