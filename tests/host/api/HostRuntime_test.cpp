// The host as the cadhost program drives it: drawings opened and saved, a
// failed open that keeps the drawing, and acrx_abort's default ending.
#include "host/api/HostRuntime.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/api/AcDbHostApplicationServices.h"
#include "host/api/HostVariables.h"
#include "host/db/AcDbText.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin;
namespace fs = std::filesystem;

namespace {

class Runtime : public test::HostTest {
protected:
    Runtime() : dir(fs::temp_directory_path() / ("kestrin-runtime-" + std::to_string(::getpid()))) {
        fs::create_directories(dir);
    }
    ~Runtime() override { fs::remove_all(dir); }
    host::HostRuntime& runtime() { return host::HostRuntime::instance(); }
    fs::path dir;
};

TEST_F(Runtime, ANewDrawingComesFromTheTemplate) {
    runtime().newDrawing();
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db, runtime().database());
    EXPECT_DOUBLE_EQ(db->textsize(), 2.5);
    EXPECT_FALSE(db->textstyle().isNull());
    EXPECT_TRUE(runtime().drawingPath().empty());
}

TEST_F(Runtime, SaveThenOpenKeepsTheDrawing) {
    const std::string path = (dir / "saved.dxf").string();
    std::string error;
    ASSERT_TRUE(runtime().saveDrawing(path, error)) << error;
    EXPECT_EQ(runtime().drawingPath(), path);
    runtime().newDrawing();
    ASSERT_TRUE(runtime().openDrawing(path, error)) << error;
    AcDbObjectId text;
    EXPECT_EQ(runtime().database()->getAcDbObjectId(text, false, AcDbHandle(0x48)), Acad::eOk);  // the unknown entity
}

TEST_F(Runtime, AFailedOpenNamesTheFileAndKeepsTheCurrentDrawing) {
    AcDbDatabase* before = runtime().database();
    std::string error;
    EXPECT_FALSE(runtime().openDrawing((dir / "missing.dxf").string(), error));
    EXPECT_NE(error.find("missing.dxf"), std::string::npos) << error;
    std::ofstream(dir / "broken.dxf") << "0\nSECTION\n2\nENTITIES\n0\nTEXT\n";
    EXPECT_FALSE(runtime().openDrawing((dir / "broken.dxf").string(), error));
    EXPECT_NE(error.find("broken.dxf"), std::string::npos) << error;
    EXPECT_EQ(runtime().database(), before);

    AcDbText* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, id(0x40), AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(runtime().openDrawing((dir / "any.dxf").string(), error));  // an object is still open
    EXPECT_NE(error.find("open"), std::string::npos);
    t->close();
    EXPECT_FALSE(runtime().saveDrawing((dir / "no-such-folder" / "x.dxf").string(), error));
    EXPECT_NE(error.find("x.dxf"), std::string::npos) << error;
}

TEST_F(Runtime, ResetForgetsCommandsMenusAndQueuedInput) {
    host::HostState::instance().sentInput.push_back({"x", false});
    runtime().reset();
    EXPECT_FALSE(runtime().takeSentInput());
    EXPECT_TRUE(runtime().defaultContextMenus().empty());
    EXPECT_DOUBLE_EQ(runtime().database()->textsize(), 2.5);
}

TEST(AcrxAbort, ByDefaultPrintsItsMessageAndEndsTheHostWithStatus3) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            session::Transcript::instance().addSink([](session::Transcript::Kind, const std::string& text) {
                fprintf(stderr, "%s", text.c_str());
            });
            acrx_abort("Failed %s", "AcDbObject::close()");
        },
        ::testing::ExitedWithCode(3), "Failed AcDbObject::close\\(\\)");
}

}  // namespace
