#include <map>

#include "platform/win/Styles.h"
#include "plugin/info/HyperlinkLaunch.h"
#include "tests/platform/shell/ShellTestSupport.h"

namespace kestrin::test {
namespace {

TEST(BrowserCommand, IsCutBeforeTheQuotedPlaceholderThenGetsABlankAndTheTarget) {
    EXPECT_EQ(composeBrowserCommand(R"(C:\Browser\browser.exe "%1")", "mailto:a@b"),
              std::optional<std::string>(R"(C:\Browser\browser.exe  mailto:a@b)"));
    EXPECT_EQ(composeBrowserCommand(R"(b.exe -nohome %1 "%1")", "t"), std::optional<std::string>(R"(b.exe -nohome %1  t)"));
    EXPECT_EQ(composeBrowserCommand(R"(b.exe -url %1)", "t"), std::optional<std::string>("b.exe -url  t"));
    EXPECT_EQ(composeBrowserCommand(R"(C:\Browser\browser.exe -new)", "t"),
              std::optional<std::string>(R"(C:\Browser\browser.exe -new t)"));
}

TEST(BrowserCommand, LongerThan519CharactersIsRefused) {
    const std::string browser(500, 'b');
    EXPECT_EQ(composeBrowserCommand(browser, std::string(18, 't'))->size(), 519u);
    EXPECT_FALSE(composeBrowserCommand(browser, std::string(19, 't')));
}

TEST(LaunchErrors, NameTheShellsNumberUnderTheCommonHeading) {
    EXPECT_EQ(launchErrorMessage(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(launchErrorMessage(4), "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
    EXPECT_EQ(launchErrorMessage(0), "Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
    EXPECT_NE(launchErrorMessage(kCommandLineTooLong).find("519"), std::string::npos);
}

// The shell's "open" fails (no opener), so the ".htm" browser of the
// registry is asked.
class BrowserFallback : public ShellTest {
protected:
    BrowserFallback() { setEnv("KESTRIN_OPENER", (dir / "no-opener").string()); }
    int launch(const std::string& target) {
        return launchHyperlink(target, SW_SHOW, [this](const std::string& key, std::string& value) {
            const auto it = keys.find(key);
            if (it == keys.end()) return false;
            value = it->second;
            return true;
        });
    }
    std::map<std::string, std::string> keys;
};

TEST_F(BrowserFallback, StartsTheRegisteredBrowserWithTheTarget) {
    const std::string program = recorder();  // named: g++ 12 warns -Wrestrict on "x" + temporary
    keys = {{".htm", "htmlfile"}, {"htmlfile\\shell\\open\\command", "\"" + program + "\" -new \"%1\""}};
    EXPECT_GT(launch("mailto:a@example.com"), 32);
    EXPECT_EQ(recorded(), (std::vector<std::string>{"-new", "mailto:a@example.com"}));
}

TEST_F(BrowserFallback, AMissingClassOrCommandReportsTheShellsOwnNumber) {
    EXPECT_EQ(launch("mailto:a@example.com"), 31);
    keys = {{".htm", "htmlfile"}};
    EXPECT_EQ(launch("mailto:a@example.com"), 31);
    EXPECT_TRUE(nothingRecorded());
}

TEST_F(BrowserFallback, ACommandLineOver519CharactersStartsNothing) {
    const std::string program = recorder();  // named: g++ 12 warns -Wrestrict on "x" + temporary
    const std::string browser = "\"" + program + "\" ";
    keys = {{".htm", "htmlfile"}, {"htmlfile\\shell\\open\\command", browser + "%1"}};
    EXPECT_EQ(launch("mailto:" + std::string(520 - browser.size() - 1 - 7, 'a')), kCommandLineTooLong);
    EXPECT_TRUE(nothingRecorded());
    EXPECT_GT(launch("mailto:" + std::string(519 - browser.size() - 1 - 7, 'a')), 32);
    EXPECT_EQ(recorded().size(), 1u);
}

}  // namespace
}  // namespace kestrin::test
