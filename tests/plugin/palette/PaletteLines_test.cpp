// Line operations: the offset by two points, new lines by a picked point or
// by the offsets, moving a line, starting at a point, editing a picked text.
#include "tests/plugin/palette/PaletteTestSupport.h"

#include <algorithm>

#include "base/Cp1251.h"
#include "host/api/InputRequest.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test;

namespace {

class PaletteLines : public PaletteTest {};

bool saw(const std::vector<std::string>& prompts, const std::string& what) {
    for (const auto& p : prompts)
        if (p.find(what) != std::string::npos) return true;
    return false;
}

// The record of a text as the drawing holds it, every tag in order.
std::string recordOf(AcDbObjectId id) {
    AcDbText* text = nullptr;
    if (acdbOpenObject(text, id, AcDb::kForRead, true) != Acad::eOk) return "(cannot open)";
    const dxf::Record& record = text->dxfRecord();
    std::string out = record.type;
    for (const auto& tag : record.tags) out.append(" ").append(std::to_string(tag.code)).append("=").append(tag.value);
    out.append(text->isErased() ? " erased" : "");
    text->close();
    return out;
}

}  // namespace

TEST_F(PaletteLines, OffsetByTwoPointsShowsWholeNumbersAndStepsTheNextLine) {
    startLine(100, 200);
    const double osmode = realVar("OSMODE");
    runPalette({"type \"one\"", "click 8017", "point 0,0", "point 3,-7.6", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_X), "3");
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_Y), "-7");
                    EXPECT_TRUE(dlg->IsWindowVisible());
                    EXPECT_EQ(dlg->toolTips()->GetToolCount(), 31);  // built anew
                    EXPECT_EQ(realVar("ORTHOMODE"), 0);
                    EXPECT_EQ(realVar("OSMODE"), osmode);
                },
                "click 8024", "type \"two\"", "key enter", "type \"three\"", "click 2"});
    EXPECT_TRUE(saw(prompts, "Первая точка"));
    EXPECT_TRUE(saw(prompts, "Вторая точка"));
    const auto all = texts();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].text, "one");
    EXPECT_EQ(all[1].text, "two");
    EXPECT_EQ(all[1].position.x, 103);
    EXPECT_EQ(all[1].position.y, 193);
    EXPECT_EQ(all[2].text, "three");
    EXPECT_EQ(all[2].position.x, 106);
    EXPECT_EQ(all[2].position.y, 186);
}

TEST_F(PaletteLines, OffsetPickPutsTheSnapModesBack) {
    startLine(0, 0);
    resbuf ortho{};
    ortho.restype = RTSHORT;
    ortho.resval.rint = 0;
    acedSetVar("ORTHOMODE", &ortho);
    resbuf snap{};
    snap.restype = RTSHORT;
    snap.resval.rint = 7;
    acedSetVar("OSMODE", &snap);
    runPalette({"click 8017", "point 1,1", [&] {
                    EXPECT_EQ(realVar("ORTHOMODE"), 1);
                    EXPECT_EQ(realVar("OSMODE"), 64);
                },
                "point 1,1", [&] {
                    EXPECT_EQ(realVar("ORTHOMODE"), 0);
                    EXPECT_EQ(realVar("OSMODE"), 7);
                    // Equal points give no offset at all.
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_X), "");
                },
                "click 2"});
}

TEST_F(PaletteLines, FirstNewLineAsksForAPointTheSecondDoesNot) {
    startLine(0, 0);
    runPalette({"type \"a\"", "click 8024", "point 5,-8", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_X), "5");
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_Y), "-8");
                    EXPECT_EQ(controlText(*dlg, IDC_TEXT), "");
                },
                "type \"b\"", "click 8024", "type \"c\"", "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].text, "b");
    EXPECT_EQ(all[1].position.x, 5);
    EXPECT_EQ(all[1].position.y, -8);
    EXPECT_EQ(all[2].text, "c");
    EXPECT_EQ(all[2].position.x, 10);
    EXPECT_EQ(all[2].position.y, -16);
    EXPECT_EQ(std::count_if(prompts.begin(), prompts.end(),
                            [](const std::string& p) { return p.find("Выберите точку вставки") != std::string::npos; }),
              1);
}

