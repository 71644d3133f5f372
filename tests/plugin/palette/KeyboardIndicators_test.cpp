#include "plugin/palette/KeyboardIndicators.h"

#include "tests/plugin/palette/PaletteTestSupport.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

using Indicators = PaletteFieldTest;

TEST_F(Indicators, CapsAndNumShowOnlyWhenToggledAndNotHeld) {
    auto& kb = keyboard::Keyboard::instance();
    std::string capsOn, numOn, capsHeld, numOff;
    run({"caps on", "num on", "key home",
         [&] {
             capsOn = text(8053);
             numOn = text(8057);
         },
         [&] { kb.setHeld(VK_CAPITAL, true); }, "key home", [&] { capsHeld = text(8053); },
         [&] { kb.setHeld(VK_CAPITAL, false); }, "num off", "key home", [&] { numOff = text(8057); }});
    EXPECT_EQ(capsOn, "CAP");
    EXPECT_EQ(numOn, "NUM");
    EXPECT_EQ(capsHeld, "") << "state byte 0x81 is not exactly 1";
    EXPECT_EQ(numOff, "");
}

TEST_F(Indicators, LanguageFollowsTheLastThreeDigitsOfTheLayout) {
    std::string us, russian, variant, other;
    run({"layouts 00000409 00000419 00010419 00000422", "layout 00000409", "key home", [&] { us = text(8056); },
         "layout 00000419", "key home", [&] { russian = text(8056); }, "layout 00010419", "key home",
         [&] { variant = text(8056); }, "layout 00000422", "key home", [&] { other = text(8056); }});
    EXPECT_EQ(us, "LAT");
    EXPECT_EQ(russian, "RUS");
    EXPECT_EQ(variant, "RUS");
    EXPECT_EQ(other, "LAT");
}

TEST_F(Indicators, TheyAreSetWhenTheDialogOpensAndAtTheFirstMessage) {
    keyboard::Keyboard::instance().setToggled(VK_CAPITAL, true);
    std::string caps, language;
    // The language field is also exchanged with its member, which the
    // opening writes; the first message shows the layout again.
    run({[&] { caps = text(8053); }, "key home", [&] { language = text(8056); }});
    EXPECT_EQ(caps, "CAP");
    EXPECT_EQ(language, "LAT");
}

TEST_F(Indicators, ClickingTheLanguageAlternatesTheFirstTwoLayouts) {
    std::string afterFirst, afterSecond, shown;
    bool textFocused = false;
    run({"layouts 00000409 00000419", "layout 00000409", "click 8056",
         [&] {
             afterFirst = keyboard::Keyboard::instance().activeLayout();
             textFocused = focused(kText);
         },
         "key home", [&] { shown = text(8056); }, "click 8056",
         [&] { afterSecond = keyboard::Keyboard::instance().activeLayout(); }});
    EXPECT_EQ(afterFirst, "00000419");
    EXPECT_EQ(shown, "RUS");
    EXPECT_TRUE(textFocused);
    EXPECT_EQ(afterSecond, "00000409");
}

TEST_F(Indicators, WithOneLayoutTheSwitchLeavesItAlone) {
    std::string active;
    bool textFocused = false;
    run({"layouts 00000419", "layout 00000419", "click 8056", [&] {
             active = keyboard::Keyboard::instance().activeLayout();
             textFocused = focused(kText);
         }});
    EXPECT_EQ(active, "00000419");
    EXPECT_TRUE(textFocused);
}

}  // namespace
