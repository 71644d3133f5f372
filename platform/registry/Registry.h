// One registry over one REGEDIT4 file: the keys of the file plus the volatile
// keys this program created, and the handles it holds. The Win32 calls
// (WinReg.h) work on Registry::current(); tests may hold several instances
// over one file, as several programs would.
//
// Reads notice when another program replaced the file and read it again.
// Each change takes the exclusive lock, reads the file afresh, applies the
// change and replaces the file atomically, so concurrent writers lose
// nothing. Volatile keys, their values and subkeys never reach the file.
// A file that does not parse is never overwritten: every call then answers
// ERROR_BADDB and problem() says file:line and why.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry/KeyTree.h"
#include "platform/registry/RegistryFile.h"
#include "platform/win/Registry.h"

namespace kestrin::registry {

// Whether the registry calls (WinReg.h) reach a registry of the system's own
// (Windows) rather than a REGEDIT4 file named for the process (Linux).
bool systemHasRegistry();

class Registry {
public:
    explicit Registry(std::string path);

    // The process's registry, over defaultRegistryPath() at first use.
    static Registry& current();
    // Puts the process's registry over another file; earlier handles die.
    static void useFile(const std::string& path);

    const std::string& path() const { return path_; }
    // Why the last call failed at the file ("file:line: reason" or an I/O
    // error), or empty.
    std::string problem();

    LSTATUS openKey(HKEY parent, LPCSTR subKey, REGSAM access, PHKEY result);
    LSTATUS createKey(HKEY parent, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result, LPDWORD disposition);
    LSTATUS closeKey(HKEY key);
    LSTATUS queryValue(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size);
    LSTATUS setValue(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size);
    LSTATUS deleteValue(HKEY key, LPCSTR name);
    LSTATUS deleteKey(HKEY parent, LPCSTR subKey);
    LSTATUS enumKey(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, PFILETIME lastWrite);
    LSTATUS enumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD type, LPBYTE data,
                      LPDWORD size);
    LSTATUS queryInfo(HKEY key, LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD values,
                      LPDWORD maxValueNameLength, LPDWORD maxValueLength);

private:
    struct Handle {
        std::size_t root = 0;
        std::vector<std::string> path;
        REGSAM access = 0;
    };
    struct Target {
        LSTATUS status = ERROR_SUCCESS;
        Key* key = nullptr;
        std::size_t root = 0;
        std::vector<std::string> path;
    };

    // Reads the file again when it changed since it was last read.
    void refresh();
    // ERROR_SUCCESS when the file as it stands could be read.
    LSTATUS readable();
    // The key a handle names in tree, checked for the access asked.
    Target resolve(const Tree& tree, HKEY key, REGSAM access) const;
    HKEY newHandle(Handle handle);
    // Applies a change to a fresh copy of the file under the lock; the file
    // is written only when the change set *touchesFile.
    template <class Change>
    LSTATUS change(Change&& apply);

    std::string path_;
    Tree tree_;
    FileStamp stamp_;
    bool read_ = false;
    std::string parseError_;  // the file as it stands does not parse
    std::string ioError_;     // the last read or write failed
    std::string newline_ = "\r\n";
    std::map<HKEY, Handle> handles_;
};

}  // namespace kestrin::registry
