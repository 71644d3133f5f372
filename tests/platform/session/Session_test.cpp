#include "platform/session/Session.h"

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>

#include "base/Cp1251.h"
#include "platform/session/ActionParser.h"
#include "platform/session/ScriptError.h"
#include "platform/session/Transcript.h"
#include "tests/support/SessionFixture.h"

using namespace kestrin;
using namespace kestrin::session;
using kestrin::test::ScriptedSource;

namespace {

struct RunawayStop : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SessionTest : public kestrin::test::FreshSession {
protected:
    void TearDown() override {
        // The handlers and checks hold the test's locals: gone before the session ends.
        for (int id : handlers_) session().removeHandler(id);
        for (int id : checks_) session().removePendingCheck(id);
        session().setRunawayHandler({});
        FreshSession::TearDown();
    }
    Session& session() { return Session::instance(); }
    void handle(ActionKind kind, Session::Handler h) { handlers_.push_back(session().addHandler(kind, std::move(h))); }
    void pending(Session::PendingCheck c) { checks_.push_back(session().addPendingCheck(std::move(c))); }
    void use(ScriptedSource& src) { session().setSource(&src); }

private:
    std::vector<int> handlers_, checks_;
};

}  // namespace

TEST_F(SessionTest, MachineActionsGoToTheirHandlersAndTheRestToTheWaiter) {
    ScriptedSource src({"caps on", "answer yes", "click 5", "enter"}, "s.ks");
    use(src);
    std::vector<std::string> seen;
    handle(ActionKind::Caps, [&](const Action& a) { seen.push_back(a.on ? "caps on" : "caps off"); return true; });
    handle(ActionKind::Answer, [&](const Action& a) { seen.push_back("answer " + a.text); return true; });

    auto a = session().next(Waiter::Dialog, "dialog> ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Click);
    EXPECT_EQ(seen, (std::vector<std::string>{"caps on", "answer yes"}));
    EXPECT_EQ(src.prompts, (std::vector<std::string>{"dialog> ", "dialog> ", "dialog> "}));
    a = session().next(Waiter::CommandLine);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Enter);
    EXPECT_FALSE(session().next(Waiter::CommandLine));
    EXPECT_TRUE(session().exhausted());
    EXPECT_FALSE(session().failed()) << "input ending at the command line is the normal end";
}

TEST_F(SessionTest, SatisfiedEndsTheWaitAfterAMachineAction) {
    ScriptedSource src({"num on", "click 1"}, "s.ks");
    use(src);
    bool answered = false;
    handle(ActionKind::Num, [&](const Action&) { answered = true; return true; });
    EXPECT_FALSE(session().next(Waiter::MessageBox, "", [&] { return answered; }));
    EXPECT_FALSE(session().failed());
    auto a = session().next(Waiter::Dialog);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Click);
}

TEST_F(SessionTest, ExpectOutputLooksAtWhatWasPrintedSinceTheLastCheck) {
    ScriptedSource src({"expect output \"Привет\"", "enter", "expect output \"Привет\"", "enter"}, "s.ks");
    use(src);
    Transcript::instance().output("\nПривет, мир\n"_cp);
    auto a = session().next(Waiter::CommandLine);  // the first check holds and is consumed
    ASSERT_TRUE(a);
    EXPECT_FALSE(session().failed()) << session().failure();
    EXPECT_EQ(a->kind, ActionKind::Enter);
    // Nothing printed since: the second check does not hold and says so.
    EXPECT_FALSE(session().next(Waiter::CommandLine));
    EXPECT_TRUE(session().failed());
    EXPECT_EQ(session().failure(), "s.ks:3: expected output \"Привет\", but nothing was printed since the last check");
}

TEST_F(SessionTest, AFailedOutputCheckQuotesWhatWasFound) {
    ScriptedSource src({"expect output \"Line\"", "enter"}, "s.ks");
    use(src);
    Transcript::instance().output("\nUnknown command \"LIEN\".\n");
    EXPECT_FALSE(session().next(Waiter::CommandLine));
    EXPECT_EQ(session().failure(),
              "s.ks:1: expected output \"Line\", found \"\\nUnknown command \"LIEN\".\\n\"");
    const auto& entries = Transcript::instance().entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().kind, Transcript::Kind::Error);
}

