#include "host/loader/ModuleLoader.h"

#include "host/api/AcEdUIContext.h"
#include "host/api/AcRxDynamicLinker.h"
#include "host/loader/FrameworkResources.h"

#include <algorithm>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "platform/process/SharedLibrary.h"

namespace kestrin::host {

namespace {

// The exports of a module. The host entry takes and answers the numbers of
// AcRx::AppMsgCode and AcRx::AppRetCode (int-sized enums).
using DllMainFn = BOOL (*)(HINSTANCE, DWORD, LPVOID);
using EntryPointFn = int (*)(int, void*);
constexpr int kRetOK = 0;

// The same file under any spelling of its path.
std::string identityOf(const std::string& path) {
    fs::FileSystem& files = fs::FileSystem::current();
    if (auto canonical = files.canonical(path)) return *canonical;
    // A file that is not there (yet): its absolute path, spelled plainly.
    auto resolved = files.resolve(path);
    auto cwd = files.currentDirectory();
    if (!resolved || !cwd) return path;
    return fs::normalPath(fs::joinPath(*cwd, *resolved));
}

}  // namespace

// One loaded module. Its address is the application id the module sees.
struct ModuleLoader::Module {
    std::string path;
    std::string identity;
    std::unique_ptr<process::SharedLibrary> library;
    // The library's handle: on Windows the system hands the same one to its
    // DllMain when it maps the library.
    HINSTANCE handle = nullptr;
    HINSTANCE instance() const { return handle; }
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
    // A bare name is the file in the current folder, never a library path search.
    auto library = process::SharedLibrary::open(path);
    if (!library) {
        error = "cannot load module '" + path + "': " + library.error().reason;
        return false;
    }
    m->library = std::move(*library);
    m->handle = static_cast<HINSTANCE>(m->library->handle());
    auto refuse = [&](const std::string& why) {
        error = "cannot load module '" + path + "': " + why;
        detach(*m, false);
        return false;
    };
    std::string why;
    m->entryPoint = m->library->function<EntryPointFn>("acrxEntryPoint", &why);
    if (!m->entryPoint) return refuse("it does not export acrxEntryPoint (" + why + ")");
    if (!m->library->symbol("acrxGetApiVersion", &why))
        return refuse("it does not export acrxGetApiVersion (" + why + ")");
    m->dllMain = m->library->function<DllMainFn>("DllMain");

    if (resources_.add) {
        why.clear();
        if (!resources_.add(m->instance(), *m->library, why)) return refuse("its resources cannot be registered: " + why);
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
    m.library.reset();
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
    return it == modules_.end() ? nullptr : (*it)->instance();
}

const void* ModuleLoader::appIdOf(const std::string& path) const {
    auto it = find(path);
    return it == modules_.end() ? nullptr : it->get();
}

}  // namespace kestrin::host
