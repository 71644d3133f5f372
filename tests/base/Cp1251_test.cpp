#include "base/Cp1251.h"

#include <gtest/gtest.h>

using namespace kestrin;

TEST(Cp1251Literal, GivesCodePageBytesAtCompileTime) {
    constexpr const char* s = "Строки"_cp;
    EXPECT_STREQ(s, "\xD1\xF2\xF0\xEE\xEA\xE8");
    EXPECT_STREQ("Ёё№ Х"_cp, "\xA8\xB8\xB9\x20\xD5");
    EXPECT_STREQ("%%c ascii"_cp, "%%c ascii");
    static_assert("Ж"_cp[0] == '\xC6');
}

TEST(Cp1251Conversion, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = cp1251ToUtf8(all);
    EXPECT_EQ(utf8ToCp1251(utf8), all);
    EXPECT_TRUE(representableInCp1251(utf8));
}

TEST(Cp1251Conversion, KnownCharactersMapToTheirCodePoints) {
    EXPECT_EQ(cp1251ToUtf8("\xC0\xFF\xA8\xB9\x88"), "АяЁ№€");
    EXPECT_EQ(utf8ToCp1251("Привет, Мир"), "\xCF\xF0\xE8\xE2\xE5\xF2, \xCC\xE8\xF0");
}

TEST(Cp1251Conversion, MissingCharacterIsNamedWithItsOffset) {
    try {
        utf8ToCp1251("ab✓c");
        FAIL() << "no error";
    } catch (const EncodingError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("U+2713"), std::string::npos) << msg;
        EXPECT_NE(msg.find("offset 2"), std::string::npos) << msg;
    }
    EXPECT_FALSE(representableInCp1251("日本"));
    EXPECT_THROW(utf8ToCp1251("bad \xFF byte"), EncodingError);
    EXPECT_THROW(utf8ToCp1251("cut \xD0"), EncodingError);
}
