// The registry's contact with its file, through the file services
// (FileSystem::current()): read the whole file, notice that it changed, lock
// it against other writers, replace it atomically.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/fs/FileSystem.h"

namespace kestrin::registry {

// KESTRIN_REGISTRY, else ~/.kestrin/registry.reg.
std::string defaultRegistryPath();

// Identifies one version of the file; a replaced or rewritten file has a new stamp.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0, modified = 0, identity = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp stampOf(const std::string& path);

// The file's bytes, or nullopt when it does not exist. Throws
// std::runtime_error naming the file when it exists but cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Holds an exclusive lock on "PATH.lock" (created with the folder if need
// be) for its lifetime; other programs' locks wait.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::string& path);  // throws std::runtime_error

private:
    std::unique_ptr<fs::FileLock> lock_;
};

// Writes a temporary file beside path, flushes it to disk and renames it
// over path (the folder is made if need be). Throws std::runtime_error naming
// the file; path is then as it was.
void replaceFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace kestrin::registry
