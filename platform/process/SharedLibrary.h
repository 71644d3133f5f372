// A shared library loaded from a file, and the symbols it exports.
#pragma once

#include <memory>
#include <string>

#include "platform/fs/Result.h"

namespace kestrin::process {

class SharedLibrary {
public:
    // Loads the library file at `path` (resolved like any path of the file
    // system; a bare name means the file in the current folder, never a
    // search of the library path). Its symbols stay local to it.
    static fs::Result<std::unique_ptr<SharedLibrary>> open(const std::string& path);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of an exported symbol, or null; `why` receives the loader's
    // reason when given.
    void* symbol(const char* name, std::string* why = nullptr) const;

    // The system's handle of the loaded library (on Windows its module
    // handle, which the system also hands to the library's DllMain).
    void* handle() const { return handle_; }

    template <class Fn>
    Fn function(const char* name, std::string* why = nullptr) const {
        return reinterpret_cast<Fn>(symbol(name, why));
    }

private:
    explicit SharedLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

}  // namespace kestrin::process
