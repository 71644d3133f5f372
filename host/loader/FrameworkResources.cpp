#include "host/loader/FrameworkResources.h"

#include "platform/process/SharedLibrary.h"
#include "platform/ui/ResourceChain.h"

namespace kestrin::host {

ModuleLoader::ResourceHooks frameworkResourceHooks() {
    ModuleLoader::ResourceHooks hooks;
    hooks.add = [](HINSTANCE instance, const process::SharedLibrary& library, std::string& error) {
        auto exported = library.function<KestrinModuleResourcesFn>(kKestrinModuleResourcesSymbol);
        if (!exported) return true;
        try {
            const ui::ResourceTable* table = exported();
            if (!table) {
                error = std::string(kKestrinModuleResourcesSymbol) + " answered no table";
                return false;
            }
            ui::registerModuleResources(instance, table);
        } catch (const std::exception& e) {
            error = e.what();
            return false;
        }
        return true;
    };
    hooks.remove = [](HINSTANCE instance) { ui::unregisterModuleResources(instance); };
    return hooks;
}

}  // namespace kestrin::host
