// The built module loaded through the host's module loader: what it
// registers at load, what its context menu sends, and what unload removes.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "host/api/HostRuntime.h"
#include "host/loader/ModuleLoader.h"
#include "plugin/frame/ModuleEntry.h"
#include "plugin/resources/ResourceIds.h"
#include "platform/ui/Menu.h"

using namespace kestrin;
using namespace kestrin::literals;
using host::HostRuntime;
using host::ModuleLoader;

namespace {

const std::string kModule = KESTRIN_PLUGIN_MODULE;

class ModuleEntry : public testing::Test {
protected:
    ModuleEntry() { HostRuntime::instance().reset(); }
    ~ModuleEntry() override {
        ModuleLoader::instance().unloadAll();
        HostRuntime::instance().reset();
    }
    void load() {
        std::string error;
        ASSERT_TRUE(ModuleLoader::instance().load(kModule, error)) << error;
    }
    void unload() {
        std::string error;
        ASSERT_TRUE(ModuleLoader::instance().unload(kModule, error)) << error;
    }
    std::vector<std::string> commands() { return host::commandStack().commandsOf("Kestrin"); }
    AcEdUIContext* menuContext() {
        const auto& menus = host::registeredContextMenus();
        return menus.size() == 1 ? menus.front().context : nullptr;
    }
    // An export of the loaded module.
    template <class Fn>
    Fn moduleExport(const char* name) {
        void* handle = dlopen(kModule.c_str(), RTLD_NOW | RTLD_NOLOAD);
        EXPECT_NE(handle, nullptr) << kModule;
        if (handle == nullptr) return nullptr;
        auto fn = reinterpret_cast<Fn>(dlsym(handle, name));
        dlclose(handle);
        return fn;
    }
    std::vector<std::string> sentInput() {
        std::vector<std::string> out;
        while (auto text = HostRuntime::instance().takeSentInput()) out.push_back(*text);
        return out;
    }
};

TEST_F(ModuleEntry, LoadRegistersTheCommandGroupAndTheContextMenu) {
    load();
    EXPECT_EQ(commands(), (std::vector<std::string>{"EKestrin", "CKestrin"}));
    const AcEdCommand* command = host::commandStack().lookupGlobalCmd("ckestrin");
    ASSERT_NE(command, nullptr);
    EXPECT_STREQ(command->localName(), "CKestrin");
    EXPECT_EQ(command->commandFlags(), ACRX_CMD_MODAL);
    EXPECT_EQ(command->UIContext(), nullptr);
    EXPECT_EQ(command->functionCode(), -1);
    EXPECT_EQ(command->resourceHandle(), nullptr);

    const auto& menus = host::registeredContextMenus();
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus.front().name, "Строки"_cp);
    const void* appId = ModuleLoader::instance().appIdOf(kModule);
    EXPECT_EQ(menus.front().appId, appId);
    EXPECT_TRUE(acrxDynamicLinker()->isAppMDIAware(appId));
    EXPECT_FALSE(acrxDynamicLinker()->isApplicationLocked(appId));
    EXPECT_STREQ(menus.front().context->isA()->name(), "AcEdUIContext");
}

TEST_F(ModuleEntry, UnloadRemovesBothAndReloadRegistersAgain) {
    load();
    unload();
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(host::commandStack().lookupGlobalCmd("CKestrin"), nullptr);
    EXPECT_TRUE(host::registeredContextMenus().empty());
    load();
    EXPECT_EQ(commands(), (std::vector<std::string>{"EKestrin", "CKestrin"}));
    ASSERT_NE(menuContext(), nullptr);
    EXPECT_EQ(host::registeredContextMenus().front().name, "Строки"_cp);
}

TEST_F(ModuleEntry, OtherMessagesChangeNothingAndTheVersionIsRelease15) {
    load();
    auto entry = moduleExport<int (*)(int, void*)>("acrxEntryPoint");
    auto version = moduleExport<int (*)()>("acrxGetApiVersion");
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), 0xF0000);
    AcEdUIContext* before = menuContext();
    void* appId = const_cast<void*>(ModuleLoader::instance().appIdOf(kModule));
    for (int message : {0, 3, 4, 5, 99}) EXPECT_EQ(entry(message, appId), 0) << message;
    EXPECT_EQ(commands(), (std::vector<std::string>{"EKestrin", "CKestrin"}));
    EXPECT_EQ(menuContext(), before);
}

TEST_F(ModuleEntry, ASecondAttachLeavesTheInstanceRecordAsItWas) {
    load();
    auto attach = moduleExport<BOOL (*)(HINSTANCE, DWORD, LPVOID)>("DllMain");
    auto* record = moduleExport<ModuleInstanceRecord*>("g_moduleInstance");
    ASSERT_NE(attach, nullptr);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->attached, 1);
    EXPECT_EQ(record->instance, ModuleLoader::instance().instanceOf(kModule));
    const ModuleInstanceRecord before = *record;
    const std::size_t chain = ui::resourceSearchOrder().size();
    int other = 0;
    EXPECT_EQ(attach(reinterpret_cast<HINSTANCE>(&other), DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(record->attached, before.attached);
    EXPECT_EQ(record->instance, before.instance);
    EXPECT_EQ(record->hostResource, before.hostResource);
    EXPECT_EQ(record->extension.hModule, before.extension.hModule);
    EXPECT_EQ(ui::resourceSearchOrder().size(), chain);
}

TEST_F(ModuleEntry, TheContextMenuOffersBothItemsAndSendsOneCommandEach) {
    load();
    AcEdUIContext* context = menuContext();
    ASSERT_NE(context, nullptr);
    context->OnUpdateMenu();
    auto* popup = static_cast<HMENU*>(context->getMenuContext(nullptr, AcDbObjectIdArray{}));
    ASSERT_NE(popup, nullptr);
    ASSERT_NE(*popup, nullptr);
    const auto* items = ui::menuItems(*popup);
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->size(), 2u);
    EXPECT_EQ((*items)[0].id, static_cast<UINT>(ID_MENU_CKESTRIN));
    EXPECT_EQ((*items)[0].text, "Текст/Редактирование"_cp);
    EXPECT_EQ((*items)[1].id, static_cast<UINT>(ID_MENU_EKESTRIN));
    EXPECT_EQ((*items)[1].text, "Редактирование строк"_cp);
    EXPECT_TRUE(ui::menuHasCommand(*popup, ID_MENU_EKESTRIN));

    context->onCommand(ID_MENU_CKESTRIN);
    context->onCommand(ID_MENU_EKESTRIN);
    context->onCommand(32773);
    context->onCommand(0);
    EXPECT_EQ(sentInput(), (std::vector<std::string>{"CKestrin ", "EKestrin "}));
}

}  // namespace
