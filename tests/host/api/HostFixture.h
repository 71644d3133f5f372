// The host with a test drawing as its working database, a session fed from
// a list of actions, and an empty transcript.
#pragma once

#include <gtest/gtest.h>

#include <deque>

#include "host/api/HostRuntime.h"
#include "host/api/HostState.h"
#include "host/db/AcDbDatabase.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "tests/host/db/TestDrawing.h"

namespace kestrin::test {

class ScriptedSource : public session::ActionSource {
public:
    std::optional<session::Action> next(const std::string& prompt) override {
        prompts.push_back(prompt);
        if (actions.empty()) return std::nullopt;
        session::Action a = std::move(actions.front());
        actions.pop_front();
        return a;
    }
    std::deque<session::Action> actions;
    std::vector<std::string> prompts;
};

inline session::Action action(session::ActionKind kind, std::string origin = "test:1") {
    session::Action a;
    a.kind = kind;
    a.origin = std::move(origin);
    return a;
}

inline session::Action point(double x, double y, double z = 0) {
    session::Action a = action(session::ActionKind::Point);
    a.x = x;
    a.y = y;
    a.z = z;
    return a;
}

inline session::Action pick(std::uint64_t handle, std::vector<std::uint64_t> containers = {}) {
    session::Action a = action(session::ActionKind::Pick);
    a.pick.by = session::PickTarget::By::Handle;
    a.pick.handle = handle;
    a.pick.containers = std::move(containers);
    return a;
}

class HostTest : public ::testing::Test {
protected:
    HostTest() {
        host::HostRuntime::instance().reset();
        auto database = std::make_unique<AcDbDatabase>();
        database->fromDocument(testDrawing());
        auto& state = host::HostState::instance();
        state.database = std::move(database);
        state.working = state.database.get();
        session::Session::instance().reset();
        session::Session::instance().setSource(&source);
        session::Transcript::instance().clear();
    }
    ~HostTest() override {
        session::Session::instance().setSource(nullptr);
        session::Session::instance().reset();
    }
    AcDbDatabase& db() { return *host::HostState::instance().working; }
    AcDbObjectId id(std::uint64_t handle) {
        AcDbObjectId out;
        db().getAcDbObjectId(out, false, AcDbHandle(handle));
        return out;
    }
    std::string output() { return session::Transcript::instance().outputSinceMark(); }
    std::vector<std::string> inputs() {
        std::vector<std::string> out;
        for (const auto& e : session::Transcript::instance().entries())
            if (e.kind == session::Transcript::Kind::Input) out.push_back(e.text);
        return out;
    }

    AbortThrows abortThrows;
    ScriptedSource source;
};

}  // namespace kestrin::test
