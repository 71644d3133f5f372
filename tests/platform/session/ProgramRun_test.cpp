// What both programs check and do around a session: which files can be
// read or written, where the actions come from, and the transcript file,
// closed once and told when it fails.
#include "platform/session/ProgramRun.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/fs/FileSystem.h"
#include "platform/session/Transcript.h"
#include "tests/platform/fs/TempFolder.h"

namespace kestrin::session {
namespace {

using fs::testing::TempFolder;

TEST(ProgramRun, FilesToReadAndToWriteAreCheckedBeforeAnythingRuns) {
    TempFolder dir("program-run");
    const std::string file = dir / "a.ks";
    TempFolder::write(file, "command REGEN\n");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    TempFolder::write(dir / "locked.dxf", "0\nEOF\n");
    ASSERT_EQ(::chmod((dir / "locked.dxf").c_str(), 0444), 0);

    EXPECT_EQ(unreadableFile(file), "");
    EXPECT_EQ(unreadableFile(dir / "none.ks"), "no such file");
    EXPECT_EQ(unreadableFile(dir.path()), "it is a folder");
    EXPECT_EQ(unreadableFile(dir / "fifo"), "it is not a regular file (a device, FIFO or socket)");

    EXPECT_EQ(unwritableFile(file), "") << "replaced";
    EXPECT_EQ(unwritableFile(dir / "new.dxf"), "") << "made";
    EXPECT_EQ(unwritableFile(dir / "missing/new.dxf"), "no folder '" + dir / "missing" + "'");
    EXPECT_EQ(unwritableFile(dir.path()), "it is a folder");
    EXPECT_EQ(unwritableFile(dir / "fifo"), "it is not a regular file (a device, FIFO or socket)");
    EXPECT_EQ(unwritableFile(dir / "locked.dxf"), "it is write-protected");
}

TEST(ProgramRun, ActionsComeFromTheScriptStandardInputOrTheWindows) {
    using Kind = SessionOrigin::Kind;
    EXPECT_EQ(sessionOrigin(std::string("a.ks"), true).kind, Kind::Script);
    EXPECT_EQ(sessionOrigin(std::string("-"), true).kind, Kind::StandardInput) << "\"-\" even with windows";
    EXPECT_EQ(sessionOrigin(std::nullopt, true).kind, Kind::Window);
    EXPECT_EQ(sessionOrigin(std::nullopt, false).kind, Kind::StandardInput);
    EXPECT_FALSE(sessionOrigin(std::string("a.ks"), false).terminal);
}

TEST(ProgramRun, TheTranscriptFileGetsWhatIsShownAndFailuresAreTold) {
    TempFolder dir("program-run-transcript");
    {
        ProgramRun run("test");
        std::string why;
        EXPECT_FALSE(run.openTranscript(dir.path(), "KESTRIN_TRANSCRIPT: ", why));
        EXPECT_EQ(why, "KESTRIN_TRANSCRIPT: cannot write the transcript file '" + dir.path() + "': it is a folder");
        ASSERT_TRUE(run.openTranscript(dir / "t.txt", "", why)) << why;
        run.printTranscript(false);
        Transcript::instance().output("shown");
        EXPECT_TRUE(run.finish());
        EXPECT_TRUE(run.finish()) << "a second end changes nothing";
        Transcript::instance().output(" later");  // after the end: standard output only
    }
    auto text = fs::FileSystem::real().readFile(dir / "t.txt");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "shown\n");

    ProgramRun full("test");
    std::string why;
    ASSERT_TRUE(full.openTranscript("/dev/full", "", why)) << "a device takes a transcript";
    full.printTranscript(false);
    Transcript::instance().output("lost");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(full.finish());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "test: cannot write the transcript file '/dev/full': No space left on device\n");
}

}  // namespace
}  // namespace kestrin::session
