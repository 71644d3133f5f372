// Strings of a file in its encoding, as the system holds them in CP1251, and back.
#include "host/dxf/TextEncoding.h"

#include <gtest/gtest.h>

#include "base/Cp1251.h"

using namespace kestrin;
using namespace kestrin::dxf;

namespace {

TextEncoding encodingOf(const char* version, const char* codePage) {
    const auto enc = TextEncoding::forFile(*versionByName(version), codePage);
    EXPECT_TRUE(enc) << version << " " << codePage;
    return enc ? *enc : *TextEncoding::forFile(r2000(), "");
}

std::string decoded(const TextEncoding& enc, std::string_view raw) {
    std::string out;
    EXPECT_EQ(enc.decode(raw, out), TextEncoding::npos) << raw;
    return out;
}

std::string encoded(const TextEncoding& enc, std::string_view text) {
    std::string out;
    enc.encode(text, out);
    return out;
}

}  // namespace

TEST(TextEncoding, SingleBytePagesMapIntoCp1251OrEscapesAndBack) {
    struct Case {
        const char* page;
        std::string_view raw, system;
    };
    const Case cases[] = {
        {"ANSI_1252", "a\xE9z\x80", "a\\U+00E9z\x88"},  // é lacks in CP1251; € is 0x88 there
        {"ANSI_1250", "\x8A\xB0", "\\U+0160\xB0"},      // Š lacks; ° stays
        {"ANSI_1253", "\xC1\xB1", "\\U+0391\xB1"},      // Greek Alpha lacks; ± stays
        {"ansi_1257", "\xC0\xA7", "\\U+0104\xA7"},      // Ą lacks; § stays
        {"dos866", "\x84\xE0", "\xC4\xF0"},             // DOS Cyrillic Д р
        {"ISO8859-5", "\xB4", "\xC4"},                  // ISO Cyrillic Д
    };
    for (const Case& c : cases) {
        const TextEncoding enc = encodingOf("R2000", c.page);
        EXPECT_EQ(decoded(enc, c.raw), c.system) << c.page;
        EXPECT_EQ(encoded(enc, c.system), c.raw) << c.page;
    }
}

TEST(TextEncoding, BytesTheEncodingLeavesUndefinedAreRefusedWithTheirOffset) {
    std::string out;
    EXPECT_EQ(encodingOf("R2000", "ANSI_1252").decode("ok\x81", out), 2u);
    EXPECT_EQ(encodingOf("R2018", "").decode("ok \xD0", out), 3u);                 // a truncated sequence
    EXPECT_EQ(encodingOf("R2018", "").decode("\xC0\xAF", out), 0u);               // an overlong '/'
    EXPECT_EQ(encodingOf("R2004", "ANSI_932").decode("\x93\xFA\x93", out), 2u);   // a lead byte at the end
}

TEST(TextEncoding, MultiBytePagesAndUtf8KeepEveryCharacter) {
    const TextEncoding sjis = encodingOf("R2004", "ANSI_932");
    EXPECT_EQ(decoded(sjis, "\x93\xFA\x96\x7B A"), "\\U+65E5\\U+672C A");
    EXPECT_EQ(encoded(sjis, "\\U+65E5\\U+672C A"), "\x93\xFA\x96\x7B A");

    // From R2007 on a file is UTF-8 whatever its $DWGCODEPAGE says.
    const TextEncoding utf8 = encodingOf("R2018", "ANSI_1252");
    const std::string raw = "\xE2\x89\xA4 \xD0\x94 \xE2\x9C\x93 \xF0\x9F\x98\x80";  // ≤ Д ✓ and U+1F600
    const std::string system = "\\U+2264 \xC4 \\U+2713 \\U+D83D\\U+DE00";
    EXPECT_EQ(decoded(utf8, raw), system);
    EXPECT_EQ(encoded(utf8, system), raw);
}

TEST(TextEncoding, TheSystemsCharactersTakeTheFilesFormOrAnEscape) {
    // A Cyrillic letter typed into a text of a 1252 file has no byte there.
    EXPECT_EQ(encoded(encodingOf("R2000", "ANSI_1252"), "\xC4"), "\\U+0414");
    // An escape the file's page can write becomes its character; one it cannot stays.
    EXPECT_EQ(encoded(encodingOf("R2000", "ANSI_1252"), "\\U+00E9\\U+4E2D"), "\xE9\\U+4E2D");
    // Malformed escapes and a lone surrogate are plain text.
    EXPECT_EQ(encoded(encodingOf("R2018", ""), "\\U+12 \\U+D83D x"), "\\U+12 \\U+D83D x");
    // CP1251 itself and ASCII keep every byte, escapes included.
    const TextEncoding own = encodingOf("R2000", "ANSI_1251");
    EXPECT_TRUE(own.isIdentity());
    EXPECT_TRUE(encodingOf("R12", "ASCII").isIdentity());
    EXPECT_EQ(encoded(own, "\\U+0414\x98"), "\\U+0414\x98");
    EXPECT_FALSE(own.needsConversion("\xC4 plain"));
}

TEST(TextEncoding, EscapesOfCharactersCp1251HasAreTheCharacters) {
    // Other programs escape Cyrillic in files of code page 1252; the system
    // holds the letters (the file keeps its escapes through Verbatim).
    const TextEncoding w1252 = encodingOf("R2000", "ANSI_1252");
    EXPECT_EQ(decoded(w1252, "\\U+0414\\u+0414\\U+041c \\U+2264"), "\xC4\\u+0414\xCC \\U+2264");
    const TextEncoding own = encodingOf("R2000", "ANSI_1251");
    EXPECT_TRUE(own.needsConversion("x \\U+0414"));
    EXPECT_EQ(decoded(own, "\\U+0414 \\U+00e9"), "\xC4 \\U+00e9");
    EXPECT_EQ(decoded(encodingOf("R2018", ""), "\\U+0414\xD0\x94"), "\xC4\xC4");
    // A multi-byte escape: 0x93FA in Japanese (1) is U+65E5; 0x8444 there is Cyrillic Д.
    EXPECT_EQ(decoded(own, "\\M+193FA \\M+18444 \\M+9ABCD"), "\\U+65E5 \xC4 \\M+9ABCD");
}

TEST(TextEncoding, CodePageNames) {
    EXPECT_EQ(TextEncoding::codePageNumber("ANSI_936"), 936u);
    EXPECT_EQ(TextEncoding::codePageNumber("DOS866"), 866u);
    EXPECT_EQ(TextEncoding::codePageNumber("iso8859_1"), 28591u);
    EXPECT_EQ(TextEncoding::codePageNumber("BIG5"), 950u);
    EXPECT_EQ(TextEncoding::codePageNumber("KSC5601"), 949u);
    EXPECT_EQ(TextEncoding::codePageNumber("ANSI_1200"), std::nullopt);  // reserved for Unicode
    EXPECT_EQ(TextEncoding::codePageNumber("KOI8"), std::nullopt);
    EXPECT_EQ(TextEncoding::codePageNumber("ANSI_"), std::nullopt);
    EXPECT_FALSE(TextEncoding::forFile(r2000(), "KOI8"));
    EXPECT_TRUE(TextEncoding::forFile(*versionByName("R2010"), "KOI8"));  // not read from R2007 on
}
