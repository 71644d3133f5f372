#include "render/TextCodes.h"

#include <gtest/gtest.h>

namespace kestrin::render {
namespace {

std::vector<std::pair<TextItem::Kind, int>> items(std::string_view s) {
    std::vector<std::pair<TextItem::Kind, int>> out;
    for (const TextItem& i : parseTextCodes(s)) out.emplace_back(i.kind, i.value);
    return out;
}

using K = TextItem::Kind;

TEST(TextCodes, EscapesOfCharactersTheCodePageLacks) {
    EXPECT_EQ(items("a\\U+2264b"), (std::vector<std::pair<K, int>>{{K::Byte, 'a'}, {K::Unicode, 0x2264}, {K::Byte, 'b'}}));
    EXPECT_EQ(items("\\u+00e9"), (std::vector<std::pair<K, int>>{{K::Unicode, 0xE9}})) << "either case";
    // \M+n: a double-byte character of code page n; 1 is Japanese (932): 82A0 is HIRAGANA A.
    EXPECT_EQ(items("\\M+182A0"), (std::vector<std::pair<K, int>>{{K::Unicode, 0x3042}}));
    EXPECT_EQ(items("\\M+5B0A1"), (std::vector<std::pair<K, int>>{{K::Unicode, 0x554A}})) << "5 is GB (936)";
    // Not well formed: typed as it stands.
    EXPECT_EQ(items("\\U+12G4").size(), 7u);
    EXPECT_EQ(items("\\U+12").size(), 5u);
    EXPECT_EQ(items("\\M+9ABCD").size(), 8u) << "no code page 9";
    EXPECT_EQ(items("\\P").size(), 2u) << "no code of single-line text";
}

TEST(TextCodes, ControlCodes) {
    EXPECT_EQ(items("%%c%%D%%p%%o%%U%%%"),
              (std::vector<std::pair<K, int>>{{K::Symbol, 'c'}, {K::Symbol, 'd'}, {K::Symbol, 'p'}, {K::Over, 0},
                                              {K::Under, 0}, {K::Byte, '%'}}));
    EXPECT_EQ(items("%%1234"), (std::vector<std::pair<K, int>>{{K::Shape, 123}, {K::Byte, '4'}}));
    EXPECT_EQ(items("\xc0"), (std::vector<std::pair<K, int>>{{K::Byte, 0xC0}})) << "bytes stay bytes";
}

}  // namespace
}  // namespace kestrin::render
