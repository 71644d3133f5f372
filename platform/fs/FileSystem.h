// The one way to files, folders and the environment. Every part of the
// system asks FileSystem::current(): the real operating system, or the
// in-memory one (MemoryFileSystem) a test installs.
//
// Paths are Linux paths ("/home/x/a.dxf", "a.dxf") or Windows paths, as the
// system's own code builds them ("C:\Drawings\a.dxf", "sub\a.dxf"): a path
// that starts with a drive letter or holds a '\' is mapped through the drive
// links (WindowsPaths.h), each component matched without regard to letter
// case. A path starting with '/' is always a Linux path and used as given.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/Result.h"

namespace kestrin::fs {

enum class FileType { Missing, Regular, Directory, Symlink, Other };

struct FileStatus {
    FileType type = FileType::Missing;
    std::uint64_t size = 0;
    unsigned mode = 0;  // permission bits (07777)
    // Which version of the file this is: the modification time (ns) and the
    // file's identity. A file replaced or rewritten shows a new pair.
    std::uint64_t modified = 0;
    std::uint64_t identity = 0;

    bool exists() const { return type != FileType::Missing; }
    bool isRegular() const { return type == FileType::Regular; }
    bool isDirectory() const { return type == FileType::Directory; }
};

struct DirEntry {
    std::string name;
    FileType type = FileType::Other;  // links followed; Symlink only when dangling
};

// A file's whole content, read-only, for as long as the object lives. A large
// file is mapped rather than copied; `consumed(upto)` tells that the bytes
// before `upto` will not be looked at again, so their memory can go.
class MappedFile {
public:
    virtual ~MappedFile() = default;
    virtual std::string_view bytes() const = 0;
    virtual void consumed(std::size_t) {}
};

// A file opened for writing from its start (a transcript, a log).
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual Status write(std::string_view bytes) = 0;
    // Flushes to the disk; answers the first error of any write or the close.
    virtual Status close() = 0;
};

using ByteSink = std::function<void(std::string_view)>;

// An exclusive lock held for the life of the object (see lockExclusively).
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    static FileSystem& real();
    static FileSystem& current();
    // Makes `fs` the current file system (null: the real one again).
    static void install(FileSystem* fs);

    // The Linux path a path stands for (Windows paths mapped; see above).
    Result<std::string> resolve(const std::string& path);

    // Follows symbolic links; a missing file is a status, not an error.
    Result<FileStatus> status(const std::string& path);
    // The entry itself: FileType::Symlink for a link.
    Result<FileStatus> linkStatus(const std::string& path);

    // The content of a regular file. Anything else (a folder, a FIFO, a
    // device) is refused at once, never waited on.
    Result<std::string> readFile(const std::string& path);
    Result<std::unique_ptr<MappedFile>> mapFile(const std::string& path);

    // Writes through `produce` (which gets a sink) to a temporary file beside
    // `path`, then renames it over `path`. A link is written through to its
    // target; a write-protected file, a folder, a device or a FIFO is
    // refused. On any failure, or an exception from `produce` (passed on),
    // the old file is untouched and no temporary file stays behind.
    Status writeAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce);
    Status writeFile(const std::string& path, std::string_view content);
    Status copyFile(const std::string& from, const std::string& to);
    Status rename(const std::string& from, const std::string& to);
    // Opens `path` for writing from its start (created when missing).
    Result<std::unique_ptr<OutputFile>> openForWriting(const std::string& path);

    // The entries of a folder, sorted by name, without "." and "..".
    Result<std::vector<DirEntry>> listDirectory(const std::string& path);
    // Creates the folder and any missing parents; an existing folder is fine.
    Status createDirectories(const std::string& path);
    // The entry of folder `dir` called `name` in any letter case (an exact
    // match wins): its full path. A missing one is an error (ENOENT).
    Result<std::string> findIgnoringCase(const std::string& dir, const std::string& name);

    Result<std::string> currentDirectory();
    // Makes the folder the process's current folder; a missing one (or not a
    // folder) is an error and the current folder stays.
    Status changeDirectory(const std::string& path);
    // The current folder as a Windows path: under the drive whose folder holds
    // it (the longest match), else under Z:.
    Result<std::string> currentWindowsDirectory();
    // The absolute path with links and "." / ".." resolved; the file must exist.
    Result<std::string> canonical(const std::string& path);
    Result<std::string> readLink(const std::string& path);
    Status createSymlink(const std::string& target, const std::string& link);
    Status removeFile(const std::string& path);

    std::optional<std::string> environment(const std::string& name);

    // Waits for and takes an exclusive lock on the lock file `path` (created
    // when missing; its folder must exist), shared with other processes that
    // lock the same file. Released when the returned object goes.
    Result<std::unique_ptr<FileLock>> lockExclusively(const std::string& path);

protected:
    // Whether the file system itself matches names without regard to letter
    // case (Windows): then a name found answers the entry's own spelling.
    virtual bool namesIgnoreCase() const { return false; }

    // The primitives, on the system's paths (Windows paths mapped on Linux).
    virtual Result<FileStatus> doStatus(const std::string& path, bool followLinks) = 0;
    virtual Result<std::string> doReadFile(const std::string& path) = 0;
    virtual Result<std::unique_ptr<MappedFile>> doMapFile(const std::string& path) = 0;
    virtual Status doWriteAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce) = 0;
    virtual Status doRename(const std::string& from, const std::string& to) = 0;
    virtual Result<std::unique_ptr<OutputFile>> doOpenForWriting(const std::string& path) = 0;
    virtual Result<std::vector<DirEntry>> doListDirectory(const std::string& path) = 0;
    virtual Status doCreateDirectory(const std::string& path) = 0;  // one level; EEXIST when present
    virtual Result<std::string> doCurrentDirectory() = 0;
    virtual Status doChangeDirectory(const std::string& path) = 0;
    virtual Result<std::string> doCanonical(const std::string& path) = 0;
    virtual Result<std::string> doReadLink(const std::string& path) = 0;
    virtual Status doCreateSymlink(const std::string& target, const std::string& link) = 0;
    virtual Status doRemoveFile(const std::string& path) = 0;
    virtual std::optional<std::string> doEnvironment(const std::string& name) = 0;
    virtual Result<std::unique_ptr<FileLock>> doLockExclusively(const std::string& path) = 0;

private:
    Result<std::string> resolveWindows(const std::string& path);
    Result<std::string> dosDevices();
    Result<std::string> driveFolder(char drive);
    Result<std::string> findEntry(const std::string& dir, const std::string& name);
    Status createDirectoriesLinux(const std::string& path);
};

}  // namespace kestrin::fs
