// Before every user action the host checks that no drawing object was left
// open, and fails the session naming each one.
#include "host/api/HostSession.h"

#include "host/db/AcDbText.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin;

namespace {

class LeakCheck : public test::HostTest {};

TEST_F(LeakCheck, AnObjectLeftOpenFailsTheSessionByHandleClassAndMode) {
    host::attachToSession();
    host::attachToSession();  // once is enough
    AcDbText* text = nullptr;
    ASSERT_EQ(acdbOpenObject(text, id(0x40), AcDb::kForWrite), Acad::eOk);
    AcDbObject* line = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(line, id(0x46), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(host::openObjectCount(), 2u);
    source.load({test::act(session::ActionKind::Enter)});
    EXPECT_FALSE(session::Session::instance().next(session::Waiter::CommandLine));
    ASSERT_TRUE(session::Session::instance().failed());
    EXPECT_EQ(session::Session::instance().failure(),
              "host: drawing objects left open: 40 AcDbText (write), 46 AcDbLine (read)");
    EXPECT_TRUE(source.prompts.empty());  // the action was not taken
    text->close();
    line->close();
    EXPECT_EQ(host::openObjectCount(), 0u);

    session::Session::instance().reset();
    session::Session::instance().setSource(&source);
    EXPECT_TRUE(session::Session::instance().next(session::Waiter::CommandLine));
    EXPECT_FALSE(session::Session::instance().failed());
}

}  // namespace
