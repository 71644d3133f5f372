#include "platform/help/HelpControl.h"
#include "tests/platform/shell/ShellTestSupport.h"

namespace kestrin::test {
namespace {

class HelpControl : public ShellTest {
protected:
    HelpControl() {
        // Nothing found unless a test provides it.
        setEnv("PATH", (dir / "bin").string());
        setEnv("KESTRIN_CHM_VIEWER", (dir / "no-viewer").string());
        setEnv("KESTRIN_OPENER", (dir / "no-opener").string());
    }
    ~HelpControl() override {
        if (library) help::freeHelpControl(library);
    }
    HWND show(const char* file, UINT command = HH_DISPLAY_TOPIC) {
        const HtmlHelpProc entry = help::helpControlExport(library, kHtmlHelpOrdinal);
        return entry ? entry(nullptr, file, command, 0) : nullptr;
    }
    HMODULE library = nullptr;
};

TEST_F(HelpControl, ByNameLoadsTheConfiguredViewerWhichShowsTheFile) {
    setEnv("KESTRIN_CHM_VIEWER", recorder());
    library = help::loadHelpControl(kHelpControlFileName);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(help::helpControlExport(library, 13), nullptr);
    EXPECT_EQ(show("/x/Kestrin.chm", 0x12), nullptr);
    EXPECT_NE(show("/x/Kestrin.chm"), nullptr);
    EXPECT_EQ(recorded(), std::vector<std::string>{"/x/Kestrin.chm"});
}

TEST_F(HelpControl, ByNameFallsBackToAViewerOnThePathThenToTheOpener) {
    placeRecorder(dir / "bin" / "kchmviewer");
    library = help::loadHelpControl(R"(C:\WINDOWS\System32\HHCTRL.OCX)");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(show("/y/a.chm"), nullptr);
    EXPECT_EQ(recorded(), std::vector<std::string>{"/y/a.chm"});
    help::freeHelpControl(library);
    std::filesystem::remove(dir / "bin" / "kchmviewer");
    std::filesystem::remove(record);

    setEnv("KESTRIN_OPENER", recorder());
    library = help::loadHelpControl(kHelpControlFileName);
    ASSERT_NE(library, nullptr);
    EXPECT_NE(show("/z/b.chm"), nullptr);
    EXPECT_EQ(recorded(), std::vector<std::string>{"/z/b.chm"});
}

TEST_F(HelpControl, ARegisteredLocationNamesTheViewerProgram) {
    EXPECT_EQ(help::loadHelpControl((dir / "missing-viewer").c_str()), nullptr);
    EXPECT_EQ(help::loadHelpControl(kHelpControlFileName), nullptr);
    library = help::loadHelpControl(recorder().c_str());
    ASSERT_NE(library, nullptr);
    EXPECT_NE(show("/w/c.chm"), nullptr);
    EXPECT_EQ(recorded(), std::vector<std::string>{"/w/c.chm"});
}

}  // namespace
}  // namespace kestrin::test
