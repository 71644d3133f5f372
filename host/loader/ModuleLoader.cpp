#include "host/loader/ModuleLoader.h"

#include "host/api/AcEdUIContext.h"
#include "host/api/AcRxDynamicLinker.h"
#include "host/loader/FrameworkResources.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kestrin::host {

namespace {

// The exports of a module. The host entry takes and answers the numbers of
// AcRx::AppMsgCode and AcRx::AppRetCode (int-sized enums).
using DllMainFn = BOOL (*)(HINSTANCE, DWORD, LPVOID);
using EntryPointFn = int (*)(int, void*);
constexpr int kRetOK = 0;

std::string lastDlError() {
    const char* e = dlerror();
    return e ? e : "unknown error";
}

// The same file under any spelling of its path.
std::string identityOf(const std::string& path) {
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : canonical.string();
}

}  // namespace

// One loaded module. Its address is the application id the module sees.
struct ModuleLoader::Module {
    std::string path;
    std::string identity;
    void* library = nullptr;
    HINSTANCE__ instanceRecord{};
    HINSTANCE instance() { return &instanceRecord; }
    DllMainFn dllMain = nullptr;
    EntryPointFn entryPoint = nullptr;
    bool resourcesAdded = false;
    bool attached = false;
};

ModuleLoader& ModuleLoader::instance() {
    static ModuleLoader loader;
    return loader;
}

ModuleLoader::ModuleLoader() : resources_(frameworkResourceHooks()) {}

ModuleLoader::~ModuleLoader() = default;

void ModuleLoader::setResourceHooks(ResourceHooks hooks) { resources_ = std::move(hooks); }

std::vector<std::unique_ptr<ModuleLoader::Module>>::iterator ModuleLoader::find(const std::string& path) {
    const std::string id = identityOf(path);
    return std::find_if(modules_.begin(), modules_.end(), [&](const auto& m) { return m->identity == id; });
}

std::vector<std::unique_ptr<ModuleLoader::Module>>::const_iterator ModuleLoader::find(const std::string& path) const {
    const std::string id = identityOf(path);
    return std::find_if(modules_.begin(), modules_.end(), [&](const auto& m) { return m->identity == id; });
}

bool ModuleLoader::load(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "cannot load a module: no file name given";
        return false;
    }
    if (find(path) != modules_.end()) {
        error = "cannot load module '" + path + "': it is loaded already";
        return false;
    }
    auto m = std::make_unique<Module>();
    m->path = path;
    m->identity = identityOf(path);
    // A bare name would make dlopen search the library path; a module is a file.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    dlerror();
    m->library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m->library) {
        error = "cannot load module '" + path + "': " + lastDlError();
        return false;
    }
    auto refuse = [&](const std::string& why) {
        error = "cannot load module '" + path + "': " + why;
        detach(*m, false);
        return false;
    };
    m->entryPoint = reinterpret_cast<EntryPointFn>(dlsym(m->library, "acrxEntryPoint"));
    if (!m->entryPoint) return refuse("it does not export acrxEntryPoint (" + lastDlError() + ")");
    if (!dlsym(m->library, "acrxGetApiVersion"))
        return refuse("it does not export acrxGetApiVersion (" + lastDlError() + ")");
    m->dllMain = reinterpret_cast<DllMainFn>(dlsym(m->library, "DllMain"));

    if (resources_.add) {
        std::string why;
        if (!resources_.add(m->instance(), m->library, why)) return refuse("its resources cannot be registered: " + why);
        m->resourcesAdded = true;
    }
    if (m->dllMain) {
        bool ok = false;
        try {
            ok = m->dllMain(m->instance(), DLL_PROCESS_ATTACH, nullptr) != FALSE;
        } catch (...) {
            return refuse("DllMain threw an exception at attach");
        }
        if (!ok) return refuse("DllMain refused to attach");
    }
    m->attached = true;
    int answer = kRetOK;
    bool threw = false;
    try {
        answer = m->entryPoint(kInitAppMsg, m.get());
    } catch (...) {
        threw = true;
    }
    if (threw || answer != kRetOK) {
        // The unload message lets it take back whatever it registered before
        // it gave up, so the host keeps no command that points into a closed library.
        error = "cannot load module '" + path + "': " +
                (threw ? std::string("acrxEntryPoint threw an exception at load")
                       : "acrxEntryPoint answered " + std::to_string(answer) + " to the load message");
        detach(*m, true);
        return false;
    }
    modules_.push_back(std::move(m));
    return true;
}

// Takes a module down from wherever its load got to: the unload message when
// its entry accepted the load, DllMain's detach, its resources, the library.
void ModuleLoader::detach(Module& m, bool entryPointDone) {
    if (entryPointDone) {
        try {
            m.entryPoint(kUnloadAppMsg, &m);
        } catch (...) {
            // The module goes regardless; an exception must not stop the host.
        }
    }
    // Whatever it left registered under its id must not outlive its code.
    std::vector<AcEdUIContext*> leftovers;
    for (const auto& menu : registeredContextMenus())
        if (menu.appId == &m) leftovers.push_back(menu.context);
    for (AcEdUIContext* context : leftovers) acedRemoveDefaultContextMenu(context);
    acrxDynamicLinker()->forget(&m);
    if (m.attached && m.dllMain) {
        try {
            m.dllMain(m.instance(), DLL_PROCESS_DETACH, nullptr);
        } catch (...) {
        }
    }
    m.attached = false;
    if (m.resourcesAdded && resources_.remove) resources_.remove(m.instance());
    m.resourcesAdded = false;
    if (m.library) dlclose(m.library);
    m.library = nullptr;
}

bool ModuleLoader::unload(const std::string& path, std::string& error) {
    auto it = find(path);
    if (it == modules_.end()) {
        error = "cannot unload module '" + path + "': it is not loaded";
        return false;
    }
    std::unique_ptr<Module> m = std::move(*it);
    modules_.erase(it);
    detach(*m, true);
    return true;
}

void ModuleLoader::unloadAll() {
    while (!modules_.empty()) {
        std::unique_ptr<Module> m = std::move(modules_.back());
        modules_.pop_back();
        detach(*m, true);
    }
}

bool ModuleLoader::isLoaded(const std::string& path) const { return find(path) != modules_.end(); }

std::vector<std::string> ModuleLoader::loadedPaths() const {
    std::vector<std::string> paths;
    for (const auto& m : modules_) paths.push_back(m->path);
    return paths;
}

HINSTANCE ModuleLoader::instanceOf(const std::string& path) const {
    auto it = find(path);
    return it == modules_.end() ? nullptr : &(*it)->instanceRecord;
}

const void* ModuleLoader::appIdOf(const std::string& path) const {
    auto it = find(path);
    return it == modules_.end() ? nullptr : it->get();
}

}  // namespace kestrin::host
