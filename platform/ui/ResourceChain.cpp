#include "platform/ui/ResourceChain.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace kestrin::ui {

namespace {
struct Registry {
    std::map<HINSTANCE, const ResourceTable*> tables;
    std::vector<CDynLinkLibrary*> chain;
    HINSTANCE current = nullptr;
    HINSTANCE application = nullptr;
};
Registry& registry() {
    static Registry r;
    return r;
}

std::string handleName(HINSTANCE h) {
    return "module " + std::to_string(reinterpret_cast<std::uintptr_t>(h));
}

template <class F>
auto search(F&& find) -> decltype(find(std::declval<const ResourceTable&>())) {
    for (HINSTANCE h : resourceSearchOrder()) {
        const ResourceTable* t = moduleResources(h);
        if (t == nullptr) continue;
        if (auto found = find(*t)) return found;
    }
    return nullptr;
}
}  // namespace

void registerModuleResources(HINSTANCE module, const ResourceTable* table) {
    auto& r = registry();
    if (module == nullptr) throw ResourceError("resources cannot be registered under a null module handle");
    if (table == nullptr) throw ResourceError(handleName(module) + ": its resource table is missing (null)");
    if (r.tables.count(module)) throw ResourceError(handleName(module) + ": its resources are registered already");
    const auto problems = checkResourceTable(*table);
    if (!problems.empty()) {
        std::string msg = handleName(module) + ": malformed resources:";
        for (const auto& p : problems) msg += "\n  " + p;
        throw ResourceError(msg);
    }
    r.tables[module] = table;
}

void unregisterModuleResources(HINSTANCE module) {
    auto& r = registry();
    r.tables.erase(module);
    if (r.current == module) r.current = nullptr;
}

const ResourceTable* moduleResources(HINSTANCE module) {
    const auto& t = registry().tables;
    const auto it = t.find(module);
    return it == t.end() ? nullptr : it->second;
}

std::vector<HINSTANCE> resourceSearchOrder() {
    const auto& r = registry();
    std::vector<HINSTANCE> order;
    auto add = [&order](HINSTANCE h) {
        if (h != nullptr && std::find(order.begin(), order.end(), h) == order.end()) order.push_back(h);
    };
    add(r.current);
    for (const CDynLinkLibrary* lib : r.chain) add(lib->m_hResource);
    add(r.application);
    return order;
}

FoundDialog findDialog(int id) {
    for (HINSTANCE h : resourceSearchOrder())
        if (const ResourceTable* t = moduleResources(h))
            if (const DialogTemplate* d = t->dialog(id)) return {h, d};
    return {nullptr, nullptr};
}

const MenuTemplate* findMenu(int id, HINSTANCE* module) {
    for (HINSTANCE h : resourceSearchOrder())
        if (const ResourceTable* t = moduleResources(h))
            if (const MenuTemplate* m = t->menu(id)) {
                if (module) *module = h;
                return m;
            }
    return nullptr;
}

const std::string* findString(int id) {
    return search([id](const ResourceTable& t) { return t.string(id); });
}
const ImageResource* findBitmap(int id) {
    return search([id](const ResourceTable& t) { return t.bitmap(id); });
}
const ImageResource* findIcon(int id) {
    return search([id](const ResourceTable& t) { return t.icon(id); });
}

void setApplicationInstance(HINSTANCE app) { registry().application = app; }

}  // namespace kestrin::ui

using kestrin::ui::registry;

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state) : CDynLinkLibrary(state.hModule, state.hResource) {}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE module, HINSTANCE resource) : m_hModule(module), m_hResource(resource) {
    registry().chain.push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    auto& chain = registry().chain;
    chain.erase(std::remove(chain.begin(), chain.end(), this), chain.end());
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
    if (module == nullptr) return FALSE;
    state.hModule = module;
    state.hResource = module;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
    auto chain = registry().chain;  // copy: destructors edit the chain
    for (CDynLinkLibrary* lib : chain)
        if (lib->m_hModule == state.hModule) delete lib;
    state.bInitialized = FALSE;
}

HINSTANCE AfxGetResourceHandle() {
    const auto& r = registry();
    return r.current ? r.current : r.application;
}
void AfxSetResourceHandle(HINSTANCE resource) { registry().current = resource; }
HINSTANCE AfxGetInstanceHandle() { return registry().application; }

HINSTANCE AfxFindResourceHandle(int id, const char* type) {
    const std::string t = type ? type : "";
    for (HINSTANCE h : kestrin::ui::resourceSearchOrder())
        if (const auto* table = kestrin::ui::moduleResources(h)) {
            const bool found = (t == "dialog" && table->dialog(id)) || (t == "menu" && table->menu(id)) ||
                               (t == "string" && table->string(id)) || (t == "bitmap" && table->bitmap(id)) ||
                               (t == "icon" && table->icon(id));
            if (found) return h;
        }
    return nullptr;
}

int LoadString(HINSTANCE module, UINT id, LPSTR buffer, int bufferSize) {
    const auto* table = kestrin::ui::moduleResources(module);
    const std::string* s = table ? table->string(static_cast<int>(id)) : nullptr;
    if (s == nullptr || buffer == nullptr || bufferSize <= 0) return 0;
    const auto n = std::min<std::size_t>(s->size(), static_cast<std::size_t>(bufferSize - 1));
    std::memcpy(buffer, s->data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

BOOL AfxLoadString(UINT id, std::string& out) {
    const std::string* s = kestrin::ui::findString(static_cast<int>(id));
    if (s == nullptr) return FALSE;
    out = *s;
    return TRUE;
}
