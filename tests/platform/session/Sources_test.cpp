#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/Cp1251.h"
#include "platform/session/ScriptError.h"
#include "platform/session/ScriptSource.h"
#include "platform/session/StreamSource.h"

using namespace kestrin;
using namespace kestrin::session;

TEST(ScriptSource, GivesTheActionsInOrderWithTheirLines) {
    ScriptSource src("demo.ks", "\xEF\xBB\xBF# a demo\r\ncommand LINE\r\n\npoint 1,2\n  # done\nenter");
    EXPECT_EQ(src.size(), 3u);
    auto a = src.next("");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Command);
    EXPECT_EQ(a->text, "LINE");  // no '\r' left from the line end
    EXPECT_EQ(a->origin, "demo.ks:2");
    a = src.next("");
    EXPECT_EQ(a->origin, "demo.ks:4");
    a = src.next("");
    EXPECT_EQ(a->kind, ActionKind::Enter);
    EXPECT_EQ(a->origin, "demo.ks:6");
    EXPECT_FALSE(src.next(""));
    EXPECT_FALSE(src.next(""));
    EXPECT_EQ(src.name(), "demo.ks");
}

TEST(ScriptSource, RefusesAScriptWithBadLinesBeforeAnythingRuns) {
    try {
        ScriptSource src("demo.ks", "command LINE\nclik 5\npoint 1;2\nenter\n");
        FAIL() << "accepted";
    } catch (const ScriptError& e) {
        EXPECT_STREQ(e.what(),
                     "demo.ks:2: unknown action 'clik'\n"
                     "demo.ks:3: expected a point X,Y[,Z], found '1;2'");
    }
}

TEST(ScriptSource, ListsAtMostTenBadLines) {
    std::string text;
    for (int i = 0; i < 14; ++i) text += "bad\n";
    try {
        ScriptSource src("x.ks", text);
        FAIL() << "accepted";
    } catch (const ScriptError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("x.ks:10: unknown action 'bad'"), std::string::npos) << msg;
        EXPECT_EQ(msg.find("x.ks:11:"), std::string::npos) << msg;
        EXPECT_NE(msg.find("(4 more bad lines)"), std::string::npos) << msg;
    }
}

TEST(ScriptSource, ReadsAFileAndNamesAFileItCannotRead) {
    const std::string path = testing::TempDir() + "script_source_test.ks";
    {
        std::ofstream out(path, std::ios::binary);
        out << "type \"Строки\"\n";
    }
    auto src = ScriptSource::fromFile(path);
    auto a = src->next("");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->text, "Строки"_cp);
    EXPECT_EQ(a->origin, path + ":1");
    std::remove(path.c_str());

    try {
        ScriptSource::fromFile(path);
        FAIL() << "read a missing file";
    } catch (const ScriptError& e) {
        EXPECT_EQ(std::string(e.what()), "cannot read script '" + path + "': No such file or directory");
    }
}

TEST(StreamSource, ParsesEachLineAsItArrivesAndShowsThePrompt) {
    std::istringstream in("command LINE\n\n# nothing\npoint 3,4\n");
    std::ostringstream shown;
    StreamSource src(in, "<stdin>", &shown);
    auto a = src.next("Command: ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->origin, "<stdin>:1");
    a = src.next("");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Point);
    EXPECT_EQ(a->origin, "<stdin>:4");
    EXPECT_FALSE(src.next("Command: "));
    // One prompt per line read; blank and comment lines ask again.
    EXPECT_EQ(shown.str(), "Command: > > > Command: \n");
}

TEST(StreamSource, ABadLineThrowsAfterTheGoodOnesRan) {
    std::istringstream in("enter\nclik\nenter\n");
    StreamSource src(in, "<stdin>");
    EXPECT_TRUE(src.next(""));
    try {
        src.next("");
        FAIL() << "accepted a bad line";
    } catch (const ScriptError& e) {
        EXPECT_STREQ(e.what(), "<stdin>:2: unknown action 'clik'");
    }
}

TEST(StreamSource, InteractiveSourceReportsABadLineAndAsksAgain) {
    std::istringstream in("clik OK\nescape\n");
    std::ostringstream shown;
    StreamSource src(in, "<stdin>", &shown, StreamSource::OnError::Reprompt);
    auto a = src.next("Command: ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Escape);
    EXPECT_EQ(a->origin, "<stdin>:2");
    EXPECT_EQ(shown.str(), "Command: <stdin>:1: unknown action 'clik'\nCommand: ");
}

// Typed at a terminal: a bare word is a command, a blank line is Enter, and
// a prompt without a colon is kept apart from the input.
TEST(StreamSource, InteractiveSourceReadsLinesAsTyped) {
    std::istringstream in("CKestrin\n   \n# a note\nclick Выход\npick 9D\n");
    std::ostringstream shown;
    StreamSource src(in, "<stdin>", &shown, StreamSource::OnError::Reprompt);
    auto a = src.next("Command: ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Command);
    EXPECT_EQ(a->text, "CKestrin");
    a = src.next("Command: ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Enter);
    a = src.next("Command: ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Click);
    EXPECT_EQ(a->control.caption, "Выход"_cp);
    a = src.next("\nВыберите примитив");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Pick);
    EXPECT_EQ(shown.str(), "Command: Command: Command: Command: \nВыберите примитив: ");
}

TEST(StreamSource, AScriptOnStandardInputTakesNoBareCommand) {
    std::istringstream in("CKestrin\n");
    StreamSource src(in, "<stdin>");
    EXPECT_THROW(src.next(""), ScriptError);
}