TEST_F(SessionTest, InputEndingWhileADialogWaitsFailsTheSession) {
    for (Waiter w : {Waiter::Dialog, Waiter::MessageBox, Waiter::HostInput}) {
        session().reset();
        ScriptedSource src({"caps off"}, "s.ks");
        use(src);
        handle(ActionKind::Caps, [](const Action&) { return true; });
        EXPECT_FALSE(session().next(w));
        EXPECT_TRUE(session().failed());
        EXPECT_EQ(session().failure(), std::string("s.ks: the script ended while ") + waiterName(w) + " waits");
    }
    EXPECT_EQ(session().failure(), "s.ks: the script ended while an input request of the host waits");
}

TEST_F(SessionTest, ABadLineFromTheSourceFailsTheSession) {
    ScriptedSource src({"enter", "clik 5", "enter"}, "s.ks");
    use(src);
    EXPECT_TRUE(session().next(Waiter::CommandLine));
    EXPECT_FALSE(session().next(Waiter::Dialog));
    EXPECT_EQ(session().failure(), "s.ks:2: unknown action 'clik'");
    EXPECT_FALSE(session().next(Waiter::CommandLine)) << "nothing after a bad line runs";
}

TEST_F(SessionTest, AfterAFailureEveryWaiterIsCancelledAndTheFirstFailureStays) {
    ScriptedSource src({"click 1", "click 2"}, "s.ks");
    use(src);
    auto a = session().next(Waiter::Dialog);
    ASSERT_TRUE(a);
    session().reject(*a, "control 1 is disabled");
    session().fail("s.ks:9", "a later failure");
    EXPECT_EQ(session().failure(), "s.ks:1: control 1 is disabled");
    EXPECT_FALSE(session().next(Waiter::Dialog));
    EXPECT_FALSE(session().next(Waiter::MessageBox));
    EXPECT_FALSE(session().next(Waiter::CommandLine));
    EXPECT_EQ(src.prompts.size(), 1u) << "the source is not read after a failure";
}

TEST_F(SessionTest, WaitingOnAndOnAfterTheEndCallsTheRunawayHandler) {
    ScriptedSource src({}, "s.ks");
    use(src);
    std::string why;
    session().setRunawayHandler([&](const std::string& w) {
        why = w;
        throw RunawayStop(w);
    });
    int waits = 0;
    EXPECT_THROW(
        for (;;) {
            session().next(Waiter::HostInput);
            ++waits;
            ASSERT_LT(waits, 10000);
        },
        RunawayStop);
    EXPECT_EQ(waits, Session::kWaitsAfterEnd);
    EXPECT_EQ(why, "the session has ended but an input request of the host still asked for input 101 times; stopping");
}

TEST_F(SessionTest, ACheckNothingCanAnswerIsRejectedWithItsLine) {
    ScriptedSource src({"expect text 8019 \"a\""}, "s.ks");
    use(src);
    handle(ActionKind::Expect, [](const Action& a) { return a.expect == "message"; });
    EXPECT_FALSE(session().next(Waiter::CommandLine));
    EXPECT_EQ(session().failure(), "s.ks:1: nothing here can check \"text\" (no dialog or message box to look at)");
}

TEST_F(SessionTest, IdleChecksRunBeforeEachWaitAndCanFailTheSession) {
    ScriptedSource src({"enter", "enter"}, "s.ks");
    use(src);
    int runs = 0;
    bool leak = false;
    const int id = session().addIdleCheck([&] {
        ++runs;
        if (leak) session().fail("", "object 2A is still open");
    });
    EXPECT_TRUE(session().next(Waiter::CommandLine));
    EXPECT_EQ(session().lastOrigin(), "s.ks:1");
    leak = true;
    EXPECT_FALSE(session().next(Waiter::CommandLine));
    EXPECT_EQ(session().failure(), "object 2A is still open");
    EXPECT_EQ(runs, 2);
    session().removeIdleCheck(id);
}

