#include "platform/process/SharedLibrary.h"

#include <dlfcn.h>

#include "platform/fs/FileSystem.h"

namespace kestrin::process {

namespace {
std::string lastDlError() {
    const char* e = dlerror();
    return e ? e : "unknown error";
}
}  // namespace

fs::Result<std::unique_ptr<SharedLibrary>> SharedLibrary::open(const std::string& path) {
    auto resolved = fs::FileSystem::current().resolve(path);
    if (!resolved) return resolved.error();
    const std::string file = resolved->find('/') == std::string::npos ? "./" + *resolved : *resolved;
    dlerror();
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return fs::Error{path, "cannot load", lastDlError(), 0};
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { dlclose(handle_); }

void* SharedLibrary::symbol(const char* name, std::string* why) const {
    dlerror();
    void* address = dlsym(handle_, name);
    if (!address && why) *why = lastDlError();
    return address;
}

}  // namespace kestrin::process
