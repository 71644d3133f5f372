// The host with a test drawing as its working database and a fresh machine
// (tests/support/SessionFixture.h) whose session reads `source`.
#pragma once

#include <gtest/gtest.h>

#include "host/api/HostRuntime.h"
#include "host/api/HostState.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCurves.h"
#include "host/db/AcDbDatabase.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "tests/host/db/TestDrawing.h"
#include "tests/support/SessionFixture.h"
#include "tests/support/ScriptedSource.h"

namespace kestrin::test {

class HostTest : public FreshSession {
protected:
    HostTest() {
        host::HostRuntime::instance().reset();
        auto database = std::make_unique<AcDbDatabase>();
        database->fromDocument(testDrawing());
        auto& state = host::HostState::instance();
        state.database = std::move(database);
        state.working = state.database.get();
        session::Session::instance().setSource(&source);
    }
    ~HostTest() override { session::Session::instance().setSource(nullptr); }
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

    // A line added to the model space of the working drawing.
    AcDbObjectId appendLine(AcGePoint3d from, AcGePoint3d to) {
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db().getBlockTable(table, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* model = nullptr;
        EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, model, AcDb::kForWrite), Acad::eOk);
        table->close();
        AcDbObjectId id;
        auto* line = new AcDbLine(from, to);
        EXPECT_EQ(model->appendAcDbEntity(id, line), Acad::eOk);
        line->close();
        model->close();
        return id;
    }

    AbortThrows abortThrows;
    ScriptedSource source;
};

}  // namespace kestrin::test
