// A real module with resources and registrations: what the loader sets up
// for it, and that nothing of it stays behind after unload.
#include <gtest/gtest.h>

#include "host/api/AcEdCommandStack.h"
#include "host/api/AcEdUIContext.h"
#include "host/api/HostRuntime.h"
#include "host/loader/ModuleLoader.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ResourceChain.h"

using kestrin::host::ModuleLoader;

namespace {
const std::string kHello = std::string(KESTRIN_TEST_MODULE_DIR) + "/hello.arx";

class HelloModuleTest : public testing::Test {
protected:
    void TearDown() override { ModuleLoader::instance().unloadAll(); }
};
}  // namespace

TEST_F(HelloModuleTest, ResourcesCommandsAndMenuLiveExactlyAsLongAsTheModule) {
    std::string error;
    ASSERT_TRUE(ModuleLoader::instance().load(kHello, error)) << error;
    const HINSTANCE instance = ModuleLoader::instance().instanceOf(kHello);
    const kestrin::ui::ResourceTable* table = kestrin::ui::moduleResources(instance);
    ASSERT_NE(table, nullptr) << "the exported resource table was not registered";
    EXPECT_NE(table->menu(9001), nullptr);
    EXPECT_NE(kestrin::ui::findDialog(9100).dialog, nullptr) << "its dialog is found along the chain";

    auto& runtime = kestrin::host::HostRuntime::instance();
    EXPECT_TRUE(runtime.hasCommand("hellopoint"));
    const auto menus = runtime.defaultContextMenus();
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].name, "Hello");
    EXPECT_EQ(menus[0].appId, ModuleLoader::instance().appIdOf(kHello));

    ASSERT_TRUE(ModuleLoader::instance().unload(kHello, error)) << error;
    EXPECT_EQ(kestrin::ui::moduleResources(instance), nullptr);
    EXPECT_EQ(kestrin::ui::findDialog(9100).dialog, nullptr);
    EXPECT_FALSE(runtime.hasCommand("hellopoint"));
    EXPECT_TRUE(runtime.defaultContextMenus().empty());

    ASSERT_TRUE(ModuleLoader::instance().load(kHello, error)) << "loaded again: " << error;
    EXPECT_TRUE(runtime.hasCommand("HELLOPOINT"));
    EXPECT_EQ(runtime.defaultContextMenus().size(), 1u);
}

TEST_F(HelloModuleTest, AContextMenuTheModuleForgotIsRemovedAtUnload) {
    setenv("KESTRIN_HELLO_KEEP_MENU", "1", 1);
    std::string error;
    ASSERT_TRUE(ModuleLoader::instance().load(kHello, error)) << error;
    ASSERT_EQ(kestrin::host::HostRuntime::instance().defaultContextMenus().size(), 1u);
    ASSERT_TRUE(ModuleLoader::instance().unload(kHello, error)) << error;
    unsetenv("KESTRIN_HELLO_KEEP_MENU");
    EXPECT_TRUE(kestrin::host::HostRuntime::instance().defaultContextMenus().empty())
        << "a menu whose code is gone must not be offered";
}
