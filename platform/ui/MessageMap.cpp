#include "platform/ui/MessageMap.h"

namespace kestrin::ui::msgmap {

const AFX_MSGMAP_ENTRY* findEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id) {
    for (; map != nullptr; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e) {
            if (e->nMessage != message) continue;
            if (message == WM_COMMAND) {
                if (e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
            } else if (message == WM_REFLECT_BASE + WM_COMMAND) {
                if (e->nCode == code) return e;
            } else {
                return e;
            }
        }
    }
    return nullptr;
}

}  // namespace kestrin::ui::msgmap
