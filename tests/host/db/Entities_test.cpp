// Each modelled class reads its values from the record and writes them into
// the right subclass section, keeping every tag it does not model.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <numbers>

#include "base/Cp1251.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbCurves.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/AcDbMText.h"
#include "host/db/AcDbText.h"
#include "host/db/ObjectFactory.h"
#include "host/db/RecordTags.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;
using test::dump;

namespace {

constexpr double kPi = std::numbers::pi;

class Entities : public ::testing::Test {
protected:
    Entities() { db.fromDocument(test::testDrawing()); }
    AcDbObjectId id(std::uint64_t handle) {
        AcDbObjectId out;
        db.getAcDbObjectId(out, false, AcDbHandle(handle));
        return out;
    }
    std::string taken(char* s) {
        std::string out = s;
        std::free(s);
        return out;
    }
    test::AbortThrows abortThrows;
    AcDbDatabase db;
};

TEST_F(Entities, TextReadsItsRecordWithAnglesInRadians) {
    AcDbText* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, id(0x40), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(t->textStringConst(), "Строка"_cp);
    EXPECT_EQ(taken(t->textString()), "Строка"_cp);
    EXPECT_EQ(t->position(), AcGePoint3d(10, 20, 0));
    EXPECT_EQ(t->alignmentPoint(), AcGePoint3d(12, 20, 0));
    EXPECT_DOUBLE_EQ(t->height(), 3.5);
    EXPECT_DOUBLE_EQ(t->widthFactor(), 0.8);
    EXPECT_NEAR(t->rotation(), kPi / 2, 1e-12);
    EXPECT_NEAR(t->oblique(), 15 * kPi / 180, 1e-12);
    EXPECT_EQ(t->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(t->verticalMode(), AcDb::kTextVertMid);
    EXPECT_EQ(t->textStyle(), id(0x11));
    EXPECT_EQ(taken(t->layer()), "Text");
    EXPECT_STREQ(t->isA()->name(), "AcDbText");
    t->close();
}

TEST_F(Entities, SettersChangeOnlyTheirTagsAndKeepTheRest) {
    AcDbText* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, id(0x40), AcDb::kForWrite), Acad::eOk);
    const std::string before = dump(t->dxfRecord());
    EXPECT_EQ(t->setTextString("Новая"_cp), Acad::eOk);
    EXPECT_EQ(t->setHeight(5), Acad::eOk);
    EXPECT_EQ(t->setRotation(0), Acad::eOk);
    EXPECT_EQ(t->setOblique(-10 * kPi / 180), Acad::eOk);
    EXPECT_EQ(t->setVerticalMode(AcDb::kTextTop), Acad::eOk);
    const std::string after = dump(t->dxfRecord());
    t->close();
    std::string expected = before;
    auto swap = [&](const std::string& from, const std::string& to) {
        const auto at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    swap(std::string(" 1=") + "Строка"_cp, std::string(" 1=") + "Новая"_cp);
    swap(" 40=3.5", " 40=5.0");
    swap(" 50=90.0", " 50=0.0");
    swap(" 51=15.0", " 51=-10.0");
    swap(" 73=2", " 73=3");
    EXPECT_EQ(after, expected);  // handle, reactors, thickness (39) and extended data unchanged
}

TEST_F(Entities, MissingTagsGoToTheirCanonicalPlace) {
    AcDbText t(AcGePoint3d(1, 2, 0), "x");
    EXPECT_EQ(t.setWidthFactor(0.7), Acad::eOk);
    EXPECT_EQ(t.setHorizontalMode(AcDb::kTextRight), Acad::eOk);  // brings an alignment point
    EXPECT_EQ(t.setVerticalMode(AcDb::kTextBottom), Acad::eOk);
    EXPECT_EQ(dump(t.dxfRecord()),
              "TEXT: 100=AcDbEntity 8=0 100=AcDbText 10=1.0 20=2.0 30=0.0 40=0.0 1=x 41=0.7 72=2 11=1.0 21=2.0 "
              "31=0.0 100=AcDbText 73=1");
}

TEST_F(Entities, ValuesTheHostCannotDrawAreRefused) {
    AcDbText t;
    EXPECT_EQ(t.setHeight(0), Acad::eInvalidInput);
    EXPECT_EQ(t.setHeight(-1), Acad::eInvalidInput);
    EXPECT_EQ(t.setHeight(std::nan("")), Acad::eInvalidInput);
    EXPECT_EQ(t.setWidthFactor(0), Acad::eInvalidInput);
    EXPECT_EQ(t.setOblique(86 * kPi / 180), Acad::eInvalidInput);
    EXPECT_EQ(t.setTextString(nullptr), Acad::eInvalidInput);
    EXPECT_EQ(t.setTextString("two\nlines"), Acad::eInvalidInput);
    EXPECT_EQ(t.setHorizontalMode(static_cast<AcDb::TextHorzMode>(9)), Acad::eInvalidInput);
    EXPECT_EQ(t.setTextStyle(AcDbObjectId::kNull), Acad::eNullObjectId);
    EXPECT_EQ(t.setTextStyle(id(0x46)), Acad::eNotThatKindOfClass);
    EXPECT_EQ(dump(t.dxfRecord()), dump(AcDbText().dxfRecord()));  // nothing was written
}

// Nothing that cannot be written to a DXF file reaches a record: NaN and
// infinity anywhere, and angles whose degrees overflow (1e308 degrees).
TEST_F(Entities, NonFiniteValuesAreRefusedBySetters) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    AcDbText t;
    for (const double bad : {inf, -inf, nan}) {
        EXPECT_EQ(t.setHeight(bad), Acad::eInvalidInput) << bad;
        EXPECT_EQ(t.setWidthFactor(bad), Acad::eInvalidInput) << bad;
        EXPECT_EQ(t.setOblique(bad), Acad::eInvalidInput) << bad;
        EXPECT_EQ(t.setRotation(bad), Acad::eInvalidInput) << bad;
        EXPECT_EQ(t.setPosition(AcGePoint3d(bad, 0, 0)), Acad::eInvalidInput) << bad;
        EXPECT_EQ(t.setAlignmentPoint(AcGePoint3d(0, bad, 0)), Acad::eInvalidInput) << bad;
    }
    EXPECT_EQ(t.setRotation(1e308 * kPi / 180), Acad::eInvalidInput);
    EXPECT_EQ(t.setRotation(-1.7e308 * kPi / 180), Acad::eInvalidInput);
    EXPECT_EQ(dump(t.dxfRecord()), dump(AcDbText().dxfRecord()));
    EXPECT_EQ(t.setRotation(720 * kPi / 180), Acad::eOk);  // large but finite stays the caller's business
    EXPECT_NEAR(t.rotation(), 4 * kPi, 1e-12);

