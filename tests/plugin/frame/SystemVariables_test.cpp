// Readers answer 0 or 3 and keep the out value on 3; writers send numbers as
// reals and strings as text, true exactly when the host took the value.
#include "plugin/frame/SystemVariables.h"

#include "base/Cp1251.h"
#include "tests/plugin/frame/PluginFixture.h"

using namespace kestrin;
using namespace kestrin::literals;

namespace {

class SystemVariables : public test::PluginTest {};

TEST_F(SystemVariables, ReadersGiveTheDrawingsValues) {
    double size = 0;
    std::string style;
    int tileMode = -1, osmode = -1;
    EXPECT_EQ(getRealVar("TEXTSIZE", size), kVarOk);
    EXPECT_DOUBLE_EQ(size, 2.5);
    EXPECT_EQ(getStringVar("TEXTSTYLE", style), kVarOk);
    EXPECT_EQ(style, "Standard");
    EXPECT_EQ(getShortVar("TILEMODE", tileMode), kVarOk);
    EXPECT_EQ(tileMode, 1);
    EXPECT_EQ(getShortVar("osmode", osmode), kVarOk);
    EXPECT_EQ(osmode, 37);
}

TEST_F(SystemVariables, RefusedOrMistypedVariablesAnswer3AndKeepTheValue) {
    double real = 9;
    std::string text = "kept";
    int number = 9;
    EXPECT_EQ(getRealVar("NOSUCHVARIABLE", real), kVarRefused);
    EXPECT_EQ(getShortVar("NOSUCHVARIABLE", number), kVarRefused);
    EXPECT_EQ(getStringVar("NOSUCHVARIABLE", text), kVarRefused);
    // A variable of another type is not reinterpreted.
    EXPECT_EQ(getRealVar("TEXTSTYLE", real), kVarRefused);
    EXPECT_EQ(getShortVar("TEXTSIZE", number), kVarRefused);
    EXPECT_EQ(getStringVar("TILEMODE", text), kVarRefused);
    EXPECT_EQ(real, 9);
    EXPECT_EQ(number, 9);
    EXPECT_EQ(text, "kept");

    host::HostState::instance().working = nullptr;
    EXPECT_EQ(getRealVar("TEXTSIZE", real), kVarRefused);
    EXPECT_EQ(real, 9);
}

TEST_F(SystemVariables, NumbersAreWrittenAsRealsAlsoForIntegerVariables) {
    int ortho = -1;
    EXPECT_TRUE(setRealVar("orthomode", 1));
    EXPECT_EQ(getShortVar("ORTHOMODE", ortho), kVarOk);
    EXPECT_EQ(ortho, 1);
    // Only a real can carry a fraction: the host refuses it for an integer.
    EXPECT_FALSE(setRealVar("orthomode", 0.5));
    EXPECT_EQ(getShortVar("ORTHOMODE", ortho), kVarOk);
    EXPECT_EQ(ortho, 1);

    EXPECT_TRUE(setRealVar("TEXTSIZE", 7));
    double size = 0;
    getRealVar("TEXTSIZE", size);
    EXPECT_DOUBLE_EQ(size, 7);
    EXPECT_FALSE(setRealVar("TEXTSIZE", 0));
    getRealVar("TEXTSIZE", size);
    EXPECT_DOUBLE_EQ(size, 7);
}

TEST_F(SystemVariables, StringsAreWrittenAsText) {
    EXPECT_TRUE(setStringVar("TEXTSTYLE", "Чертёжный"_cp));
    std::string style;
    getStringVar("TEXTSTYLE", style);
    EXPECT_EQ(style, "Чертёжный"_cp);
    EXPECT_FALSE(setStringVar("TEXTSTYLE", "NoSuchStyle"));
    EXPECT_FALSE(setStringVar("TEXTSIZE", "3"));
    getStringVar("TEXTSTYLE", style);
    EXPECT_EQ(style, "Чертёжный"_cp);
}

}  // namespace
