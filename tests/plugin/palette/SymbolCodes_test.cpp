#include "plugin/palette/SymbolCodes.h"

#include <set>

#include "tests/plugin/palette/PaletteTestSupport.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

TEST(SymbolTable, HoldsFiftyThreeButtonsOfFourKindsCoveredByTheMessageTableRanges) {
    std::set<int> ids, ranged;
    int counts[4] = {};
    for (const SymbolButton& b : symbolButtons()) {
        EXPECT_TRUE(ids.insert(b.id).second) << "duplicate " << b.id;
        ++counts[static_cast<int>(b.kind)];
        EXPECT_EQ(findSymbolButton(b.id), &b);
    }
    EXPECT_EQ(ids.size(), 53u);
    EXPECT_EQ(counts[static_cast<int>(SymbolKind::Mode)], 4);
    EXPECT_EQ(counts[static_cast<int>(SymbolKind::Dual)], 3);
    EXPECT_EQ(counts[static_cast<int>(SymbolKind::OwnFont)], 16);
    EXPECT_EQ(counts[static_cast<int>(SymbolKind::Greek)], 30);
    for (const IdRange& r : kSymbolButtonRanges)
        for (int id = r.first; id <= r.last; ++id) EXPECT_TRUE(ranged.insert(id).second) << id;
    EXPECT_EQ(ranged, ids) << "the ranges bind exactly the symbol buttons";
    EXPECT_EQ(findSymbolButton(8085), nullptr);
    EXPECT_EQ(findSymbolButton(8041), nullptr);
}

TEST(SymbolTable, ModeButtonsMapToTheirOwnStates) {
    EXPECT_EQ(modeStateIndex(8029), 0);
    EXPECT_EQ(modeStateIndex(8032), 3);
    EXPECT_EQ(modeStateIndex(8033), -1);
    EXPECT_EQ(modeStateIndex(8028), -1);
}

constexpr int kUp[4] = {0, 0, 0, 0};
constexpr int kAllDown[4] = {1, 1, 1, 1};

TEST(SymbolClick, OwnFontButtonsInsertOnlyWhileTheStyleBoxReadsZorExactly) {
    for (const SymbolButton& b : symbolButtons()) {
        if (b.kind != SymbolKind::OwnFont) continue;
        EXPECT_EQ(symbolClickCode(b.id, kUp, "Standard", "ZOR"), b.code) << b.id;
        for (const char* box : {"zor", "Standard", ""})
            EXPECT_EQ(symbolClickCode(b.id, kUp, "ZOR", box), "") << b.id << " under " << box;
    }
    EXPECT_EQ(symbolClickCode(8012, kUp, "", "ZOR"), "%%142");
}

TEST(SymbolClick, DualButtonsFollowTheKeptStyleNotTheStyleBox) {
    EXPECT_EQ(symbolClickCode(8042, kUp, "ZOR", "Standard"), "%%95");
    EXPECT_EQ(symbolClickCode(8039, kUp, "ZOR", "Standard"), "%%127");
    EXPECT_EQ(symbolClickCode(8033, kUp, "ZOR", "Standard"), "%%36");
    EXPECT_EQ(symbolClickCode(8042, kUp, "zor", "ZOR"), "%%p");
    EXPECT_EQ(symbolClickCode(8039, kUp, "zor", "ZOR"), "%%d");
    EXPECT_EQ(symbolClickCode(8033, kUp, "", "ZOR"), "%%c");
}

TEST(SymbolClick, EachModeButtonOpensOrClosesByItsOwnStateBeforeTheClick) {
    EXPECT_EQ(symbolClickCode(8029, kUp, "", ""), "%%172");
    EXPECT_EQ(symbolClickCode(8029, kAllDown, "", ""), "%%173");
    EXPECT_EQ(symbolClickCode(8030, kUp, "", ""), "%%174");
    EXPECT_EQ(symbolClickCode(8030, kAllDown, "", ""), "%%175");
    EXPECT_EQ(symbolClickCode(8031, kUp, "", ""), "%%O");
    EXPECT_EQ(symbolClickCode(8031, kAllDown, "", ""), "%%o");
    EXPECT_EQ(symbolClickCode(8032, kUp, "", ""), "%%U");
    EXPECT_EQ(symbolClickCode(8032, kAllDown, "", ""), "%%u");
    const int onlyUnderlineDown[4] = {0, 0, 0, 1};
    EXPECT_EQ(symbolClickCode(8031, onlyUnderlineDown, "", ""), "%%O") << "another button's state does not count";
    EXPECT_EQ(symbolClickCode(8032, onlyUnderlineDown, "", ""), "%%u");
}

TEST(SymbolClick, GreekButtonsInsertUnderAnyStyleAndOtherIdsNothing) {
    for (const SymbolButton& b : symbolButtons()) {
        if (b.kind != SymbolKind::Greek) continue;
        EXPECT_EQ(symbolClickCode(b.id, kUp, "zor", ""), b.code) << b.id;
    }
    EXPECT_EQ(symbolClickCode(8041, kUp, "ZOR", "ZOR"), "");
    EXPECT_EQ(symbolClickCode(8085, kUp, "ZOR", "ZOR"), "");
}

using SymbolButtons = PaletteFieldTest;

TEST_F(SymbolButtons, OwnFontButtonsInsertUnderZorAndTakeTheFocusToTheText) {
    std::vector<Step> steps;
    std::string expected;
    for (const SymbolButton& b : symbolButtons()) {
        if (b.kind != SymbolKind::OwnFont) continue;
        steps.emplace_back("click " + std::to_string(b.id));
        expected += b.code;
    }
    bool textFocused = false;
    steps.emplace_back([&] { textFocused = focused(kText); });
    EXPECT_EQ(run(steps, "ZOR"), expected);
    EXPECT_TRUE(textFocused);
}

TEST_F(SymbolButtons, UnderAnotherStyleOwnFontButtonsLeaveTextAndFocusAlone) {
    bool buttonFocused = false;
    EXPECT_EQ(run({"type \"ab\"", "click 8087", [&] { buttonFocused = focused(8087); }}, "zor"), "ab");
    EXPECT_TRUE(buttonFocused);
}

TEST_F(SymbolButtons, TheDegreeButtonReplacesTheSelectionWithoutAnUndoRecord) {
    bool canUndo = true;
    EXPECT_EQ(run({"type \"abc\"", "select 8019 0 3", "click 8039", [&] { canUndo = paletteControl<CEdit>(*dlg, IDC_TEXT).CanUndo(); }}),
              "%%d");
    EXPECT_FALSE(canUndo) << "the insertion leaves nothing to undo";
}

TEST_F(SymbolButtons, TheDiameterButtonTakesTheKeptStyleAfreshFromTheStyleId) {
    addStyle("ZOR");
    // The record's name is stale after the refresh: the id names ZOR.
    EXPECT_EQ(run({[&] { g_textProperties.styleName = "Standard"; }, "click 8033", "click 8042"}, "ZOR"), "%%36%%95");
}

TEST_F(SymbolButtons, ModeButtonsFollowTheirPressedState) {
    int checkedAfterOpen = -1, checkedAfterClose = -1;
    EXPECT_EQ(run({"click 8029", [&] { checkedAfterOpen = control(8029).button().check; }, "type \"2\"", "click 8029",
                   [&] { checkedAfterClose = control(8029).button().check; }},
                  "ZOR"),
              "%%1722%%173");
    EXPECT_EQ(checkedAfterOpen, 1);
    EXPECT_EQ(checkedAfterClose, 0);
}

}  // namespace
