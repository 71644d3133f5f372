#include "plugin/palette/SymbolCodes.h"

#include <set>

#include "host/api/Arx.h"
#include "plugin/frame/TextStyles.h"
#include "tests/plugin/palette/KeyboardHelperDialog.h"

using namespace kestrin;
using namespace kestrin::test::helpers;

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

// A style record named `name` in the working drawing.
AcDbObjectId addStyle(const char* name) {
    AcDbTextStyleTable* table = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getTextStyleTable(table, AcDb::kForWrite);
    auto* record = new AcDbTextStyleTableRecord;
    record->setName(name);
    record->setFileName("Zor.shx");
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Acad::eOk);
    record->close();
    table->close();
    return id;
}

using SymbolButtons = HelperTest;

TEST_F(SymbolButtons, OwnFontButtonsInsertTheirCodesUnderZorAndTakeTheFocusToTheText) {
    std::vector<HelperStep> steps;
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
    EXPECT_EQ(expected.substr(0, 5), "%%142");
}

TEST_F(SymbolButtons, OwnFontButtonsDoNothingUnderAnotherStyleOrOtherLetterCase) {
    for (const char* style : {"zor", "Standard", ""}) {
        std::vector<HelperStep> steps{"focus 8019", "type \"ab\""};
        for (const SymbolButton& b : symbolButtons())
            if (b.kind == SymbolKind::OwnFont) steps.emplace_back("click " + std::to_string(b.id));
        bool buttonFocused = false;
        steps.emplace_back([&] { buttonFocused = focused(8087); });
        EXPECT_EQ(run(steps, style), "ab") << style;
        EXPECT_TRUE(buttonFocused) << "the focus stays on the last button clicked under " << style;
    }
}

TEST_F(SymbolButtons, DualButtonsInsertOwnCodesUnderTheKeptStyleZorOnly) {
    g_textProperties.styleName = "ZOR";
    EXPECT_EQ(run({"click 8042", "click 8039"}, "Standard"), "%%95%%127");
    g_textProperties.styleName = "zor";
    EXPECT_EQ(run({"click 8042", "click 8039"}, "ZOR"), "%%p%%d");
}

TEST_F(SymbolButtons, TheDegreeButtonReplacesTheSelectionUnderAnotherStyle) {
    g_textProperties.styleName = "Standard";
    bool canUndo = true;
    EXPECT_EQ(run({"focus 8019", "type \"abc\"", "select 8019 0 3", "click 8039",
                   [&] { canUndo = dialog->m_edtText.CanUndo(); }}),
              "%%d");
    EXPECT_FALSE(canUndo) << "the insertion leaves nothing to undo";
}

TEST_F(SymbolButtons, TheDiameterButtonTakesTheKeptStyleAfreshFromTheStyleId) {
    g_textProperties.styleName = "ZOR";  // stale: the id names Standard
    g_textProperties.styleId = findTextStyle("Standard");
    ASSERT_FALSE(g_textProperties.styleId.isNull());
    EXPECT_EQ(run({"click 8033"}, "ZOR"), "%%c");
    EXPECT_EQ(g_textProperties.styleName, "Standard");

    g_textProperties.styleId = addStyle("ZOR");
    EXPECT_EQ(run({"click 8033", "click 8042"}, "Standard"), "%%36%%95");
}

TEST_F(SymbolButtons, ModeButtonsOpenThenCloseByTheirStateBeforeTheClick) {
    int checkedAfterOpen = -1, checkedAfterClose = -1;
    EXPECT_EQ(run({"click 8029", [&] { checkedAfterOpen = control(8029).button().check; }, "type \"2\"", "click 8029",
                   [&] { checkedAfterClose = control(8029).button().check; }},
                  "ZOR"),
              "%%1722%%173");
    EXPECT_EQ(checkedAfterOpen, 1);
    EXPECT_EQ(checkedAfterClose, 0);
    EXPECT_EQ(run({"click 8030", "click 8030", "click 8031", "type \"x\"", "click 8031", "click 8032", "click 8032"}),
              "%%174%%175%%Ox%%o%%U%%u");
}

TEST_F(SymbolButtons, EachModeButtonDecidesByItsOwnState) {
    EXPECT_EQ(run({"click 8031", "click 8029", "click 8032", "click 8031", "click 8030"}),
              "%%O%%172%%U%%o%%174");
}

TEST_F(SymbolButtons, GreekButtonsInsertUnderAnyStyle) {
    std::vector<HelperStep> steps;
    std::string expected;
    for (const SymbolButton& b : symbolButtons()) {
        if (b.kind != SymbolKind::Greek) continue;
        steps.emplace_back("click " + std::to_string(b.id));
        expected += b.code;
    }
    EXPECT_EQ(run(steps, "Standard"), expected);
    EXPECT_EQ(run({"focus 8019", "type \"ab\"", "select 8019 1 1", "click 8065", "click 8047"}, "zor"),
              "a%%128%%147b");
}

}  // namespace
