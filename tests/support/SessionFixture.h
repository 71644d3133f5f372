// The machine every test starts from: a fresh session without a source, an
// empty transcript, the keyboard's default state, no queued message-box
// answers and an empty clipboard. When the test is done the session ends, so
// an answer that no message box took fails the test (unless the test saw the
// session fail already and checked why).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard/Clipboard.h"
#include "platform/keyboard/Keyboard.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/MessageBox.h"
#include "tests/support/ScriptedSource.h"

namespace kestrin::test {

inline void resetMachine() {
    session::Session::instance().reset();
    session::Transcript::instance().clear();
    keyboard::Keyboard::instance().reset();
    ui::resetMessageBoxes();
    clipboard::clear();
}

class FreshSession : public ::testing::Test {
protected:
    FreshSession() { resetMachine(); }
    ~FreshSession() override { resetMachine(); }

    void TearDown() override {
        session::Session& s = session::Session::instance();
        if (s.failed()) return;
        s.end();
        if (s.failed()) ADD_FAILURE() << "the session failed at its end: " << s.failure();
    }

    // Feeds the steps to the session; the source lives until the test ends
    // or the next script.
    ScriptedSource& script(std::vector<Step> steps, std::string name = "test") {
        scripted_ = std::make_unique<ScriptedSource>(std::move(steps), std::move(name));
        session::Session::instance().setSource(scripted_.get());
        return *scripted_;
    }
    static std::string failure() { return session::Session::instance().failure(); }
    static bool failed() { return session::Session::instance().failed(); }

private:
    std::unique_ptr<ScriptedSource> scripted_;
};

}  // namespace kestrin::test
