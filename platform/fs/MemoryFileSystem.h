// A file system held in memory, for tests: files, folders and symbolic links
// under "/", a current folder and an environment of its own. Install it with
// FileSystem::install (MemoryFileSystem::Installed does it for a scope).
#pragma once

#include <map>
#include <string>

#include "platform/fs/FileSystem.h"

namespace kestrin::fs {

class MemoryFileSystem : public FileSystem {
public:
    MemoryFileSystem();

    // Set-up; missing parent folders are made. Paths are Linux paths.
    void addFile(const std::string& path, std::string content, unsigned mode = 0644);
    void addDirectory(const std::string& path);
    void addSymlink(const std::string& target, const std::string& link);
    void setCurrentDirectory(const std::string& path) { cwd_ = absolute(path); }
    void setEnvironment(const std::string& name, std::string value) { env_[name] = std::move(value); }

    // Every path held, sorted ("/a", "/a/b.txt").
    std::vector<std::string> paths() const;

    // Installs a file system for the life of this object.
    class Installed {
    public:
        explicit Installed(FileSystem& fs) { FileSystem::install(&fs); }
        ~Installed() { FileSystem::install(nullptr); }
        Installed(const Installed&) = delete;
        Installed& operator=(const Installed&) = delete;
    };

protected:
    Result<FileStatus> doStatus(const std::string& path, bool followLinks) override;
    Result<std::string> doReadFile(const std::string& path) override;
    Result<std::unique_ptr<MappedFile>> doMapFile(const std::string& path) override;
    Status doWriteAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce) override;
    Status doRename(const std::string& from, const std::string& to) override;
    Result<std::unique_ptr<OutputFile>> doOpenForWriting(const std::string& path) override;
    Result<std::vector<DirEntry>> doListDirectory(const std::string& path) override;
    Status doCreateDirectory(const std::string& path) override;
    Result<std::string> doCurrentDirectory() override { return cwd_; }
    Status doChangeDirectory(const std::string& path) override;
    Result<std::string> doCanonical(const std::string& path) override;
    Result<std::string> doReadLink(const std::string& path) override;
    Status doCreateSymlink(const std::string& target, const std::string& link) override;
    Status doRemoveFile(const std::string& path) override;
    std::optional<std::string> doEnvironment(const std::string& name) override;
    // One process holds the file system: every lock is granted at once.
    Result<std::unique_ptr<FileLock>> doLockExclusively(const std::string& path) override;

private:
    struct Node {
        FileType type = FileType::Directory;
        std::string content;  // a file's bytes, a link's target
        unsigned mode = 0755;
        std::uint64_t version = 0;  // new for every write: the node's FileStatus::modified
    };
    std::map<std::string, Node> nodes_;  // by absolute, normal path
    std::string cwd_ = "/";
    std::map<std::string, std::string> env_;
    std::uint64_t writes_ = 0;

    std::string absolute(const std::string& path) const;
    // The held path `path` stands for, links followed (the last one only with
    // `followLast`); ENOENT, ENOTDIR or ELOOP otherwise.
    Result<std::string> locate(const std::string& path, bool followLast, const std::string& action) const;
    Node* find(const std::string& held);
    Status parentFolder(const std::string& held, const std::string& path, const std::string& action);
};

}  // namespace kestrin::fs
