#include "plugin/frame/ModuleEntry.h"

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "host/ui/HostWindow.h"
#include "plugin/edit/EditCommand.h"
#include "plugin/frame/TextMenuContext.h"
#include "plugin/frame/TextPlacement.h"

using namespace kestrin::literals;

ModuleInstanceRecord g_moduleInstance;

namespace {

CTextMenuContext* g_pMenuContext = nullptr;

struct CommandEntry {
    const char* name;
    AcRxFunctionPtr handler;
};

// The commands of the group, in registration order.
constexpr CommandEntry kCommands[] = {
    {"EKestrin", editTextCommand},
    {"CKestrin", placeTextCommand},
};

AcRxDynamicLinker* dynamicLinker() { return AcRxDynamicLinker::cast(acrxSysRegistry()->at("DynamicLinker")); }

AcEdCommandStack* commandStack() {
    static AcRxClass* stackClass = nullptr;
    if (stackClass == nullptr) stackClass = AcRxClass::cast(acrxClassDictionary()->at("AcEdCommandStack"));
    AcRxObject* found = acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS");
    if (found == nullptr || stackClass == nullptr || !found->isKindOf(stackClass)) return nullptr;
    return static_cast<AcEdCommandStack*>(found);
}

void loadModule(void* appId) {
    if (AcRxDynamicLinker* linker = dynamicLinker()) linker->unlockApplication(appId);
    if (AcRxDynamicLinker* linker = dynamicLinker()) linker->registerAppMDIAware(appId);
    for (const CommandEntry& command : kCommands) {
        if (AcEdCommandStack* stack = commandStack())
            stack->addCommand(kCommandGroup, command.name, command.name, ACRX_CMD_MODAL, command.handler, nullptr,
                              -1, nullptr, nullptr);
    }
    g_pMenuContext = new CTextMenuContext;
    AfxSetResourceHandle(acedGetAcadResourceInstance());
    acedAddDefaultContextMenu(g_pMenuContext, appId, contextMenuName());
}

void unloadModule() {
    if (AcEdCommandStack* stack = commandStack()) stack->removeGroup(kCommandGroup);
    acedRemoveDefaultContextMenu(g_pMenuContext);
    delete g_pMenuContext;
    g_pMenuContext = nullptr;
}

}  // namespace

const char* contextMenuName() { return "Строки"_cp; }

extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (g_moduleInstance.attached) return TRUE;
        g_moduleInstance.attached = AfxInitExtensionModule(g_moduleInstance.extension, instance) ? 1 : 0;
        if (g_moduleInstance.attached) {
            g_moduleInstance.hostResource = AfxGetResourceHandle();
            g_moduleInstance.instance = instance;
            new CDynLinkLibrary(g_moduleInstance.extension);
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        if (g_moduleInstance.attached) {
            AfxTermExtensionModule(g_moduleInstance.extension, FALSE);
            g_moduleInstance.attached = 0;
        }
    }
    return TRUE;
}

extern "C" int acrxEntryPoint(int message, void* appId) {
    if (message == AcRx::kInitAppMsg) loadModule(appId);
    else if (message == AcRx::kUnloadAppMsg) unloadModule();
    return AcRx::kRetOK;
}

extern "C" int acrxGetApiVersion() { return 0xF0000; }
