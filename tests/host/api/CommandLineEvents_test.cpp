// What the command line tells its views: prompts, printed text and the
// echo of input, in the order they happen.
#include "host/api/CommandLine.h"
#include "host/api/EditorInput.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin;
using session::ActionKind;

namespace {

class CommandLineEvents : public test::HostTest {
protected:
    CommandLineEvents() {
        auto& e = host::commandLineEvents();
        connections.push_back(e.promptShown.connectScoped([this](const std::string& t) { log.push_back("prompt " + t); }));
        connections.push_back(e.printed.connectScoped([this](const std::string& t) { log.push_back("print " + t); }));
        connections.push_back(e.inputEchoed.connectScoped([this](const std::string& t) { log.push_back("input " + t); }));
    }
    std::vector<std::string> log;
    std::vector<ScopedConnection> connections;
};

TEST_F(CommandLineEvents, PromptsOutputAndInputComeInTheOrderTheyHappen) {
    source.load({test::point(1, 2), test::act(ActionKind::Escape)});
    acutPrintf("\nstart %d", 1);
    ads_point p;
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNORM);
    acutPrintf("%s", "");  // nothing printed
    acedCommand(RTSTR, "_regen", 0);
    EXPECT_EQ(acedGetPoint(nullptr, "\nNext: ", p), RTCAN);
    ASSERT_EQ(log.size(), 6u) << ::testing::PrintToString(log);
    EXPECT_EQ(log[0], "print \nstart 1");
    EXPECT_EQ(log[1], "prompt \nPoint: ");
    EXPECT_EQ(log[2].rfind("input 1", 0), 0u) << log[2];
    EXPECT_EQ(log[3], "print \nRegenerating model.\n");
    EXPECT_EQ(log[4], "prompt \nNext: ");
    EXPECT_EQ(log[5], "input *Cancel*");
}

TEST_F(CommandLineEvents, DisconnectedViewsHearNothing) {
    connections.front().disconnect();  // the prompts
    connections.pop_back();            // the input echo
    source.load({test::act(ActionKind::Enter)});
    ads_point p;
    acedGetPoint(nullptr, "\nPoint: ", p);
    acutPrintf("done");
    EXPECT_EQ(log, (std::vector<std::string>{"print done"}));
}

}  // namespace