TEST_F(PaletteLines, AnEmptyLineIsReplacedNotKept) {
    startLine(0, 0);
    runPalette({"focus 8015", "type \"2\"", "click 8024", "click 8024", "type \"x\"", "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].text, "x");
    EXPECT_EQ(all[0].position.x, 4);
}

struct RotationCase {
    const char* rotation;
    bool moves;
};

class PaletteRotation : public PaletteTest, public ::testing::WithParamInterface<RotationCase> {};

TEST_P(PaletteRotation, OffsetsApplyOnlyAtAcceptedRotations) {
    startLine(0, 0);
    const RotationCase c = GetParam();
    runPalette({"focus 8015", "type \"2\"", "focus 8016", "type \"3\"", "focus 8006",
                std::string("type \"") + c.rotation + "\"", "focus 8019", "type \"a\"", "click 8024", "type \"b\"",
                "click 8018", "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 2u);
    // New line, then the moved line: each steps by (2, 3) or stays.
    const double step = c.moves ? 1 : 0;
    EXPECT_EQ(all[1].text, "b");
    EXPECT_EQ(all[1].position.x, 4 * step);
    EXPECT_EQ(all[1].position.y, 6 * step);
}

INSTANTIATE_TEST_SUITE_P(Cases, PaletteRotation,
                         ::testing::Values(RotationCase{"45", true}, RotationCase{"0", true},
                                           RotationCase{"90", true}, RotationCase{"135", true},
                                           RotationCase{"300", true}, RotationCase{"180", false},
                                           RotationCase{"270", false}, RotationCase{"0.0", false},
                                           RotationCase{"90.0", false}, RotationCase{"-45", false},
                                           RotationCase{"360", false}));

TEST_F(PaletteLines, MoveByAPickedPointKeepsTheStringAndLearnsTheStep) {
    startLine(1, 1);
    std::uint64_t previewHandle = 0;
    runPalette({"type \"moved\"", "click 8018",
                [&] {
                    // While the point is asked the line follows the cursor, moved from its point.
                    previewHandle = static_cast<std::uint64_t>(g_textProperties.entity[0]);
                    const host::DragRequest* drag = host::requestDrag();
                    ASSERT_NE(drag, nullptr);
                    EXPECT_EQ(drag->handles, std::vector<std::uint64_t>{previewHandle});
                    EXPECT_EQ(drag->transformAt(4, 9), (std::array<double, 6>{1, 0, 3, 0, 1, 8}));
                    EXPECT_EQ(texts().size(), 1u) << "the line stays until the point is given";
                },
                "point 4,9", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_TEXT), "moved");
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_X), "3");
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_Y), "8");
                },
                "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].text, "moved");
    EXPECT_EQ(all[0].position.x, 4);
    EXPECT_EQ(all[0].position.y, 9);
}

TEST_F(PaletteLines, MoveCancelledKeepsTheLineWhereItWas) {
    startLine(1, 2);
    long before[2] = {};
    const INT_PTR result = runPalette({"type \"keep me\"",
                                       [&] {
                                           before[0] = g_textProperties.entity[0];
                                           before[1] = g_textProperties.entity[1];
                                       },
                                       "click 8018", "escape"});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(g_textProperties.entity[0], before[0]) << "the very entity stays, not a copy";
    EXPECT_EQ(g_textProperties.entity[1], before[1]);
    const auto all = texts();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].text, "keep me");
    EXPECT_EQ(all[0].position.x, 1);
    EXPECT_EQ(all[0].position.y, 2);
}

TEST_F(PaletteLines, MoveOfAnEmptyLineCancelledLeavesNothing) {
    startLine(1, 2);
    runPalette({"click 8018", "escape"});
    EXPECT_TRUE(texts().empty());
}

