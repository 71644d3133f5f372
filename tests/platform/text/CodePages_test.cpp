#include "platform/text/CodePages.h"

#include <gtest/gtest.h>

using kestrin::text::CodePage;

namespace {

std::u32string decoded(const CodePage& page, std::string_view bytes, std::size_t* bad = nullptr) {
    std::u32string out;
    const std::size_t at = page.decode(bytes, out);
    if (bad != nullptr) *bad = at;
    return out;
}

}  // namespace

TEST(CodePages, SingleByteDecodesAndStopsAtAnUndefinedByte) {
    const auto page = CodePage::open(1252);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(decoded(*page, "caf\xE9 \x80"), U"caf\u00E9 \u20AC");
    std::size_t bad = 0;
    EXPECT_EQ(decoded(*page, "ab\x81z", &bad), U"ab");  // 0x81 is unassigned in 1252
    EXPECT_EQ(bad, 2u);
}

TEST(CodePages, MultiByteCharactersAndATruncatedOne) {
    const auto sjis = CodePage::open(932);
    ASSERT_NE(sjis, nullptr);
    std::size_t bad = 0;
    EXPECT_EQ(decoded(*sjis, "\x93\xFA\x96\x7B", &bad), U"\u65E5\u672C");
    EXPECT_EQ(bad, CodePage::npos);
    EXPECT_EQ(decoded(*sjis, "A\x93", &bad), U"A");  // a lead byte with nothing after it
    EXPECT_EQ(bad, 1u);
    const auto gbk = CodePage::open(936);
    ASSERT_NE(gbk, nullptr);
    std::string out;
    EXPECT_TRUE(gbk->encode(U'\u4E2D', out));
    EXPECT_EQ(out, "\xD6\xD0");
}

TEST(CodePages, Utf8RefusesMalformedSequences) {
    const auto utf8 = CodePage::open(65001);
    ASSERT_NE(utf8, nullptr);
    std::size_t bad = 0;
    EXPECT_EQ(decoded(*utf8, "\xE2\x89\xA4 ok", &bad), U"\u2264 ok");
    EXPECT_EQ(bad, CodePage::npos);
    decoded(*utf8, "ok\xC0\x80", &bad);  // an overlong NUL
    EXPECT_EQ(bad, 2u);
    decoded(*utf8, "\xED\xA0\x80", &bad);  // a surrogate
    EXPECT_EQ(bad, 0u);
}

TEST(CodePages, EncodingACharacterThePageLacksAppendsNothing) {
    const auto page = CodePage::open(1252);
    ASSERT_NE(page, nullptr);
    std::string out = "x";
    EXPECT_FALSE(page->encode(U'\u0414', out));
    EXPECT_EQ(out, "x");
    EXPECT_TRUE(page->encode(U'\u20AC', out));
    EXPECT_EQ(out, "x\x80");
    const auto dos = CodePage::open(866);
    ASSERT_NE(dos, nullptr);
    EXPECT_EQ(decoded(*dos, "\x84"), U"\u0414");
}

TEST(CodePages, LongTextDecodesWhole) {
    const auto page = CodePage::open(1251);
    ASSERT_NE(page, nullptr);
    const std::string text(5000, '\xC4');
    const std::u32string out = decoded(*page, text);
    EXPECT_EQ(out, std::u32string(5000, U'\u0414'));
}

TEST(CodePages, UnknownNumberIsNone) { EXPECT_EQ(CodePage::open(4242), nullptr); }
