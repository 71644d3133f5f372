#include "platform/keyboard/Keyboard.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/session/Session.h"
#include "platform/win/Messages.h"
#include "tests/support/SessionFixture.h"

namespace kestrin::keyboard {
namespace {

using test::machine;

class KeyboardTest : public test::FreshSession {
protected:
    void SetUp() override { attachToSession(); }
    void TearDown() override {
        FreshSession::TearDown();
        detachFromSession();
    }
    // Runs machine actions through the session as a script would.
    void run(std::vector<session::Action> actions) {
        const bool failedBefore = session::Session::instance().failed();
        session::Session::instance().reset();
        ASSERT_FALSE(failedBefore) << session::Session::instance().failure();
        script(std::vector<test::Step>(actions.begin(), actions.end()));
        session::Session::instance().next(session::Waiter::CommandLine);
    }
    static std::string activeName() {
        char name[KL_NAMELENGTH];
        GetKeyboardLayoutName(name);
        return name;
    }
};

TEST_F(KeyboardTest, DefaultsAreRussianAndUsInstalledWithUsActive) {
    EXPECT_EQ(activeName(), "00000409");
    HKL list[100];
    ASSERT_EQ(GetKeyboardLayoutList(100, list), 2);
    EXPECT_EQ(list[0], Keyboard::handleOf("00000419"));
    EXPECT_EQ(GetKeyboardLayoutList(0, nullptr), 2);
    BYTE state[256];
    ASSERT_TRUE(GetKeyboardState(state));
    EXPECT_EQ(state[VK_CAPITAL], 0);
}

TEST_F(KeyboardTest, ToggleAndHeldBitsShowInTheStateAndInGetKeyState) {
    run({machine(session::ActionKind::Caps, true), machine(session::ActionKind::Num, true)});
    BYTE state[256];
    GetKeyboardState(state);
    EXPECT_EQ(state[VK_CAPITAL], 1);
    EXPECT_EQ(state[VK_NUMLOCK], 1);
    EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);
    Keyboard::instance().setHeld(VK_CAPITAL, true);
    GetKeyboardState(state);
    EXPECT_EQ(state[VK_CAPITAL], 0x81) << "held and toggled";
    EXPECT_LT(GetKeyState(VK_CAPITAL), 0);
    run({machine(session::ActionKind::Caps, false)});
    GetKeyboardState(state);
    EXPECT_EQ(state[VK_CAPITAL], 0x80) << "caps off keeps the held bit";
}

TEST_F(KeyboardTest, ActivatingWithReorderMovesTheLayoutToTheFront) {
    HKL list[100];
    GetKeyboardLayoutList(100, list);
    // Two presses of a layout switch that activates the second entry.
    EXPECT_EQ(ActivateKeyboardLayout(list[1], KLF_REORDER), Keyboard::handleOf("00000409"));
    EXPECT_EQ(activeName(), "00000409");
    GetKeyboardLayoutList(100, list);
    EXPECT_EQ(list[0], Keyboard::handleOf("00000409"));
    ActivateKeyboardLayout(list[1], KLF_REORDER);
    EXPECT_EQ(activeName(), "00000419");
    GetKeyboardLayoutList(100, list);
    EXPECT_EQ(list[0], Keyboard::handleOf("00000419"));
}

TEST_F(KeyboardTest, NextLayoutWithoutReorderKeepsTheList) {
    EXPECT_NE(ActivateKeyboardLayout(HKL_NEXT, 0), nullptr);
    EXPECT_EQ(activeName(), "00000419");
    EXPECT_EQ(Keyboard::instance().installedLayouts().front(), "00000419");
    EXPECT_EQ(ActivateKeyboardLayout(reinterpret_cast<HKL>(0x04070407), 0), nullptr) << "not installed";
    EXPECT_EQ(activeName(), "00000419");
}

TEST_F(KeyboardTest, SessionSetsLayoutsAndRefusesBadIdentifiers) {
    run({machine(session::ActionKind::Layouts, false, {}, {"00010419", "00000409"}),
         machine(session::ActionKind::Layout, false, "00010419")});
    EXPECT_EQ(activeName(), "00010419");
    EXPECT_NE(Keyboard::handleOf("00010419"), Keyboard::handleOf("00000419")) << "a variant has its own handle";
    EXPECT_FALSE(session::Session::instance().failed());

    run({machine(session::ActionKind::Layout, false, "00000407")});
    EXPECT_EQ(session::Session::instance().failure(),
              "test:1: layout: layout 00000407 is not installed (installed: 00010419 00000409)");

    session::Session::instance().reset();  // the previous run failed on purpose
    run({machine(session::ActionKind::Layouts, false, {}, {"0409"})});
    EXPECT_EQ(session::Session::instance().failure(),
              "test:1: layouts: \"0409\" is not a layout identifier (8 hex digits)");
    EXPECT_EQ(Keyboard::instance().installedLayouts().size(), 2u) << "nothing changed";
}

TEST_F(KeyboardTest, LoadKeyboardLayoutInstallsAndMayActivate) {
    EXPECT_EQ(LoadKeyboardLayout("bad", KLF_ACTIVATE), nullptr);
    const HKL german = LoadKeyboardLayout("00000407", KLF_ACTIVATE);
    EXPECT_EQ(german, Keyboard::handleOf("00000407"));
    EXPECT_EQ(activeName(), "00000407");
    EXPECT_EQ(GetKeyboardLayoutList(0, nullptr), 3);
}

}  // namespace
}  // namespace kestrin::keyboard