    AcDbAttributeDefinition definition;
    EXPECT_EQ(definition.setHeight(inf), Acad::eInvalidInput);
    EXPECT_EQ(definition.setRotation(nan), Acad::eInvalidInput);
    AcDbMText m;
    EXPECT_EQ(m.setTextHeight(nan), Acad::eInvalidInput);
    EXPECT_EQ(m.setWidth(inf), Acad::eInvalidInput);
    EXPECT_EQ(m.setLocation(AcGePoint3d(0, 0, nan)), Acad::eInvalidInput);
    EXPECT_EQ(dump(m.dxfRecord()), dump(AcDbMText().dxfRecord()));
}

TEST_F(Entities, AttributeAndDefinitionKeepTagApartFromText) {
    AcDbAttribute* a = nullptr;
    ASSERT_EQ(acdbOpenObject(a, id(0x43), AcDb::kForWrite), Acad::eOk);
    EXPECT_STREQ(a->tagConst(), "NUMBER");
    EXPECT_STREQ(a->textStringConst(), "12");
    EXPECT_TRUE(a->isKindOf(AcDbText::desc()));
    EXPECT_EQ(a->setVerticalMode(AcDb::kTextTop), Acad::eOk);
    EXPECT_EQ(a->setTag("two words"), Acad::eInvalidInput);
    EXPECT_EQ(a->setTag(""), Acad::eInvalidInput);
    EXPECT_EQ(dump(a->dxfRecord()), "ATTRIB: 5=43 330=42 100=AcDbEntity 8=0 100=AcDbText 10=100.0 20=105.0 30=0.0 "
                                    "40=2.5 1=12 11=100.0 21=105.0 31=0.0 100=AcDbAttribute 2=NUMBER 70=0 74=3");
    a->close();

    AcDbAttributeDefinition* d = nullptr;
    ASSERT_EQ(acdbOpenObject(d, id(0x61), AcDb::kForWrite), Acad::eOk);
    EXPECT_STREQ(d->tagConst(), "NUMBER");
    EXPECT_STREQ(d->promptConst(), "Номер?"_cp);
    EXPECT_STREQ(d->textStringConst(), "default");
    EXPECT_EQ(d->setTag("НОМЕР"_cp), Acad::eOk);
    EXPECT_STREQ(d->tagConst(), "НОМЕР"_cp);
    EXPECT_STREQ(d->textStringConst(), "default");
    EXPECT_STREQ(d->isA()->name(), "AcDbAttributeDefinition");
    d->close();
}

