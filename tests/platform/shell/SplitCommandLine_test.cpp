#include <gtest/gtest.h>

#include "platform/shell/SplitCommandLine.h"

namespace kestrin::shell {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, AQuotedProgramKeepsItsBlanksAndBackslashes) {
    EXPECT_EQ(splitCommandLine(R"("C:\Program Files\Browser\b.exe"  "a b" c)"),
              (Words{R"(C:\Program Files\Browser\b.exe)", "a b", "c"}));
    EXPECT_EQ(splitCommandLine(R"(C:\Browser\b.exe\ x)"), (Words{R"(C:\Browser\b.exe\)", "x"}));
    EXPECT_EQ(splitCommandLine(R"("my prog"x y)"), (Words{"my progx", "y"}));
}

TEST(SplitCommandLine, UnquotedWordsSplitAtBlanksAndTabs) {
    EXPECT_EQ(splitCommandLine("  prog \t one   two\t"), (Words{"prog", "one", "two"}));
    EXPECT_TRUE(splitCommandLine(" \t ").empty());
    EXPECT_EQ(splitCommandLine(R"(p "")"), (Words{"p", ""}));
}

TEST(SplitCommandLine, BackslashesBeforeAQuoteFollowTheRuntimeRules) {
    EXPECT_EQ(splitCommandLine(R"(p a\\"b c" d)"), (Words{"p", R"(a\b c)", "d"}));
    EXPECT_EQ(splitCommandLine(R"(p a\"b c)"), (Words{"p", R"(a"b)", "c"}));
    EXPECT_EQ(splitCommandLine(R"(p a\\\"b)"), (Words{"p", R"(a\"b)"}));
    EXPECT_EQ(splitCommandLine(R"(p a\b\\c)"), (Words{"p", R"(a\b\\c)"}));
    EXPECT_EQ(splitCommandLine(R"(p "x""y" z)"), (Words{"p", R"(x"y)", "z"}));
    EXPECT_EQ(splitCommandLine(R"(p "open ended)"), (Words{"p", "open ended"}));
}

}  // namespace
}  // namespace kestrin::shell
