#include "platform/session/RecordingSource.h"

#include <gtest/gtest.h>

#include "platform/fs/MemoryFileSystem.h"
#include "platform/session/ScriptSource.h"
#include "tests/support/SessionFixture.h"

using namespace kestrin;
using namespace kestrin::session;
using kestrin::test::ScriptedSource;

namespace {

class Recording : public kestrin::test::FreshSession {
protected:
    fs::MemoryFileSystem files;
    fs::MemoryFileSystem::Installed installed{files};

    std::string recorded(const std::string& path = "/rec.ks") {
        auto content = files.readFile(path);
        return content ? *content : "<no file: " + content.error().message() + ">";
    }
    // The action lines of the record, as a script would play them.
    std::vector<std::string> played(const std::string& path = "/rec.ks") {
        ScriptSource script(path, recorded(path));
        std::vector<std::string> out;
        while (auto a = script.next("")) out.push_back(std::string(actionName(a->kind)) + " " + a->text);
        return out;
    }
};

}  // namespace

TEST_F(Recording, WritesEachActionWhenItIsHandedOutBeforeTheNextIsAskedFor) {
    auto inner = std::make_unique<ScriptedSource>(std::vector<kestrin::test::Step>{"command HELLO", "point 1,2"});
    ASSERT_TRUE(files.writeFile("/rec.ks", "command OLDER\n"));
    RecordingSource rec(std::move(inner), "/rec.ks");
    EXPECT_EQ(rec.flush(), "");
    EXPECT_TRUE(played().empty()) << "an older record is replaced at the start";
    Session::instance().setSource(&rec);
    auto a = Session::instance().next(Waiter::CommandLine);
    ASSERT_TRUE(a);
    // The line is on disk already, so a crash while the command runs keeps it.
    EXPECT_EQ(played(), (std::vector<std::string>{"command HELLO"}));
    ASSERT_TRUE(Session::instance().next(Waiter::HostInput));
    EXPECT_NE(recorded().find("\npoint 1,2\n"), std::string::npos) << recorded();
    EXPECT_FALSE(Session::instance().next(Waiter::CommandLine));
    EXPECT_EQ(rec.flush(), "");
}

TEST_F(Recording, ARefusedActionAndAScreenshotStayOnlyAsCommentsSoTheRecordReplays) {
    auto inner = std::make_unique<ScriptedSource>(
        std::vector<kestrin::test::Step>{"command NOSUCH", "screenshot s.png", "command HELLO", "type \"x\""});
    RecordingSource rec(std::move(inner), "/rec.ks");
    Session& session = Session::instance();
    session.setForgiving(true);  // a person at the window
    session.setSource(&rec);
    auto a = session.next(Waiter::CommandLine);
    ASSERT_TRUE(a);
    session.reject(*a, "unknown command \"NOSUCH\"");  // what the command line does
    // The screenshot, with nothing to take it, is refused by the session itself.
    a = session.next(Waiter::CommandLine);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->text, "HELLO");
    a = session.next(Waiter::CommandLine);
    ASSERT_TRUE(a);
    session.reject(*a, "no dialog is shown to take \"type\"");
    EXPECT_EQ(rec.flush(), "");  // the end of the session brings the last refusal in
    EXPECT_EQ(played(), (std::vector<std::string>{"command HELLO"}));
    const std::string text = recorded();
    EXPECT_NE(text.find("# refused: command NOSUCH\n"), std::string::npos) << text;
    EXPECT_NE(text.find("# screenshot s.png"), std::string::npos) << text;
    EXPECT_NE(text.find("# refused: type \"x\"\n"), std::string::npos) << text;
}

TEST_F(Recording, AFileThatCannotBeWrittenIsReportedOnceAndTheActionsStillCome) {
    auto inner = std::make_unique<ScriptedSource>(std::vector<kestrin::test::Step>{"enter", "enter"});
    RecordingSource rec(std::move(inner), "/no/such/folder/rec.ks");
    Session::instance().setSource(&rec);
    EXPECT_TRUE(Session::instance().next(Waiter::CommandLine));
    EXPECT_TRUE(Session::instance().next(Waiter::CommandLine));
    EXPECT_EQ(rec.error().rfind("cannot write the record file '/no/such/folder/rec.ks': ", 0), 0u) << rec.error();
    int reported = 0;
    for (const auto& entry : Transcript::instance().entries())
        reported += entry.kind == Transcript::Kind::Error && entry.text.find("cannot write the record file") == 0;
    EXPECT_EQ(reported, 1);
}
