#include "host/loader/ModuleLoader.h"

#include "host/loader/FrameworkResources.h"
#include "platform/process/SharedLibrary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using kestrin::host::ModuleLoader;

namespace {

const std::string kModules = KESTRIN_TEST_MODULE_DIR;
const std::string kRecording = kModules + "/recording.arx";

std::string hex(const void* p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", p);
    return buf;
}

class ModuleLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        log_ = testing::TempDir() + "module_loader_test.log";
        std::remove(log_.c_str());
        setenv("KESTRIN_TEST_MODULE_LOG", log_.c_str(), 1);
        unsetenv("KESTRIN_TEST_MODULE_REFUSE");
    }
    void TearDown() override {
        loader().unloadAll();
        loader().setResourceHooks(kestrin::host::frameworkResourceHooks());
        unsetenv("KESTRIN_TEST_MODULE_LOG");
        unsetenv("KESTRIN_TEST_MODULE_REFUSE");
    }
    ModuleLoader& loader() { return ModuleLoader::instance(); }
    // The calls the recording module saw, and the log emptied for the next step.
    std::vector<std::string> calls() {
        std::vector<std::string> lines;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        in.close();
        std::remove(log_.c_str());
        return lines;
    }
    std::string log_;
};

}  // namespace

TEST_F(ModuleLoaderTest, LoadAttachesThenInitialisesAndUnloadGoesBackwards) {
    std::vector<std::string> hooks;
    loader().setResourceHooks({[&](HINSTANCE h, const kestrin::process::SharedLibrary& lib, std::string&) {
                                   hooks.push_back("add " + hex(h));
                                   return lib.symbol("acrxEntryPoint") != nullptr;
                               },
                               [&](HINSTANCE h) { hooks.push_back("remove " + hex(h)); }});
    std::string error;
    ASSERT_TRUE(loader().load(kRecording, error)) << error;
    const HINSTANCE instance = loader().instanceOf(kRecording);
    const void* appId = loader().appIdOf(kRecording);
    ASSERT_NE(instance, nullptr);
    ASSERT_NE(appId, nullptr);
    EXPECT_EQ(calls(), (std::vector<std::string>{"static init", "DllMain attach " + hex(instance),
                                                 "acrxEntryPoint load " + hex(appId), "first load"}));
    EXPECT_EQ(hooks, (std::vector<std::string>{"add " + hex(instance)}));
    EXPECT_EQ(loader().loadedPaths(), (std::vector<std::string>{kRecording}));

    ASSERT_TRUE(loader().unload(kRecording, error)) << error;
    EXPECT_EQ(calls(), (std::vector<std::string>{"acrxEntryPoint unload " + hex(appId), "DllMain detach " + hex(instance),
                                                 "static exit"}));
    EXPECT_EQ(hooks.back(), "remove " + hex(instance));
    EXPECT_FALSE(loader().isLoaded(kRecording));
    EXPECT_EQ(loader().instanceOf(kRecording), nullptr);
}

TEST_F(ModuleLoaderTest, AModuleCanBeLoadedAgainAfterUnloadWithFreshState) {
    std::string error;
    ASSERT_TRUE(loader().load(kRecording, error)) << error;
    ASSERT_TRUE(loader().unload(kRecording, error)) << error;
    calls();
    ASSERT_TRUE(loader().load(kRecording, error)) << error;
    const auto lines = calls();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "first load") << "the library's statics did not start afresh";
}

TEST_F(ModuleLoaderTest, TheSameFileCannotBeLoadedTwice) {
    std::string error;
    ASSERT_TRUE(loader().load(kRecording, error)) << error;
    const std::string other = kModules + "/../modules/recording.arx";
    EXPECT_FALSE(loader().load(other, error));
    EXPECT_EQ(error, "cannot load module '" + other + "': it is loaded already");
    EXPECT_EQ(loader().loadedPaths().size(), 1u);
    EXPECT_TRUE(loader().unload(other, error)) << "the same file under another spelling";
}