TEST_F(PaletteLines, StartAtAPointKeepsAWrittenLineAndBeginsAnEmptyOne) {
    startLine(0, 0);
    runPalette({"type \"first\"", "click 8020",
                [&] {
                    // Hidden while the host takes the point.
                    EXPECT_FALSE(dlg->IsWindowVisible());
                    EXPECT_TRUE(dlg->inEditorCommand());
                },
                "point 50,60", [&] {
                    EXPECT_TRUE(dlg->IsWindowVisible());
                    EXPECT_FALSE(dlg->inEditorCommand());
                    EXPECT_EQ(controlText(*dlg, IDC_TEXT), "");
                    EXPECT_EQ(CWnd::GetFocus()->GetDlgCtrlID(), IDC_TEXT);
                    EXPECT_EQ(dlg->toolTips()->GetToolCount(), 31);
                },
                "type \"second\"", "click 8020", "point 70,80", "click 8020", "point 90,100", "type \"third\"",
                "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].text, "second");
    EXPECT_EQ(all[1].position.x, 50);
    EXPECT_EQ(all[2].text, "third");
    EXPECT_EQ(all[2].position.x, 90);  // the empty line at 70,80 went
}

TEST_F(PaletteLines, EditingAPickedTextLoadsItIntoThePalette) {
    startLine(0, 0);
    runPalette({"type \"new\"", "click 8017", "point 0,0", "point 0,-5", "click 8024", [&] {
                    // An empty line and a text to pick at (0,0).
                    EXPECT_EQ(texts().size(), 2u);
                },
                "click 8043", "pick at 0,0", [&] {
                    EXPECT_EQ(controlText(*dlg, IDC_TEXT), "new");
                    EXPECT_EQ(paletteControl<CEdit>(*dlg, IDC_TEXT).GetSel(), MAKELONG(0, 3));
                },
                "type \"edited\"", "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 1u);  // the empty line went when the pick began
    EXPECT_EQ(all[0].text, "edited");
}

namespace {

class PaletteMovesPicked : public PaletteTest {
protected:
    // A text of the drawing at (5,5) on a layer of its own, picked later;
    // the empty first line at (0,0).
    AcDbObjectId addPickableText() {
        g_textProperties.insertionPoint = AcGePoint3d(5, 5, 0);
        g_textProperties.height = 2.5;
        createTextEntity("picked");
        AcDbObjectId id;
        acdbGetObjectId(id, g_textProperties.entity);
        AcDbEntity* entity = nullptr;
        acdbOpenObject(entity, id, AcDb::kForWrite);
        entity->setLayer("NOTES");
        entity->close();
        g_textProperties = TextProperties{};
        startLine(0, 0);
        return id;
    }
    AcDbObjectId previewId() const {
        AcDbObjectId id;
        acdbGetObjectId(id, g_textProperties.entity);
        return id;
    }
};

TEST_F(PaletteMovesPicked, APickedTextIsMovedItselfNotErasedAndMadeAnew) {
    const AcDbObjectId id = addPickableText();
    runPalette({"click 8043", "pick at 5,5", "click 8018", "point 8,9", [&] {
                    EXPECT_EQ(previewId(), id) << "the same entity, so its handle stays";
                    EXPECT_EQ(controlText(*dlg, IDC_TEXT), "picked");
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_X), "3");
                    EXPECT_EQ(controlText(*dlg, IDC_OFFSET_Y), "4");
                },
                "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 1u) << "nothing new was made, the empty line went";
    EXPECT_EQ(all[0].text, "picked");
    EXPECT_EQ(all[0].position.x, 8);
    EXPECT_EQ(all[0].position.y, 9);
    const std::string record = recordOf(id);
    EXPECT_NE(record.find(" 8=NOTES"), std::string::npos) << "its layer stays: " << record;
    EXPECT_EQ(record.find("erased"), std::string::npos);
}

TEST_F(PaletteMovesPicked, ACancelledMoveLeavesThePickedTextExactlyAsItWas) {
    const AcDbObjectId id = addPickableText();
    std::string before;
    const INT_PTR result =
        runPalette({"click 8043", "pick at 5,5", [&] { before = recordOf(id); }, "click 8018", "escape"});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(recordOf(id), before);
    EXPECT_EQ(texts().size(), 1u);
}

TEST_F(PaletteMovesPicked, AnOffsetMoveStepsThePickedTextByTheOffsets) {
    const AcDbObjectId id = addPickableText();
    runPalette({"click 8043", "pick at 5,5", "focus 8015", "type \"10\"", "focus 8016", "type \"-2\"", "click 8018",
                "click 2"});
    EXPECT_EQ(previewId(), id);
    const auto all = texts();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].position.x, 15);
    EXPECT_EQ(all[0].position.y, 3);
}

// A right-aligned text moves with its alignment point, which the host draws it by.
TEST_F(PaletteMovesPicked, AnAlignedTextMovesWithItsAlignmentPoint) {
    const AcDbObjectId id = addPickableText();
    AcDbText* text = nullptr;
    acdbOpenObject(text, id, AcDb::kForWrite);
    text->setHorizontalMode(AcDb::kTextRight);
    text->setAlignmentPoint(AcGePoint3d(7, 5, 0));
    text->close();
    runPalette({"click 8043", "pick at 5,5", "click 8018", "point 17,15", "click 2"});
    const auto all = texts();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].alignment.x, 17);
    EXPECT_EQ(all[0].alignment.y, 15);
    EXPECT_EQ(previewId(), id);
}

}  // namespace
