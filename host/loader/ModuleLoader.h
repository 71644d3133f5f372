// Loads plug-in modules by path, as the real host loads its applications:
// the shared library, the operating-system entry (DllMain, attach), then the host entry
// (acrxEntryPoint, init). Unloading runs the same steps backwards. A module
// that cannot be loaded leaves nothing behind.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/Types.h"

namespace kestrin::process {
class SharedLibrary;
}

namespace kestrin::host {

class ModuleLoader {
public:
    static ModuleLoader& instance();
    ~ModuleLoader();

    // Host entry messages (AcRx::AppMsgCode).
    static constexpr int kInitAppMsg = 1;
    static constexpr int kUnloadAppMsg = 2;

    // Loads the module file at `path`. On failure answers false and `error`
    // (UTF-8) names the path and what went wrong; nothing stays loaded.
    bool load(const std::string& path, std::string& error);
    // Unloads a loaded module (by the path it was loaded with, or the same
    // file by another path). Answers false with `error` when it is not loaded.
    bool unload(const std::string& path, std::string& error);
    // Unloads every module, the newest first (host exit).
    void unloadAll();

    bool isLoaded(const std::string& path) const;
    std::vector<std::string> loadedPaths() const;  // in load order
    // The module's own instance handle and the application id the host gave
    // it; null when not loaded.
    HINSTANCE instanceOf(const std::string& path) const;
    const void* appIdOf(const std::string& path) const;

    // Registration of a module's resources with the dialog framework (by
    // default frameworkResourceHooks(): the module's exported table), run
    // after the library is loaded and before DllMain (register) and after
    // DllMain's detach (unregister). `library` is the loaded library. A failing registration
    // refuses the module with the message it gives.
    struct ResourceHooks {
        std::function<bool(HINSTANCE, const process::SharedLibrary& library, std::string& error)> add;
        std::function<void(HINSTANCE)> remove;
    };
    void setResourceHooks(ResourceHooks hooks);

private:
    ModuleLoader();
    struct Module;
    std::vector<std::unique_ptr<Module>> modules_;
    ResourceHooks resources_;

    std::vector<std::unique_ptr<Module>>::iterator find(const std::string& path);
    std::vector<std::unique_ptr<Module>>::const_iterator find(const std::string& path) const;
    void detach(Module& m, bool entryPointDone);
};

}  // namespace kestrin::host
