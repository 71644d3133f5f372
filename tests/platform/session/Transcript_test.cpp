#include "platform/session/Transcript.h"

#include <gtest/gtest.h>

#include "base/Cp1251.h"

using namespace kestrin;
using namespace kestrin::session;

TEST(Transcript, SinksGetEachEntryInUtf8AndOutputSinceMarkKeepsCp1251) {
    Transcript& t = Transcript::instance();
    t.clear();
    std::vector<std::string> seen;
    const int sink = t.addSink([&](Transcript::Kind k, const std::string& s) {
        if (k == Transcript::Kind::Output || k == Transcript::Kind::Error) seen.push_back(s);
    });
    t.output("\nГотово"_cp);
    t.prompt("Command: ");
    t.input("LINE");
    EXPECT_EQ(t.outputSinceMark(), "\nГотово"_cp + std::string("Command: "));
    t.setMark();
    EXPECT_EQ(t.outputSinceMark(), "");
    t.error("demo.ks:3: нет");  // errors are UTF-8 already and pass unchanged
    t.output("x");
    EXPECT_EQ(t.outputSinceMark(), "x") << "errors and input are not command-line output";
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], "\nГотово");
    EXPECT_EQ(seen[1], "demo.ks:3: нет");
    t.messageBox("Setup"_cp, "Ошибка"_cp, "error", "ok", "ok");
    EXPECT_EQ(t.entries().back().text, "[Setup] Ошибка (error, ok) -> ok"_cp);
    t.removeSink(sink);
    t.output("after");
    EXPECT_EQ(seen.size(), 3u) << "a removed sink sees nothing more";
    t.clear();
    EXPECT_TRUE(t.entries().empty());
}
