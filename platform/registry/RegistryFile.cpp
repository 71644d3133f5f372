#include "platform/registry/RegistryFile.h"

#include <stdexcept>

#include "platform/fs/Path.h"

namespace kestrin::registry {

using fs::FileSystem;

namespace {

std::runtime_error failure(const fs::Error& error) { return std::runtime_error(error.message()); }

void makeFolderFor(const std::string& path) {
    const std::string folder = fs::parentPath(path);
    if (folder.empty()) return;
    if (fs::Status made = FileSystem::current().createDirectories(folder); !made) throw failure(made.error());
}

}  // namespace

std::string defaultRegistryPath() {
    FileSystem& files = FileSystem::current();
    if (auto path = files.environment("KESTRIN_REGISTRY"); path && !path->empty()) return *path;
    const auto home = files.environment("HOME");
    return fs::joinPath(home && !home->empty() ? *home : ".", ".kestrin/registry.reg");
}

FileStamp stampOf(const std::string& path) {
    auto st = FileSystem::current().status(path);
    if (!st || !st->exists()) return {};
    return FileStamp{true, st->size, st->modified, st->identity};
}

std::optional<std::string> readWholeFile(const std::string& path) {
    FileSystem& files = FileSystem::current();
    auto st = files.status(path);
    if (!st) throw failure(st.error());
    if (!st->exists()) return std::nullopt;
    auto bytes = files.readFile(path);
    if (!bytes) throw failure(bytes.error());
    return std::move(*bytes);
}

ExclusiveLock::ExclusiveLock(const std::string& path) {
    makeFolderFor(path);
    auto lock = FileSystem::current().lockExclusively(path + ".lock");
    if (!lock) throw failure(lock.error());
    lock_ = std::move(*lock);
}

void replaceFileAtomically(const std::string& path, const std::string& bytes) {
    makeFolderFor(path);
    if (fs::Status written = FileSystem::current().writeFile(path, bytes); !written) throw failure(written.error());
}

}  // namespace kestrin::registry
