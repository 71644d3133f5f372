// The ownership rule: one write open excludes every other open, every open
// is closed once, and breaking the rule stops the host.
#include <gtest/gtest.h>

#include "host/db/AcDbCurves.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/AcDbText.h"
#include "host/db/AcDbTextStyleTable.h"
#include "tests/host/db/TestDrawing.h"

using namespace kestrin;

namespace {

class OpenClose : public ::testing::Test {
protected:
    OpenClose() { db.fromDocument(test::testDrawing()); }
    AcDbObjectId id(std::uint64_t handle) {
        AcDbObjectId out;
        EXPECT_EQ(db.getAcDbObjectId(out, false, AcDbHandle(handle)), Acad::eOk) << std::hex << handle;
        return out;
    }
    test::AbortThrows abortThrows;
    AcDbDatabase db;
};

TEST_F(OpenClose, WriteOpenExcludesEveryOtherOpen) {
    AcDbObject* writer = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(writer, id(0x40), AcDb::kForWrite), Acad::eOk);
    AcDbObject* second = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(second, id(0x40), AcDb::kForWrite), Acad::eWasOpenForWrite);
    EXPECT_EQ(acdbOpenAcDbObject(second, id(0x40), AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(db.openObjectCount(), 1u);
    writer->close();
    EXPECT_EQ(db.openObjectCount(), 0u);
}

TEST_F(OpenClose, ReadOpensOverlapButBlockAWriteUntilAllAreClosed) {
    AcDbObject* a = nullptr;
    AcDbObject* b = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(a, id(0x46), AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(acdbOpenAcDbObject(b, id(0x46), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(a, b);  // one object per id
    AcDbObject* w = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(w, id(0x46), AcDb::kForWrite), Acad::eWasOpenForRead);
    a->close();
    EXPECT_EQ(acdbOpenAcDbObject(w, id(0x46), AcDb::kForWrite), Acad::eWasOpenForRead);
    b->close();
    ASSERT_EQ(acdbOpenAcDbObject(w, id(0x46), AcDb::kForWrite), Acad::eOk);
    w->close();
    EXPECT_EQ(db.openObjectCount(), 0u);
}

TEST_F(OpenClose, ClosingTwiceOrUsingAClosedObjectStopsTheHost) {
    AcDbText* text = nullptr;
    ASSERT_EQ(acdbOpenObject(text, id(0x40), AcDb::kForRead), Acad::eOk);
    text->close();
    try {
        text->close();
        FAIL() << "a second close went through";
    } catch (const test::Aborted& e) {
        EXPECT_STREQ(e.what(), "Failed AcDbObject::close()");
    }
    EXPECT_THROW(text->height(), test::Aborted);

    ASSERT_EQ(acdbOpenObject(text, id(0x40), AcDb::kForRead), Acad::eOk);
    EXPECT_THROW(text->setHeight(5), test::Aborted);  // changed while open for read
    text->close();
    EXPECT_THROW(AcDbText().close(), test::Aborted);  // never in a database, never opened
}

TEST_F(OpenClose, TypedOpenOfAnotherClassLeavesNothingOpen) {
    AcDbText* text = nullptr;
    EXPECT_EQ(acdbOpenObject(text, id(0x46), AcDb::kForWrite), Acad::eNotThatKindOfClass);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(db.openObjectCount(), 0u);
    EXPECT_EQ(acdbOpenObject(text, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
    AcDbTextStyleTableRecord* style = nullptr;
    EXPECT_EQ(acdbOpenObject(style, id(0x40), AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_EQ(acdbOpenObject(style, id(0x11), AcDb::kForRead), Acad::eOk);
    style->close();
}

TEST_F(OpenClose, ErasedObjectsOpenOnlyWhenAskedFor) {
    AcDbEntity* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id(0x46), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(line->erase(), Acad::eNotOpenForWrite);
    EXPECT_EQ(line->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(line->erase(), Acad::eOk);
    line->close();
    EXPECT_TRUE(id(0x46).isErased());
    EXPECT_EQ(acdbOpenObject(line, id(0x46), AcDb::kForRead), Acad::eWasErased);
    ASSERT_EQ(acdbOpenObject(line, id(0x46), AcDb::kForWrite, true), Acad::eOk);
    EXPECT_EQ(line->erase(false), Acad::eOk);
    line->close();
    EXPECT_FALSE(id(0x46).isErased());
}

TEST_F(OpenClose, OpenObjectsAreListedUntilClosed) {
    AcDbObject* a = nullptr;
    AcDbObject* b = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(a, id(0x40), AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(acdbOpenAcDbObject(b, id(0x47), AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(db.store().openEntries().size(), 2u);
    EXPECT_EQ(db.store().openEntries()[0]->handle, 0x40u);
    a->close();
    b->close();
    EXPECT_TRUE(db.store().openEntries().empty());
}

}  // namespace
