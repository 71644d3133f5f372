// The drawing operations of the placement command: the new text entity, the
// space it goes into, the display flush, and picking an existing text.
#include "plugin/frame/TextPlacement.h"

#include <cstdlib>

#include "base/Cp1251.h"
#include "plugin/frame/SystemVariables.h"
#include "plugin/frame/TextStyles.h"
#include "tests/plugin/frame/PluginFixture.h"

using namespace kestrin;
using namespace kestrin::literals;
using session::ActionKind;

namespace {

class TextPlacement : public test::PluginTest {
protected:
    void setRecord() {
        TextProperties& r = g_textProperties;
        r.insertionPoint = AcGePoint3d(5, 6, 0);
        r.height = 2;
        r.rotation = 0.5;
        r.widthFactor = 0.7;
        r.oblique = 0.2;
        r.horizontalMode = 1;
    }
    // A left-justified text whose alignment point differs from its position.
    AcDbObjectId addLeftText() {
        auto* text = new AcDbText(AcGePoint3d(3, 4, 0), "left", AcDbObjectId::kNull, 1.0, 0.0);
        text->setAlignmentPoint(AcGePoint3d(9, 9, 0));
        AcDbObjectId out;
        EXPECT_EQ(appendToCurrentSpace(text, out), Acad::eOk);
        return out;
    }
};

TEST_F(TextPlacement, NewTextCarriesTheRecordsValuesAtOnePoint) {
    setRecord();
    createTextEntity("");
    AcDbText* text = nullptr;
    ASSERT_EQ(acdbOpenObject(text, recordEntityId(), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(text->textStringConst(), "");
    EXPECT_DOUBLE_EQ(text->height(), 2);
    EXPECT_NEAR(text->rotation(), 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(text->widthFactor(), 0.7);
    EXPECT_NEAR(text->oblique(), 0.2, 1e-12);
    EXPECT_EQ(text->horizontalMode(), AcDb::kTextCenter);
    EXPECT_TRUE(text->position().isEqualTo(AcGePoint3d(5, 6, 0)));
    EXPECT_TRUE(text->alignmentPoint().isEqualTo(AcGePoint3d(5, 6, 0)));
    EXPECT_EQ(text->ownerId(), id(0x20));  // model space
    text->close();
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
}

TEST_F(TextPlacement, TileMode0PutsTheTextIntoPaperSpace) {
    ASSERT_TRUE(setRealVar("TILEMODE", 0));
    setRecord();
    createTextEntity("x");
    AcDbText* text = nullptr;
    ASSERT_EQ(acdbOpenObject(text, recordEntityId(), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(text->ownerId(), id(0x21));
    EXPECT_STREQ(text->textStringConst(), "x");
    text->close();
}

TEST_F(TextPlacement, WithoutADrawingNothingIsAppendedOrLeftBehind) {
    host::HostState::instance().working = nullptr;
    auto* text = new AcDbText(AcGePoint3d(0, 0, 0), "t");
    AcDbObjectId out;
    EXPECT_EQ(appendToCurrentSpace(text, out), Acad::eNoDatabase);
    EXPECT_TRUE(out.isNull());
    delete text;

    g_textProperties.entity[0] = 7;
    g_textProperties.entity[1] = 8;
    createTextEntity("lost?");  // the unappended entity is deleted, the record names none
    EXPECT_EQ(g_textProperties.entity[0], 0);
    EXPECT_EQ(g_textProperties.entity[1], 0);
}

TEST_F(TextPlacement, FlushQueuesFlushesAndUpdatesTheDisplay) {
    const host::DisplayCounters before = host::displayCounters();
    flushDrawingGraphics();
    const host::DisplayCounters& after = host::displayCounters();
    EXPECT_EQ(after.queuedFlushes, before.queuedFlushes + 1);
    EXPECT_EQ(after.graphicsFlushes, before.graphicsFlushes + 1);
    EXPECT_EQ(after.displayUpdates, before.displayUpdates + 1);
}

TEST_F(TextPlacement, PickAnswersCancelledAndAskAgain) {
    source.load({test::act(ActionKind::Miss), test::act(ActionKind::Escape)});
    EXPECT_EQ(pickExistingText(), kPickAgain);
    EXPECT_EQ(pickExistingText(), kPickCancelled);
    EXPECT_EQ(output(), "\nВыберите текст: \nВыберите текст: "_cp);
    EXPECT_EQ(g_textProperties.picked, 0);
}

TEST_F(TextPlacement, RefusedEntitiesNameTheirClassAndKeepTheRecord) {
    setRecord();
    createTextEntity("current");
    const long before[2] = {g_textProperties.entity[0], g_textProperties.entity[1]};
    AcDbObjectId attdef;
    ASSERT_EQ(appendToCurrentSpace(new AcDbAttributeDefinition(AcGePoint3d(1, 1, 0), "default", "TAG", "Tag?"),
                                   attdef),
              Acad::eOk);
    source.load({test::pick(attdef.handle().value()), test::pick(0x47)});
    EXPECT_EQ(pickExistingText(), kPickAgain);
    EXPECT_EQ(pickExistingText(), kPickAgain);
    EXPECT_EQ(output(), "\nВыберите текст: \nОшибка вы выбрали...AcDbAttributeDefinition"
                        "\nВыберите текст: \nОшибка вы выбрали...AcDbCircle"_cp);
    EXPECT_EQ(g_textProperties.entity[0], before[0]);
    EXPECT_EQ(g_textProperties.entity[1], before[1]);
    EXPECT_EQ(g_textProperties.text, "");
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
}

TEST_F(TextPlacement, APickedCentredTextLoadsItsAlignmentPointAndStyle) {
    ASSERT_EQ(setStyleObliquingAngle(0, id(0x11)), Acad::eOk);
    source.load({test::pick(0x40)});
    ASSERT_EQ(pickExistingText(), kPickDone);
    const TextProperties& r = g_textProperties;
    EXPECT_EQ(r.text, "Строка"_cp);
    EXPECT_DOUBLE_EQ(r.height, 3.5);
    EXPECT_NEAR(r.oblique, 15 * kDegreesToRadians, 1e-12);
    EXPECT_EQ(r.horizontalMode, 1);
    EXPECT_TRUE(r.insertionPoint.isEqualTo(AcGePoint3d(12, 20, 0)));
    EXPECT_EQ(r.styleName, "Чертёжный"_cp);
    EXPECT_NEAR(r.rotation, 90 * kDegreesToRadians, 1e-12);
    EXPECT_DOUBLE_EQ(r.widthFactor, 0.8);
    EXPECT_EQ(r.picked, 1);
    EXPECT_EQ(recordEntityId(), id(0x40));
    // The text's obliquing angle went into its style record.
    double styleAngle = 0;
    EXPECT_EQ(getStyleObliquingAngle(id(0x11), styleAngle), Acad::eOk);
    EXPECT_NEAR(styleAngle, 15 * kDegreesToRadians, 1e-12);
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
}

TEST_F(TextPlacement, APickedLeftTextLoadsItsPosition) {
    const AcDbObjectId left = addLeftText();
    source.load({test::pick(left.handle().value())});
    ASSERT_EQ(pickExistingText(), kPickDone);
    EXPECT_TRUE(g_textProperties.insertionPoint.isEqualTo(AcGePoint3d(3, 4, 0)));
    EXPECT_EQ(g_textProperties.text, "left");
    EXPECT_EQ(g_textProperties.horizontalMode, 0);
}

TEST_F(TextPlacement, TheCommandEndsQuietlyWhenItsPromptsAreCancelled) {
    source.load({test::act(ActionKind::Escape)});
    placeTextCommand();
    EXPECT_EQ(output(), "\nВыберите точку вставки или /<ENTER>-редактирование текста: "_cp);
    session::Transcript::instance().setMark();

    source.load({test::act(ActionKind::Enter), test::act(ActionKind::Miss), test::act(ActionKind::Escape)});
    placeTextCommand();
    EXPECT_EQ(output(), "\nВыберите точку вставки или /<ENTER>-редактирование текста: "
                        "\nВыберите текст: \nВыберите текст: "_cp);
    EXPECT_EQ(g_textProperties.entity[0], 0);
    EXPECT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
}

}  // namespace
