#include <dirent.h>
#include <fcntl.h>

#include <chrono>
#include <sstream>

#include "platform/shell/Shell.h"
#include "tests/platform/shell/ShellTestSupport.h"

namespace kestrin::test {
namespace {

int openResult(const std::string& target, const char* verb = "open", const char* directory = nullptr) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(ShellExecute(nullptr, verb, target.c_str(), nullptr, directory, SW_SHOW)));
}

// Processes whose parent is this one (zombies included).
int childProcesses() {
    int count = 0;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return -1;
    while (dirent* entry = ::readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        int parent = 0;
        rest >> state >> parent;
        if (parent == ::getpid()) ++count;
    }
    ::closedir(proc);
    return count;
}

using OpenVerb = ShellTest;

TEST_F(OpenVerb, HandsAUrlToTheOpenerAsOneArgumentNeverToACommandInterpreter) {
    setEnv("KESTRIN_OPENER", recorder());
    const std::string target = "http://example.com/?a=1&b=$(touch " + (dir / "pwned").string() + ");x `y` 'z'";
    EXPECT_GT(openResult(target), 32);
    EXPECT_EQ(recorded(), std::vector<std::string>{target});
    EXPECT_FALSE(std::filesystem::exists(dir / "pwned"));
}

TEST_F(OpenVerb, AFileMustExistAndIsHandedOverByItsPath) {
    setEnv("KESTRIN_OPENER", recorder());
    EXPECT_EQ(openResult((dir / "missing.htm").string()), SE_ERR_FNF);
    std::ofstream(dir / "file.txt") << "x";
    EXPECT_EQ(openResult((dir / "file.txt/inner.htm").string()), SE_ERR_PNF);
    EXPECT_TRUE(nothingRecorded());
    EXPECT_GT(openResult((dir / "file.txt").string()), 32);
    EXPECT_EQ(recorded(), std::vector<std::string>{(dir / "file.txt").string()});
}

TEST_F(OpenVerb, AnOpenerThatCannotRunGivesTheShellsNumbers) {
    setEnv("KESTRIN_OPENER", (dir / "no-such-opener").string());
    EXPECT_EQ(openResult("mailto:a@example.com"), SE_ERR_NOASSOC);
    setEnv("KESTRIN_OPENER", placeRecorder(dir / "plain", false));
    EXPECT_EQ(openResult("mailto:a@example.com"), SE_ERR_ACCESSDENIED);
    setEnv("KESTRIN_OPENER", placeRecorder(dir / "busy"));
    {
        // A program that is open for writing cannot be started: the
        // platform's sharing violation.
        const int writer = ::open((dir / "busy").c_str(), O_WRONLY);
        ASSERT_GE(writer, 0);
        EXPECT_EQ(openResult("mailto:a@example.com"), SE_ERR_SHARE);
        ::close(writer);
    }
    setEnv("KESTRIN_OPENER", recorder());
    EXPECT_EQ(openResult("mailto:a@example.com", "print"), SE_ERR_NOASSOC);
    EXPECT_EQ(openResult(""), SE_ERR_FNF);
    EXPECT_TRUE(nothingRecorded());
}

TEST_F(OpenVerb, ACommandLineStartsItsProgramWithTheArguments) {
    const std::string program = placeRecorder(dir / "my browser" / "rec.sh");
    EXPECT_GT(WinExec(("\"" + program + "\"  \"a b\" c").c_str(), SW_SHOW), 31u);
    EXPECT_EQ(recorded(), (std::vector<std::string>{"a b", "c"}));
}

TEST_F(OpenVerb, ACommandLineWhoseProgramCannotRunGivesTheShellsNumbers) {
    EXPECT_EQ(WinExec(((dir / "none.exe").string() + " x").c_str(), SW_SHOW), 2u);
    EXPECT_EQ(WinExec((placeRecorder(dir / "plain", false) + " x").c_str(), SW_SHOW), 5u);
    // No drive mapping here: a drive path names nothing.
    EXPECT_EQ(WinExec(R"(C:\Browser\browser.exe x)", SW_SHOW), 2u);
    EXPECT_EQ(WinExec("   ", SW_SHOW), 2u);
    EXPECT_TRUE(nothingRecorded());
}

TEST_F(OpenVerb, StartedProgramsAreNotWaitedForAndLeaveNoZombies) {
    const auto before = std::chrono::steady_clock::now();
    EXPECT_GT(WinExec("/bin/sleep 5", SW_SHOW), 31u);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    for (int i = 0; i < 3; ++i) EXPECT_GT(WinExec("/bin/true", SW_SHOW), 31u);
    EXPECT_EQ(childProcesses(), 0);
}

}  // namespace
}  // namespace kestrin::test
