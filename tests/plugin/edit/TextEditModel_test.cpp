// The edit model alone, without its dialog: what it writes into the picked
// entity, what an empty string erases, and the pick of the next entity.
#include "plugin/edit/TextEditModel.h"

#include "base/Cp1251.h"
#include "tests/plugin/edit/EditTestSupport.h"

using namespace kestrin;
using namespace kestrin::literals;
using namespace kestrin::test::edit;

namespace {

class TextEditModelTest : public EditTest {
protected:
    void pickedAs(std::uint64_t handle, const std::string& text) {
        ASSERT_EQ(acdbGetAdsName(g_textProperties.entity, id(handle)), Acad::eOk);
        g_textProperties.text = text;
    }
};

TEST_F(TextEditModelTest, WritesByClassAndRegeneratesOnlyForAnEntityInABlock) {
    pickedAs(0x45, "multi");  // the multiline text
    TextEditModel model(g_textProperties, EditPick{kPickDone, false});
    EXPECT_EQ(model.load(), "multi");
    model.write("Новое"_cp);
    EXPECT_EQ(stringOf(0x45), "Новое"_cp);
    EXPECT_EQ(g_textProperties.text, "Новое"_cp);
    EXPECT_EQ(regenerations(), 0);

    pickedAs(0x60, "inner");  // the text inside BOX, picked through its insertion
    TextEditModel inBlock(g_textProperties, EditPick{kPickDone, true});
    inBlock.write("x");
    EXPECT_EQ(stringOf(0x60), "x");
    EXPECT_EQ(regenerations(), 1);
}

TEST_F(TextEditModelTest, AnEmptyStringErasesTheEntityAnyOtherOnlyEmptiesTheRecord) {
    pickedAs(0x40, "Строка"_cp);
    TextEditModel model(g_textProperties, {});
    model.eraseIfEmpty("kept", g_textProperties.entity);
    EXPECT_FALSE(erased(0x40));
    EXPECT_EQ(g_textProperties.text, "");
    g_textProperties.text = "Строка"_cp;
    model.eraseIfEmpty("", g_textProperties.entity);
    EXPECT_TRUE(erased(0x40));
    EXPECT_EQ(g_textProperties.text, "Строка"_cp);
}

TEST_F(TextEditModelTest, FinishingPicksTheNextEntityAndAnEmptyOneGoes) {
    pickedAs(0x40, "Строка"_cp);
    TextEditModel model(g_textProperties, {});
    model.load();
    int pickedWhileAsked = -1;
    test::ScriptedSource source({std::function<void()>([&] { pickedWhileAsked = g_textProperties.picked; }), std::string("pick 45"), std::string("escape")}, "model");
    session::Session::instance().setSource(&source);
    model.write("typed");
    EXPECT_TRUE(model.finishAndPickNext("typed"));
    EXPECT_EQ(stringOf(0x40), "typed");
    EXPECT_FALSE(erased(0x40));
    EXPECT_EQ(pickedWhileAsked, 1);
    EXPECT_EQ(g_textProperties.picked, 0);
    AcDbObjectId next;
    ASSERT_EQ(acdbGetObjectId(next, g_textProperties.entity), Acad::eOk);
    EXPECT_EQ(next, id(0x45));
    EXPECT_EQ(model.load(), std::string(250, 'a') + "bc");

    // An empty string erases the entity; Escape at the pick ends it.
    EXPECT_FALSE(model.finishAndPickNext(""));
    EXPECT_TRUE(erased(0x45));
    EXPECT_EQ(g_textProperties.picked, 0);
    EXPECT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
    session::Session::instance().setSource(nullptr);
}

}  // namespace
