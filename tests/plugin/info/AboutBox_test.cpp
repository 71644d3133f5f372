// The About box and help, reached through the real palette.
#include <fcntl.h>

#include "base/Cp1251.h"
#include "plugin/info/AboutDlg.h"
#include "plugin/info/HelpFile.h"
#include "plugin/info/HyperlinkLaunch.h"
#include "tests/platform/shell/ShellTestSupport.h"
#include "tests/plugin/palette/PaletteTestSupport.h"

namespace kestrin::test {
namespace {

using namespace kestrin::literals;

class AboutBoxTest : public PaletteTest, public ScratchEnvironment {
protected:
    AboutBoxTest() { startLine(0, 0); }
    static CLinkStatic* activeLink() {
        return dynamic_cast<CLinkStatic*>(CWnd::FromHandle(ui::childById(ui::activeDialog(), 8058)->handle));
    }
    static std::string activeTitle() { return ui::windowRef(ui::activeDialog()).text; }
};

TEST_F(AboutBoxTest, TheAboutButtonShowsTheBoxWithTheAddressAsALink) {
    std::string title, text, tip;
    bool underlined = true, notify = false;
    COLORREF colour = 0;
    runPalette({"click 3", [&] {
                    CLinkStatic* link = activeLink();
                    ASSERT_NE(link, nullptr);
                    title = activeTitle();
                    link->GetWindowText(text);
                    tip = ui::toolTipTextOf(link->m_hWnd);
                    underlined = link->IsUnderlined();
                    notify = (link->GetStyle() & SS_NOTIFY) != 0;
                    colour = ui::queryControlColours(link->m_hWnd).text;
                },
                "click 1", "key escape"});
    EXPECT_EQ(title, "О программе Кестрин V2.4  ( Zor софт) "_cp);
    EXPECT_EQ(text, "zor-soft@example.com");
    EXPECT_EQ(tip, "mailto:zor-soft@example.com");
    EXPECT_FALSE(underlined);
    EXPECT_TRUE(notify);
    EXPECT_EQ(colour, RGB(0, 0, 238));
}

TEST_F(AboutBoxTest, AClickedLinkOpensItsTargetAndTurnsVisited) {
    setEnv("KESTRIN_OPENER", recorder());
    bool visited = false;
    COLORREF colour = 0;
    const int beeps = messageBeeps();
    runPalette({"click 3", "click 8058", [&] {
                    visited = activeLink()->IsVisited();
                    colour = ui::queryControlColours(activeLink()->m_hWnd).text;
                },
                "click 1", "key escape"});
    EXPECT_TRUE(visited);
    EXPECT_EQ(colour, RGB(85, 26, 139));
    EXPECT_EQ(messageBeeps(), beeps);
    EXPECT_EQ(recorded(), std::vector<std::string>{"mailto:zor-soft@example.com"});
}

TEST_F(AboutBoxTest, AFailedLaunchBeepsAndShowsTheShellsNumberAndStaysUnvisited) {
    const std::string opener = placeRecorder(dir / "busy-opener");
    setEnv("KESTRIN_OPENER", opener);
    const int writer = ::open(opener.c_str(), O_WRONLY);  // busy: a sharing violation
    ASSERT_GE(writer, 0);
    bool visited = true;
    std::string box;
    const int beeps = messageBeeps();
    runPalette({"click 3", "answer ok", "click 8058", [&] {
                    visited = activeLink()->IsVisited();
                    box = ui::lastMessageBoxText();
                },
                "click 1", "key escape"});
    ::close(writer);
    EXPECT_FALSE(visited);
    EXPECT_EQ(box, "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(messageBeeps(), beeps + 1);
    EXPECT_TRUE(nothingRecorded());
}

TEST_F(AboutBoxTest, TheSystemMenuEntryAndItsFifteenNeighboursOpenTheBox) {
    std::vector<std::string> titles;
    const auto seeTitle = [&] { titles.push_back(activeTitle()); };
    runPalette({"sysmenu 16", seeTitle, "click 1", [&] { dlg->SendMessage(WM_SYSCOMMAND, 31); }, seeTitle, "click 1",
                [&] { dlg->SendMessage(WM_SYSCOMMAND, 32); }, seeTitle, "key escape"});
    const std::string about = "О программе Кестрин V2.4  ( Zor софт) "_cp;
    EXPECT_EQ(titles, (std::vector<std::string>{about, about, "Кестрин V2.4  ( Zor софт)"_cp}));
}

TEST_F(AboutBoxTest, TheHelpButtonShowsTheHelpFileFoundOnTheSupportPath) {
    std::ofstream(dir / "kestrin.CHM") << "help";
    host::HostRuntime::instance().addSupportPath(dir.string());
    setEnv("KESTRIN_CHM_VIEWER", recorder());
    runPalette({"click 4", "key escape"});
    EXPECT_EQ(recorded(), std::vector<std::string>{(dir / "kestrin.CHM").string()});
}

TEST_F(AboutBoxTest, WithoutTheHelpFileTheButtonOnlySaysSo) {
    setEnv("KESTRIN_CHM_VIEWER", recorder());
    runPalette({"click 4", "key escape"});
    EXPECT_NE(output().find("\nНе найден файл Kestrin.chm.\n"_cp), std::string::npos) << output();
    EXPECT_TRUE(nothingRecorded());
}

class HelpLoaderTest : public ShellTest {
protected:
    HelpLoaderTest() {
        setEnv("PATH", (dir / "bin").string());
        setEnv("KESTRIN_CHM_VIEWER", (dir / "no-viewer").string());
        setEnv("KESTRIN_OPENER", (dir / "no-opener").string());
        // The control stays loaded for the life of the process; start unloaded.
        if (HMODULE loaded = help::loadHelpControl(kHelpControlFileName)) help::freeHelpControl(loaded);
    }
    ~HelpLoaderTest() override {
        if (HMODULE loaded = help::loadHelpControl(recorder().c_str())) help::freeHelpControl(loaded);
    }
};

TEST_F(HelpLoaderTest, AFailedLoadIsNotTriedAgain) {
    HelpViewerLoader loader([](std::string&) { return false; });
    EXPECT_EQ(loader.htmlHelp(nullptr, "/h/Kestrin.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_TRUE(loader.loadFailed());
    const int attempts = help::helpControlLoadAttempts();
    setEnv("KESTRIN_CHM_VIEWER", recorder());  // a viewer now exists
    EXPECT_EQ(loader.htmlHelp(nullptr, "/h/Kestrin.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(help::helpControlLoadAttempts(), attempts);
    EXPECT_TRUE(nothingRecorded());
}

TEST_F(HelpLoaderTest, TheRegisteredLocationComesFirstAndIsLoadedOnce) {
    int reads = 0;
    HelpViewerLoader loader([&](std::string& location) {
        ++reads;
        location = recorder();
        return true;
    });
    EXPECT_NE(loader.htmlHelp(nullptr, "/h/Kestrin.chm", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(recorded(), std::vector<std::string>{"/h/Kestrin.chm"});
    loader.htmlHelp(nullptr, "/h/Kestrin.chm", HH_DISPLAY_TOPIC, 0);
    EXPECT_EQ(reads, 1);
}

TEST(AboutCommand, IsSixteenWithItsLowFourBitsIgnored) {
    EXPECT_FALSE(isAboutCommand(15));
    EXPECT_TRUE(isAboutCommand(16));
    EXPECT_TRUE(isAboutCommand(31));
    EXPECT_FALSE(isAboutCommand(32));
    EXPECT_FALSE(isAboutCommand(SC_CLOSE));
}

}  // namespace
}  // namespace kestrin::test