TEST_F(ModuleLoaderTest, UnloadAllGoesNewestFirst) {
    // The recording module twice would be refused; a copy under another name is another module.
    const std::string copy = testing::TempDir() + "recording_copy.arx";
    {
        std::ifstream in(kRecording, std::ios::binary);
        std::ofstream out(copy, std::ios::binary);
        out << in.rdbuf();
    }
    std::string error;
    ASSERT_TRUE(loader().load(kRecording, error)) << error;
    ASSERT_TRUE(loader().load(copy, error)) << error;
    const void* first = loader().appIdOf(kRecording);
    const void* second = loader().appIdOf(copy);
    calls();
    loader().unloadAll();
    const auto lines = calls();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "acrxEntryPoint unload " + hex(second));
    EXPECT_EQ(lines[3], "acrxEntryPoint unload " + hex(first));
    EXPECT_TRUE(loader().loadedPaths().empty());
    std::remove(copy.c_str());
}

TEST_F(ModuleLoaderTest, ModulesThatCannotLoadAreNamedAndLeaveNothingBehind) {
    std::string error;
    const std::string missing = kModules + "/missing.arx";
    EXPECT_FALSE(loader().load(missing, error));
    EXPECT_EQ(error.rfind("cannot load module '" + missing + "': ", 0), 0u) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    const std::string text = testing::TempDir() + "not_a_module.arx";
    std::ofstream(text) << std::string(200, 'x') << "\n";  // long enough to have its header read
    EXPECT_FALSE(loader().load(text, error));
    EXPECT_EQ(error.rfind("cannot load module '" + text + "': ", 0), 0u) << error;
    EXPECT_NE(error.find("header"), std::string::npos) << error;  // the dynamic linker's "invalid ELF header"
    std::remove(text.c_str());

    const std::string noEntry = kModules + "/no_entry_point.arx";
    EXPECT_FALSE(loader().load(noEntry, error));
    EXPECT_EQ(error.rfind("cannot load module '" + noEntry + "': it does not export acrxEntryPoint (", 0), 0u) << error;

    const std::string noVersion = kModules + "/no_api_version.arx";
    EXPECT_FALSE(loader().load(noVersion, error));
    EXPECT_EQ(error.rfind("cannot load module '" + noVersion + "': it does not export acrxGetApiVersion (", 0), 0u)
        << error;

    EXPECT_FALSE(loader().load("", error));
    EXPECT_EQ(error, "cannot load a module: no file name given");
    EXPECT_FALSE(loader().unload(kRecording, error));
    EXPECT_EQ(error, "cannot unload module '" + kRecording + "': it is not loaded");
    EXPECT_TRUE(loader().loadedPaths().empty());
}

TEST_F(ModuleLoaderTest, AModuleThatRefusesIsTakenDownCompletely) {
    std::string error;
    setenv("KESTRIN_TEST_MODULE_REFUSE", "attach", 1);
    EXPECT_FALSE(loader().load(kRecording, error));
    EXPECT_EQ(error, "cannot load module '" + kRecording + "': DllMain refused to attach");
    auto lines = calls();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].rfind("DllMain attach", 0), 0u);
    EXPECT_EQ(lines[2], "static exit") << "no detach for a module that never attached";

    setenv("KESTRIN_TEST_MODULE_REFUSE", "init", 1);
    int removed = 0;
    loader().setResourceHooks({[](HINSTANCE, const kestrin::process::SharedLibrary&, std::string&) { return true; }, [&](HINSTANCE) { ++removed; }});
    EXPECT_FALSE(loader().load(kRecording, error));
    EXPECT_EQ(error, "cannot load module '" + kRecording + "': acrxEntryPoint answered 3 to the load message");
    lines = calls();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4].rfind("acrxEntryPoint unload", 0), 0u) << "it may take back what it registered";
    EXPECT_EQ(lines[5].rfind("DllMain detach", 0), 0u);
    EXPECT_EQ(removed, 1);
    EXPECT_FALSE(loader().isLoaded(kRecording));
}

TEST_F(ModuleLoaderTest, AFailingResourceRegistrationRefusesTheModule) {
    loader().setResourceHooks({[](HINSTANCE, const kestrin::process::SharedLibrary&, std::string& why) {
                                   why = "no resource table";
                                   return false;
                               },
                               [](HINSTANCE) { ADD_FAILURE() << "nothing was registered"; }});
    std::string error;
    EXPECT_FALSE(loader().load(kRecording, error));
    EXPECT_EQ(error, "cannot load module '" + kRecording + "': its resources cannot be registered: no resource table");
    EXPECT_EQ(calls(), (std::vector<std::string>{"static init", "static exit"}));
}
