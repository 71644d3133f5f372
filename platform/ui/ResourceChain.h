// The resource registry: which module's resources are found for a number,
// along the resource chain of the class framework.
//
// A lookup searches the current resource handle first (AfxGetResourceHandle),
// then every extension module in the chain of CDynLinkLibrary objects, oldest
// first, then the application's own module. So a module's dialog is found
// while the host's resources are current, as on the real platform.
//
// The module loader finds the exported symbol
//
//     extern "C" const kestrin::ui::ResourceTable* kestrinModuleResources();
//
// in each module it loads (dlsym) and registers the answer under the module's
// instance handle before calling the module's attach entry; on unload it
// unregisters the handle after the detach entry.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/ResourceTable.h"
#include "platform/win/Types.h"

// The symbol every module with resources exports.
extern "C" const kestrin::ui::ResourceTable* kestrinModuleResources();
using KestrinModuleResourcesFn = const kestrin::ui::ResourceTable* (*)();
inline constexpr const char* kKestrinModuleResourcesSymbol = "kestrinModuleResources";

namespace kestrin::ui {

// Raises ResourceError when the handle is null, already registered, or the
// table has problems (checkResourceTable); nothing is registered then.
void registerModuleResources(HINSTANCE module, const ResourceTable* table);
void unregisterModuleResources(HINSTANCE module);
const ResourceTable* moduleResources(HINSTANCE module);

// Searches along the chain; answers the module that holds the resource.
struct FoundDialog { HINSTANCE module; const DialogTemplate* dialog; };
FoundDialog findDialog(int id);
const MenuTemplate* findMenu(int id, HINSTANCE* module = nullptr);
const std::string* findString(int id);
const ImageResource* findBitmap(int id);
const ImageResource* findIcon(int id);

// The modules searched, in order (for tests and diagnostics).
std::vector<HINSTANCE> resourceSearchOrder();

void setApplicationInstance(HINSTANCE app);

}  // namespace kestrin::ui

// The class framework's module state.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized = FALSE;
    HMODULE hModule = nullptr;
    HMODULE hResource = nullptr;
};

// One extension module in the resource chain; created with new in the
// module's attach entry, deleted by AfxTermExtensionModule.
class CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    CDynLinkLibrary(HINSTANCE module, HINSTANCE resource);
    virtual ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

    HMODULE m_hModule;
    HMODULE m_hResource;
};

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resource);
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxFindResourceHandle(int id, const char* type);

// String table entries.
int LoadString(HINSTANCE module, UINT id, LPSTR buffer, int bufferSize);
BOOL AfxLoadString(UINT id, std::string& out);  // along the chain