TEST_F(Entities, MTextContentsSpanChunks) {
    AcDbMText* m = nullptr;
    ASSERT_EQ(acdbOpenObject(m, id(0x45), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(taken(m->contents()), std::string(250, 'a') + "bc");
    const std::string longer = std::string(300, 'x') + std::string(260, 'y');
    EXPECT_EQ(m->setContents(longer.c_str()), Acad::eOk);
    EXPECT_EQ(taken(m->contents()), longer);
    const auto& tags = m->dxfRecord().tags;
    std::vector<int> textCodes;
    std::size_t lastSize = 0;
    for (std::size_t i = 0; i < tags.size(); ++i)
        if (tags[i].code == 1 || tags[i].code == 3) {
            textCodes.push_back(tags[i].code);
            lastSize = tags[i].value.size();
        }
    EXPECT_EQ(textCodes, (std::vector<int>{3, 3, 1}));
    EXPECT_EQ(lastSize, 60u);
    EXPECT_EQ(m->setContents("short"), Acad::eOk);
    EXPECT_EQ(taken(m->contents()), "short");
    EXPECT_EQ(tags.find(3), kestrin::dxf::TagList::npos);
    EXPECT_NE(tags.find(7), kestrin::dxf::TagList::npos);  // the style tag after the text stays
    m->close();
}

TEST_F(Entities, BlockReferenceListsItsAttributes) {
    AcDbBlockReference* ref = nullptr;
    ASSERT_EQ(acdbOpenObject(ref, id(0x42), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(ref->position(), AcGePoint3d(100, 100, 0));
    EXPECT_EQ(ref->blockTableRecord(), id(0x22));
    AcDbObjectIterator* it = ref->attributeIterator();
    std::vector<std::uint64_t> handles;
    for (; !it->done(); it->step()) handles.push_back(it->objectId().handle().value());
    delete it;
    EXPECT_EQ(handles, (std::vector<std::uint64_t>{0x43}));
    ref->close();
    AcDbAttribute* a = nullptr;
    ASSERT_EQ(acdbOpenObject(a, id(0x43), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(a->ownerId(), id(0x42));
    a->close();
}

TEST_F(Entities, LineAndCircle) {
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id(0x46), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(line->endPoint(), AcGePoint3d(5, 5, 0));
    EXPECT_EQ(line->setEndPoint(AcGePoint3d(7, 8, 9)), Acad::eOk);
    EXPECT_EQ(line->endPoint(), AcGePoint3d(7, 8, 9));
    line->close();
    AcDbCircle* circle = nullptr;
    ASSERT_EQ(acdbOpenObject(circle, id(0x47), AcDb::kForWrite), Acad::eOk);
    EXPECT_DOUBLE_EQ(circle->radius(), 4);
    EXPECT_EQ(circle->setRadius(0), Acad::eInvalidInput);
    EXPECT_EQ(circle->center(), AcGePoint3d(-40, -40, 0));
    circle->close();
}

TEST_F(Entities, UnmodelledEntitiesAreNamedByTheirSubclassMarker) {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, id(0x41), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(e->isA()->name(), "AcDbPolyline");
    EXPECT_TRUE(e->isKindOf(AcDbEntity::desc()));
    EXPECT_EQ(AcDbText::cast(e), nullptr);
    e->close();
    ASSERT_EQ(acdbOpenObject(e, id(0x48), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(e->isA()->name(), "AcmeWidget");
    e->close();
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, id(0x72), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(o->isA()->name(), "AcDbXrecord");
    EXPECT_EQ(AcDbEntity::cast(o), nullptr);
    o->close();

    // Without markers the DXF type decides; a marker naming a modelled class
    // never makes an unmodelled record pass for it.
    EXPECT_EQ(kestrin::db::unmodelledClassName(test::record("LWPOLYLINE", {{5, "1"}}), kestrin::db::Place::Entity),
              "AcDbPolyline");
    EXPECT_EQ(kestrin::db::unmodelledClassName(test::record("RTEXT", {{100, "AcDbEntity"}, {100, "AcDbText"}}),
                                               kestrin::db::Place::Entity),
              "AcDbEntity");
}

}  // namespace

namespace {

// Older files have no subclass markers: the whole record is one section and
// new tags still go after the handle, among their neighbours.
TEST(RecordTags, RecordsWithoutMarkersGetTagsBesideTheirNeighbours) {
    kestrin::dxf::Record r = kestrin::test::record("TEXT", {{5, "2A"}, {8, "0"}, {10, "1.0"}, {20, "2.0"},
                                                            {40, "2.5"}, {1, "old"}, {1001, "APP"}, {1000, "x"}});
    const kestrin::db::Subclass text{"AcDbText", 0, {10, 20, 30, 40, 1, 50, 41, 51, 7, 72, 11, 21, 31}};
    kestrin::db::setTag(r, text, 72, "1");
    kestrin::db::setTag(r, text, 50, "45.0");
    kestrin::db::setTag(r, text, 30, "0.0");
    kestrin::db::setTag(r, text, 1, "new");
    EXPECT_EQ(kestrin::test::dump(r),
              "TEXT: 5=2A 8=0 10=1.0 20=2.0 30=0.0 40=2.5 1=new 50=45.0 72=1 1001=APP 1000=x");
    EXPECT_EQ(kestrin::db::tagValue(r, text, 1000), std::nullopt);  // extended data is not the entity's
    EXPECT_EQ(kestrin::db::headTag(r, 1000), std::nullopt);
    EXPECT_EQ(kestrin::db::headTag(r, 1), "new");
    EXPECT_EQ(kestrin::db::headTag(r, 5), "2A");
}

}  // namespace
