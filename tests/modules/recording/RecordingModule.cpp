// A test module that records every call the loader makes into it, one line
// each, in the file named by KESTRIN_TEST_MODULE_LOG. KESTRIN_TEST_MODULE_REFUSE
// makes it refuse: "attach" (DllMain answers FALSE) or "init" (acrxEntryPoint
// answers an error to the load message).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win/Types.h"

namespace {

void record(const char* format, const void* p = nullptr) {
    const char* path = std::getenv("KESTRIN_TEST_MODULE_LOG");
    if (!path) return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, format, p);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

bool refuses(const char* what) {
    const char* r = std::getenv("KESTRIN_TEST_MODULE_REFUSE");
    return r && std::strcmp(r, what) == 0;
}

// Its constructor and destructor show that the library itself came and went.
struct StaticLifetime {
    StaticLifetime() { record("static init"); }
    ~StaticLifetime() { record("static exit"); }
} lifetime;

}  // namespace

// Zero again after a reload only if the library really went away. An inline
// member, as the plug-in's text literals and the host's headers give modules:
// such variables must go with the library too.
struct RecordingLoads {
    static inline int count = 0;
};

extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    record(reason == DLL_PROCESS_ATTACH ? "DllMain attach %p" : "DllMain detach %p", instance);
    return reason == DLL_PROCESS_ATTACH && refuses("attach") ? FALSE : TRUE;
}

extern "C" int acrxEntryPoint(int message, void* appId) {
    if (message == 1) {
        record("acrxEntryPoint load %p", appId);
        record(++RecordingLoads::count == 1 ? "first load" : "loaded again without unloading");
        return refuses("init") ? 3 : 0;
    }
    if (message == 2) record("acrxEntryPoint unload %p", appId);
    return 0;
}

extern "C" int acrxGetApiVersion() { return 0xF0000; }