TEST_F(SessionTest, ARemovedHandlerNoLongerSeesItsKind) {
    ScriptedSource src({"layout 00000409", "layout 00000419"}, "s.ks");
    use(src);
    int calls = 0;
    const int id = session().addHandler(ActionKind::Layout, [&](const Action&) { ++calls; return true; });
    session().next(Waiter::MessageBox, "", [&] { return calls == 1; });
    session().removeHandler(id);
    auto a = session().next(Waiter::Dialog);
    ASSERT_TRUE(a) << "with no handler the action goes to the waiter";
    EXPECT_EQ(a->text, "00000419");
    EXPECT_EQ(calls, 1);
}

TEST_F(SessionTest, PendingChecksSeeEachActionBeforeItIsHandedOutAndTheEnd) {
    ScriptedSource src({"caps on", "click 5", "caps on", "enter"}, "s.ks");
    use(src);
    handle(ActionKind::Caps, [](const Action&) { return true; });
    std::vector<std::string> seen;
    pending([&](const Action* next) {
        seen.push_back(next ? std::string(actionName(next->kind)) + "@" + std::to_string(session().handedOut())
                            : "end@" + std::to_string(session().handedOut()));
    });
    while (session().next(Waiter::CommandLine)) {}
    session().end();
    EXPECT_EQ(seen, (std::vector<std::string>{"click@0", "enter@1", "end@2"}));
}

TEST_F(SessionTest, AnOverduePendingCheckFailsTheSessionAndWithholdsTheAction) {
    ScriptedSource src({"click 5", "click 6"}, "s.ks");
    use(src);
    pending([&](const Action* next) {
        if (next && session().handedOut() == 1) session().fail("s.ks:0", "overdue before " + next->origin);
    });
    ASSERT_TRUE(session().next(Waiter::Dialog));
    EXPECT_FALSE(session().next(Waiter::Dialog));
    EXPECT_EQ(session().failure(), "s.ks:0: overdue before s.ks:2");
}

TEST_F(SessionTest, AScreenshotWithoutTheWindowIsRefusedAndOneWithItGoesToItsHandler) {
    ScriptedSource src({"screenshot \"a.png\"", "enter"}, "s.ks");
    use(src);
    EXPECT_FALSE(session().next(Waiter::CommandLine));
    EXPECT_EQ(session().failure(), "s.ks:1: screenshot needs the desktop window (cadhost --gui)");

    kestrin::test::resetMachine();
    ScriptedSource again({"screenshot \"b.png\"", "enter"}, "s.ks");
    use(again);
    std::string taken;
    handle(ActionKind::Screenshot, [&](const Action& a) { taken = a.text; return true; });
    auto a = session().next(Waiter::CommandLine);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Enter);
    EXPECT_EQ(taken, "b.png");
}

TEST_F(SessionTest, AForgivingSessionOnlyReportsAScreenshotWithoutTheWindow) {
    ScriptedSource src({"screenshot a.png", "enter"}, "s.ks");
    use(src);
    session().setForgiving(true);
    auto a = session().next(Waiter::CommandLine);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Enter);
    EXPECT_FALSE(session().failed());
    EXPECT_EQ(session().forgiven(), 1u);
}

TEST_F(SessionTest, TheWaiterIsKnownWhileTheSourceIsAskedAndOnlyThen) {
    std::vector<std::optional<Waiter>> seen;
    ScriptedSource src({[&] { seen.push_back(session().waiter()); }, "enter",
                        [&] { seen.push_back(session().waiter()); }, "escape"});
    use(src);
    EXPECT_FALSE(session().waiter());
    ASSERT_TRUE(session().next(Waiter::Dialog));
    EXPECT_FALSE(session().waiter());
    ASSERT_TRUE(session().next(Waiter::CommandLine));
    EXPECT_EQ(seen, (std::vector<std::optional<Waiter>>{Waiter::Dialog, Waiter::CommandLine}));
}
