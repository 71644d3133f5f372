// The file system of the operating system.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"

namespace kestrin::fs {

namespace {

constexpr std::size_t kAhead = std::size_t{4} << 20;  // bytes faulted in ahead of the reader

FileType typeOf(mode_t mode) {
    if (S_ISREG(mode)) return FileType::Regular;
    if (S_ISDIR(mode)) return FileType::Directory;
    if (S_ISLNK(mode)) return FileType::Symlink;
    return FileType::Other;
}

std::string notRegular(mode_t mode) { return S_ISDIR(mode) ? "is a folder" : "not a regular file"; }

// Opens a regular file for reading. O_NONBLOCK: opening a FIFO must not wait
// for a writer; it is refused below like any other non-file.
Result<int> openRegular(const std::string& path, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return osError(path, "cannot open", errno);
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return osError(path, "cannot read", err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Error{path, "cannot read", notRegular(st.st_mode), S_ISDIR(st.st_mode) ? EISDIR : EINVAL};
    }
    return fd;
}

class Mapping : public MappedFile {
public:
    Mapping(void* map, std::size_t size) : map_(static_cast<char*>(map)), size_(size) {
        page_ = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        ::madvise(map_, size_, MADV_SEQUENTIAL);
        populate(0);
    }
    ~Mapping() override { ::munmap(map_, size_); }
    std::string_view bytes() const override { return {map_, size_}; }

    // Pages already parsed are dropped (they hold no live data), so a large
    // file does not cost its size on top of what was made of it; the next
    // stretch is faulted in with one call rather than page by page.
    void consumed(std::size_t upto) override {
        const std::size_t end = std::min(upto, size_) / page_ * page_;
        if (end > dropped_) ::madvise(map_ + dropped_, end - dropped_, MADV_DONTNEED);
        dropped_ = std::max(dropped_, end);
        populate(upto + kAhead);
    }

private:
    char* map_;
    std::size_t size_;
    std::size_t page_ = 4096;
    std::size_t dropped_ = 0;

    void populate(std::size_t from) {
#ifdef MADV_POPULATE_READ
        from = from / page_ * page_;
        if (from < size_) ::madvise(map_ + from, std::min(2 * kAhead, size_ - from), MADV_POPULATE_READ);
#else
        (void)from;
#endif
    }
};

class Empty : public MappedFile {
public:
    std::string_view bytes() const override { return {}; }
};

class FdOutput : public OutputFile {
public:
    FdOutput(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~FdOutput() override {
        if (fd_ >= 0) ::close(fd_);
    }
    Status write(std::string_view bytes) override {
        if (!first_.ok()) return first_;
        if (fd_ < 0) return remember(osError(path_, "cannot write", EBADF));
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                return remember(osError(path_, "cannot write", errno));
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return Done{};
    }
    Status close() override {
        if (fd_ < 0) return first_;
        const int fd = fd_;
        fd_ = -1;
        struct stat st {};
        // A regular file is flushed to the disk, so a full disk shows here.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::fsync(fd) != 0) note(osError(path_, "cannot flush", errno));
        if (::close(fd) != 0) note(osError(path_, "cannot close", errno));
        return first_;
    }

private:
    int fd_;
    std::string path_;
    Status first_ = Done{};
    Status remember(Error e) {
        if (first_.ok()) first_ = std::move(e);
        return first_;
    }
    void note(Error e) { (void)remember(std::move(e)); }
};

// Where writing `path` lands: a link is followed to its final target (which
// may not exist yet); at most 40 links, as the kernel allows.
Result<std::string> writeTarget(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n < 0) return osError(target, "cannot read the link", errno);
        const std::string points(buf, static_cast<std::size_t>(n));
        target = points.front() == '/' ? points : joinPath(parentPath(target), points);
    }
    return osError(path, "cannot follow the link", ELOOP);
}

// flock on an open lock file: closing the file releases the lock.
class FlockLock : public FileLock {
public:
    explicit FlockLock(int fd) : fd_(fd) {}
    ~FlockLock() override { ::close(fd_); }
    FlockLock(const FlockLock&) = delete;
    FlockLock& operator=(const FlockLock&) = delete;

private:
    int fd_;
};

class RealFileSystem : public FileSystem {
protected:
    Result<FileStatus> doStatus(const std::string& path, bool followLinks) override {
        struct stat st {};
        const int rc = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
        if (rc != 0) {
            if (errno == ENOENT || errno == ENOTDIR) return FileStatus{};
            return osError(path, "cannot look at", errno);
        }
        const auto modified = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
        const auto identity = static_cast<std::uint64_t>(st.st_ino) ^ (static_cast<std::uint64_t>(st.st_dev) << 40);
        return FileStatus{typeOf(st.st_mode), static_cast<std::uint64_t>(st.st_size), static_cast<unsigned>(st.st_mode & 07777),
                          modified, identity};
    }

