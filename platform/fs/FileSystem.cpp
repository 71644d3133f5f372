#include "platform/fs/FileSystem.h"

#include <cerrno>
#include <cstring>

#include "platform/fs/Path.h"

namespace kestrin::fs {

namespace {
FileSystem* installed = nullptr;
}

Error osError(std::string path, std::string action, int code) {
    return Error{std::move(path), std::move(action), std::strerror(code), code};
}

FileSystem& FileSystem::current() { return installed ? *installed : real(); }

void FileSystem::install(FileSystem* fs) { installed = fs; }

// Each public operation maps its paths once, then runs the primitive.
#define KESTRIN_RESOLVE(var, path)           \
    auto var##Resolved = resolve(path);      \
    if (!var##Resolved) return var##Resolved.error(); \
    const std::string& var = *var##Resolved

Result<FileStatus> FileSystem::status(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doStatus(p, true);
}

Result<FileStatus> FileSystem::linkStatus(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doStatus(p, false);
}

Result<std::string> FileSystem::readFile(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doReadFile(p);
}

Result<std::unique_ptr<MappedFile>> FileSystem::mapFile(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doMapFile(p);
}

Status FileSystem::writeAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce) {
    KESTRIN_RESOLVE(p, path);
    return doWriteAtomically(p, produce);
}

Status FileSystem::writeFile(const std::string& path, std::string_view content) {
    return writeAtomically(path, [content](const ByteSink& sink) { sink(content); });
}

Status FileSystem::copyFile(const std::string& from, const std::string& to) {
    auto content = readFile(from);
    if (!content) return content.error();
    return writeFile(to, *content);
}

Status FileSystem::rename(const std::string& from, const std::string& to) {
    KESTRIN_RESOLVE(a, from);
    KESTRIN_RESOLVE(b, to);
    return doRename(a, b);
}

Result<std::unique_ptr<OutputFile>> FileSystem::openForWriting(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doOpenForWriting(p);
}

Result<std::vector<DirEntry>> FileSystem::listDirectory(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doListDirectory(p);
}

Status FileSystem::createDirectories(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return createDirectoriesLinux(p);
}

Status FileSystem::createDirectoriesLinux(const std::string& path) {
    auto st = doStatus(path, true);
    if (!st) return st.error();
    if (st->isDirectory()) return Done{};
    if (st->exists()) return osError(path, "cannot create folder", EEXIST);
    const std::string parent = parentPath(path);
    if (!parent.empty() && parent != path) {
        Status made = createDirectoriesLinux(parent);
        if (!made) return made;
    }
    Status made = doCreateDirectory(path);
    if (!made && made.error().code == EEXIST) {
        auto again = doStatus(path, true);  // made meanwhile by someone else
        if (again && again->isDirectory()) return Done{};
    }
    return made;
}

Result<std::string> FileSystem::findIgnoringCase(const std::string& dir, const std::string& name) {
    KESTRIN_RESOLVE(p, dir);
    return findEntry(p, name);
}

Result<std::string> FileSystem::findEntry(const std::string& dir, const std::string& name) {
    const std::string exact = joinPath(dir.empty() ? "." : dir, name);
    auto st = doStatus(exact, false);
    if (st && st->exists() && !namesIgnoreCase()) return exact;
    auto entries = doListDirectory(dir.empty() ? "." : dir);
    if (!entries) return entries.error();
    for (const DirEntry& e : *entries)
        if (e.name == name) return exact;
    for (const DirEntry& e : *entries)
        if (sameNameIgnoringCase(e.name, name)) return joinPath(dir.empty() ? "." : dir, e.name);
    return osError(exact, "cannot find", ENOENT);
}

Result<std::string> FileSystem::currentDirectory() { return doCurrentDirectory(); }

Status FileSystem::changeDirectory(const std::string& path) {
    if (path.empty()) return osError(path, "cannot change to the folder", ENOENT);
    KESTRIN_RESOLVE(p, path);
    return doChangeDirectory(p);
}

Result<std::string> FileSystem::canonical(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doCanonical(p);
}

Result<std::string> FileSystem::readLink(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doReadLink(p);
}

Status FileSystem::createSymlink(const std::string& target, const std::string& link) {
    KESTRIN_RESOLVE(p, link);
    return doCreateSymlink(target, p);
}

Status FileSystem::removeFile(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doRemoveFile(p);
}

std::optional<std::string> FileSystem::environment(const std::string& name) { return doEnvironment(name); }

Result<std::unique_ptr<FileLock>> FileSystem::lockExclusively(const std::string& path) {
    KESTRIN_RESOLVE(p, path);
    return doLockExclusively(p);
}

#undef KESTRIN_RESOLVE

}  // namespace kestrin::fs
