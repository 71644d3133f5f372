#include "gui/GuiSource.h"

#include <QTimer>
#include <gtest/gtest.h>

#include "tests/gui/GuiTest.h"
#include "platform/session/ScriptSource.h"

namespace kestrin::gui {
namespace {

using session::Action;
using session::ActionKind;

Action command(const std::string& name) {
    Action a;
    a.kind = ActionKind::Command;
    a.text = name;
    return a;
}

TEST(GuiSource, WaitsInTheEventLoopUntilAWindowPostsAnAction) {
    test::startApplication();
    GuiSource source;
    std::vector<std::string> prompts;
    source.waiting.connect([&](const std::string& p) { prompts.push_back(p); });
    QTimer::singleShot(0, [&] { source.post(command("CKESTRIN")); });
    const auto action = source.next("Command");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->kind, ActionKind::Command);
    EXPECT_EQ(action->text, "CKESTRIN");
    EXPECT_EQ(action->origin, "window:1");
    EXPECT_EQ(prompts, std::vector<std::string>{"Command"});
}

TEST(GuiSource, HandsOutPostedActionsInOrderThenEndsWhenFinished) {
    test::startApplication();
    GuiSource source;
    std::vector<std::string> handed;
    source.handedOut.connect([&](const Action& a) { handed.push_back(a.text); });
    source.post(command("A"));
    source.post(command("B"));
    EXPECT_EQ(source.next("")->text, "A");
    EXPECT_EQ(source.next("")->text, "B");
    QTimer::singleShot(0, [&] { source.finish(); });
    EXPECT_FALSE(source.next(""));
    source.post(command("C"));  // after the end nothing more comes
    EXPECT_FALSE(source.next(""));
    EXPECT_EQ(handed, (std::vector<std::string>{"A", "B"}));
}

TEST(GuiSource, PlaysAScriptAndIgnoresThePersonMeanwhile) {
    test::startApplication();
    GuiSource source(std::make_unique<session::ScriptSource>("demo.ks", "command CKESTRIN\nescape\n"));
    EXPECT_TRUE(source.playing());
    source.post(command("EKESTRIN"));
    const auto first = source.next("");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, "CKESTRIN");
    EXPECT_EQ(first->origin, "demo.ks:1");
    EXPECT_EQ(source.next("")->kind, ActionKind::Escape);
    EXPECT_FALSE(source.next(""));
    EXPECT_EQ(source.name(), "demo.ks");
}

}  // namespace
}  // namespace kestrin::gui
