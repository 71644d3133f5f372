// Random sequences of the plug-in's commands (placing lines, editing a text,
// moving one), U, UNDO n and REDO, run through the host with the real module:
// after every undo the drawing's file text is what it was before the steps
// undone, after every redo what it was after them.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "host/api/HostRuntime.h"
#include "host/api/HostSession.h"
#include "host/api/HostState.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/Handles.h"
#include "host/loader/ModuleLoader.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/SessionBinding.h"
#include "host/api/InputRequest.h"
#include "platform/session/ActionParser.h"

using namespace kestrin;

namespace {

const std::string kModule = KESTRIN_PLUGIN_MODULE;

// Script lines made when they are asked for, so a line may depend on what
// the host asks at that moment; a step that answers "" is passed over.
class DecidingSource : public session::ActionSource {
public:
    using Step = std::function<std::string()>;
    void load(std::vector<Step> steps) {
        steps_ = std::move(steps);
        at_ = 0;
    }
    std::optional<session::Action> next(const std::string&) override {
        while (at_ < steps_.size()) {
            const std::string line = steps_[at_++]();
            if (line.empty()) continue;
            return session::parseAction(line, "random:" + std::to_string(at_));
        }
        return std::nullopt;
    }

private:
    std::vector<Step> steps_;
    std::size_t at_ = 0;
};

DecidingSource::Step line(std::string text) {
    return [text] { return text; };
}

class UndoSequences : public testing::Test {
protected:
    UndoSequences() {
        host::HostRuntime::instance().reset();
        session::Session::instance().reset();
        session::Transcript::instance().clear();
        ui::resetMessageBoxes();
        ui::attachToSession();
        host::attachToSession();
        std::string error;
        loaded_ = host::ModuleLoader::instance().load(kModule, error);
        EXPECT_TRUE(loaded_) << error;
        session::Session::instance().setSource(&source_);
    }
    ~UndoSequences() override {
        session::Session::instance().setSource(nullptr);
        host::ModuleLoader::instance().unloadAll();
        host::HostRuntime::instance().reset();
        session::Session::instance().reset();
    }

    static std::string drawing() { return dxf::writeDxf(host::HostRuntime::instance().database()->toDocument()); }

    // Runs command `name` with `steps` as the person's answers; the session
    // must not fail and nothing may stay open.
    void run(const std::string& name, std::vector<DecidingSource::Step> steps) {
        source_.load(std::move(steps));
        host::HostRuntime::instance().runCommand(name);
        ASSERT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
        ASSERT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
    }

    // Handles of the texts a person can pick now.
    static std::vector<std::uint64_t> texts() {
        std::vector<std::uint64_t> out;
        for (const db::Entry* e : host::HostRuntime::instance().database()->store().topLevelEntities())
            if (!e->erased && e->record.type == "TEXT") out.push_back(e->handle);
        return out;
    }

    bool loaded_ = false;
    DecidingSource source_;
};

std::string word(std::mt19937& random) {
    static const char* const kWords[] = {"Лист", "Масштаб", "plan", "A-1", "%%c50", "Узел 3", "x"};
    return kWords[random() % std::size(kWords)];
}

std::string coordinate(std::mt19937& random) { return std::to_string(static_cast<int>(random() % 200)); }

// A point when the host asks for one at that moment, else nothing.
DecidingSource::Step pointIfAsked(std::mt19937& random) {
    const std::string point = "point " + coordinate(random) + "," + coordinate(random);
    return [point] { return host::currentRequest() == host::InputRequest::Point ? point : std::string(); };
}

TEST_F(UndoSequences, UndoAndRedoAlwaysGiveBackTheDrawingAsItWas) {
    ASSERT_TRUE(loaded_);
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        host::HostRuntime::instance().newDrawing();
        std::mt19937 random(seed);
        // The drawing after each step still done (the first: as opened), and
        // the states undone, newest last, in the groups each undo took.
        std::vector<std::string> done{drawing()};
        std::vector<std::vector<std::string>> undone;
        for (int op = 0; op < 30; ++op) {
            SCOPED_TRACE("operation " + std::to_string(op));
            const unsigned kind = random() % 10;
            const std::vector<std::uint64_t> picks = texts();
            if (kind <= 4 || (kind <= 6 && picks.empty())) {
                std::vector<DecidingSource::Step> steps{line("point " + coordinate(random) + "," + coordinate(random))};
                if (random() % 2) steps.push_back(line("choose 8003 \"5\""));
                steps.push_back(line("type \"" + word(random) + "\""));
                for (unsigned more = random() % 3; more > 0; --more) {
                    steps.push_back(line("key enter"));
                    steps.push_back(pointIfAsked(random));  // without a line step yet, the place is asked
                    steps.push_back(line("type \"" + word(random) + "\""));
                }
                steps.push_back(line(random() % 2 ? "click \"Выход\"" : "key escape"));
                ASSERT_NO_FATAL_FAILURE(run("CKestrin", steps));
            } else if (kind == 5) {
                const std::string h = dxf::formatHandle(picks[random() % picks.size()]);
                ASSERT_NO_FATAL_FAILURE(run("EKestrin", {line("pick " + h), line("key home"), line("key shift+end"),
                                                         line("type \"" + word(random) + "\""), line("click \"OK\""),
                                                         line("escape")}));
            } else if (kind == 6) {
                // "Перенести" asks for the point, or moves by the line step once there is one.
                const std::string h = dxf::formatHandle(picks[random() % picks.size()]);
                ASSERT_NO_FATAL_FAILURE(run("CKestrin", {line("enter"), line("pick " + h), line("click 8018"),
                                                         pointIfAsked(random), line("click \"Выход\"")}));
            } else if (kind <= 8) {
                const std::size_t count = kind == 7 ? 1 : 1 + random() % 3;
                if (kind == 7) ASSERT_NO_FATAL_FAILURE(run("U", {}));
                else ASSERT_NO_FATAL_FAILURE(run("UNDO", {line("command " + std::to_string(count))}));
                std::vector<std::string> took;
                for (std::size_t i = 0; i < count && done.size() > 1; ++i) {
                    took.push_back(done.back());
                    done.pop_back();
                }
                ASSERT_EQ(drawing(), done.back()) << "after undoing " << count;
                if (!took.empty()) undone.push_back(std::move(took));
                continue;
            } else {
                ASSERT_NO_FATAL_FAILURE(run("REDO", {}));
                if (!undone.empty()) {
                    for (auto it = undone.back().rbegin(); it != undone.back().rend(); ++it) done.push_back(*it);
                    undone.pop_back();
                }
                ASSERT_EQ(drawing(), done.back()) << "after redo";
                continue;
            }
            // A command: a step when it changed the drawing, and then nothing
            // undone can be redone.
            const std::string now = drawing();
            if (now != done.back()) {
                done.push_back(now);
                undone.clear();
            }
        }
    }
}

}  // namespace
