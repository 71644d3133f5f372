// Runs EKestrin against the hand-made test drawing (a text, an insertion of
// the block BOX with an attribute, a multiline text, a line, a circle, a
// polyline; inside BOX a text and an attribute definition) with the module's
// resources and a session of script lines and probes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/api/Arx.h"
#include "host/api/HostRuntime.h"
#include "host/api/HostSession.h"
#include "host/api/HostState.h"
#include "platform/keyboard/Keyboard.h"
#include "platform/session/ActionParser.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/Framework.h"
#include "platform/ui/SessionBinding.h"
#include "plugin/edit/EditCommand.h"
#include "plugin/palette/TextProperties.h"
#include "tests/host/db/TestDrawing.h"
#include "tests/support/ScriptedSource.h"

namespace kestrin::test::edit {

using EditStep = test::Step;

class EditTest : public ::testing::Test {
protected:
    EditTest() {
        host::HostRuntime::instance().reset();
        auto database = std::make_unique<AcDbDatabase>();
        database->fromDocument(testDrawing());
        auto& state = host::HostState::instance();
        state.database = std::move(database);
        state.working = state.database.get();
        session::Session::instance().reset();
        session::Transcript::instance().clear();
        keyboard::Keyboard::instance().reset();
        ui::attachToSession();
        host::attachToSession();
        ui::registerModuleResources(&module_, kestrinModuleResources());
        chain_ = std::make_unique<CDynLinkLibrary>(&module_, &module_);
        g_textProperties = TextProperties{};
    }
    ~EditTest() override {
        chain_.reset();
        ui::unregisterModuleResources(&module_);
        session::Session::instance().setSource(nullptr);
        session::Session::instance().reset();
        g_textProperties = TextProperties{};
    }

    // Runs EKestrin over the steps; the session must not fail and nothing
    // may stay open.
    void run(std::vector<EditStep> steps) {
        ScriptedSource source(std::move(steps), "edit");
        session::Session::instance().setSource(&source);
        editTextCommand();
        EXPECT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
        EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
        session::Session::instance().setSource(nullptr);
        prompts = source.prompts;
    }

    AcDbObjectId id(std::uint64_t handle) {
        AcDbObjectId out;
        host::HostState::instance().working->getAcDbObjectId(out, false, AcDbHandle(handle));
        return out;
    }
    // The string an entity offers for editing (an attribute definition's tag).
    std::string stringOf(std::uint64_t handle) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id(handle), AcDb::kForRead, true) != Acad::eOk) return "<cannot open>";
        std::string out;
        if (auto* def = AcDbAttributeDefinition::cast(entity)) out = def->tagConst();
        else if (auto* text = AcDbText::cast(entity)) out = text->textStringConst();
        else if (auto* mtext = AcDbMText::cast(entity)) {
            char* contents = mtext->contents();
            out = contents;
            std::free(contents);
        }
        entity->close();
        return out;
    }
    bool erased(std::uint64_t handle) {
        AcDbObject* object = nullptr;
        if (acdbOpenAcDbObject(object, id(handle), AcDb::kForRead, true) != Acad::eOk) return false;
        const bool out = object->isErased();
        object->close();
        return out;
    }
    static std::string output() { return session::Transcript::instance().outputSinceMark(); }
    static int regenerations() { return host::HostState::instance().display.regenerations; }
    // The running edit dialog's field text (CP1251).
    static std::string fieldText() {
        const HWND dialog = ui::activeDialog();
        const ui::Window* field = dialog ? ui::childById(dialog, 8000) : nullptr;
        return field ? field->text : "<no dialog>";
    }

    std::vector<std::string> prompts;
    AbortThrows abortThrows;

private:
    HINSTANCE__ module_{};
    std::unique_ptr<CDynLinkLibrary> chain_;
};

}  // namespace kestrin::test::edit