    Result<std::string> doReadFile(const std::string& path) override {
        struct stat st {};
        auto fd = openRegular(path, st);
        if (!fd) return fd.error();
        std::string out;
        out.reserve(static_cast<std::size_t>(st.st_size));
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(*fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                const int err = errno;
                ::close(*fd);
                return osError(path, "cannot read", err);
            }
            if (n == 0) break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        ::close(*fd);
        return out;
    }

    Result<std::unique_ptr<MappedFile>> doMapFile(const std::string& path) override {
        struct stat st {};
        auto fd = openRegular(path, st);
        if (!fd) return fd.error();
        const auto size = static_cast<std::size_t>(st.st_size);
        if (size == 0) {
            ::close(*fd);
            return std::unique_ptr<MappedFile>(std::make_unique<Empty>());
        }
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, *fd, 0);
        const int err = errno;
        ::close(*fd);
        if (map == MAP_FAILED) return osError(path, "cannot read", err);
        return std::unique_ptr<MappedFile>(std::make_unique<Mapping>(map, size));
    }

    Status doWriteAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce) override {
        auto target = writeTarget(path);
        if (!target) return target.error();
        const std::string& file = *target;
        const std::string parent = parentPath(file);
        const std::string dir = parent.empty() ? "." : parent;
        struct stat dirStat {};
        if (::stat(dir.c_str(), &dirStat) != 0) return osError(path, "folder " + dir, errno);
        if (!S_ISDIR(dirStat.st_mode)) return osError(path, "folder " + dir, ENOTDIR);
        mode_t mode = 0644;
        struct stat old {};
        if (::stat(file.c_str(), &old) == 0) {
            if (!S_ISREG(old.st_mode))
                return Error{path, "cannot replace " + file,
                             S_ISDIR(old.st_mode) ? "it is a folder" : "it is not a regular file (a device, FIFO or socket)",
                             S_ISDIR(old.st_mode) ? EISDIR : EINVAL};
            // Write protection holds for everyone, root included.
            if ((old.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0)
                return Error{path, "cannot replace " + file, "it is write-protected", EACCES};
            mode = old.st_mode & 07777;
        }
        std::string temp = file + ".XXXXXX";
        const int fd = ::mkstemp(temp.data());
        if (fd < 0) return osError(path, "cannot create a temporary file in " + dir, errno);
        auto abandon = [&](const std::string& what, int err) {
            ::close(fd);
            ::unlink(temp.c_str());
            return osError(path, what, err);
        };
        if (::fchmod(fd, mode) != 0) return abandon("cannot set the mode of " + temp, errno);
        int writeErr = 0;
        ByteSink sink = [&](std::string_view bytes) {
            while (!bytes.empty() && writeErr == 0) {
                const ssize_t n = ::write(fd, bytes.data(), bytes.size());
                if (n < 0) {
                    if (errno != EINTR) writeErr = errno;
                    continue;
                }
                bytes.remove_prefix(static_cast<std::size_t>(n));
            }
        };
        try {
            produce(sink);
        } catch (...) {
            ::close(fd);
            ::unlink(temp.c_str());
            throw;
        }
        if (writeErr) return abandon("cannot write " + temp, writeErr);
        if (::fsync(fd) != 0) return abandon("cannot flush " + temp, errno);
        if (::close(fd) != 0) {
            const int err = errno;
            ::unlink(temp.c_str());
            return osError(path, "cannot close " + temp, err);
        }
        if (::rename(temp.c_str(), file.c_str()) != 0) {
            const int err = errno;
            ::unlink(temp.c_str());
            return osError(path, "cannot rename " + temp + " into place", err);
        }
        return Done{};
    }

    Status doRename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) return osError(from, "cannot rename to " + to, errno);
        return Done{};
    }

    Result<std::unique_ptr<OutputFile>> doOpenForWriting(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0644);
        if (fd < 0) return osError(path, "cannot open for writing", errno);
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) {
            ::close(fd);
            return Error{path, "cannot open for writing", "not a file or a device", EINVAL};
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return std::unique_ptr<OutputFile>(std::make_unique<FdOutput>(fd, path));
    }

    Result<std::vector<DirEntry>> doListDirectory(const std::string& path) override {
        DIR* d = ::opendir(path.c_str());
        if (!d) return osError(path, "cannot list", errno);
        std::vector<DirEntry> entries;
        errno = 0;
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            struct stat st {};
            const std::string full = joinPath(path, name);
            FileType type = FileType::Symlink;  // dangling unless stat says otherwise
            if (::stat(full.c_str(), &st) == 0) type = typeOf(st.st_mode);
            entries.push_back({name, type});
            errno = 0;
        }
        const int err = errno;
        ::closedir(d);
        if (err != 0) return osError(path, "cannot list", err);
        std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
        return entries;
    }

    Status doCreateDirectory(const std::string& path) override {
        if (::mkdir(path.c_str(), 0777) != 0) return osError(path, "cannot create folder", errno);
        return Done{};
    }

    Result<std::string> doCurrentDirectory() override {
        char buf[PATH_MAX];
        if (!::getcwd(buf, sizeof buf)) return osError(".", "cannot find the current folder", errno);
        return std::string(buf);
    }

    Status doChangeDirectory(const std::string& path) override {
        if (::chdir(path.c_str()) != 0) return osError(path, "cannot change to the folder", errno);
        return Done{};
    }

    Result<std::string> doCanonical(const std::string& path) override {
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real) return osError(path, "cannot resolve", errno);
        std::string out(real);
        std::free(real);
        return out;
    }

    Result<std::string> doReadLink(const std::string& path) override {
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
        if (n < 0) return osError(path, "cannot read the link", errno);
        return std::string(buf, static_cast<std::size_t>(n));
    }

    Status doCreateSymlink(const std::string& target, const std::string& link) override {
        if (::symlink(target.c_str(), link.c_str()) != 0) return osError(link, "cannot create the link", errno);
        return Done{};
    }

    Status doRemoveFile(const std::string& path) override {
        if (::unlink(path.c_str()) != 0) return osError(path, "cannot remove", errno);
        return Done{};
    }

    Result<std::unique_ptr<FileLock>> doLockExclusively(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
        if (fd < 0) return osError(path, "cannot open the lock file", errno);
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return osError(path, "cannot lock", err);
        }
        return std::unique_ptr<FileLock>(std::make_unique<FlockLock>(fd));
    }

    std::optional<std::string> doEnvironment(const std::string& name) override {
        const char* v = std::getenv(name.c_str());
        if (!v) return std::nullopt;
        return std::string(v);
    }
};

}  // namespace

FileSystem& FileSystem::real() {
    static RealFileSystem fs;
    return fs;
}

}  // namespace kestrin::fs
