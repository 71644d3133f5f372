#include "platform/registry/RegistryFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace kestrin::registry {

namespace {
std::runtime_error failure(const std::string& what, const std::string& path) {
    return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p of the folder that will hold path.
void makeFolderFor(const std::string& path) {
    const std::string folder = folderOf(path);
    for (std::size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos != folder.size() && folder[pos] != '/') continue;
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) throw failure("cannot create the folder", part);
    }
}
}  // namespace

std::string defaultRegistryPath() {
    if (const char* path = std::getenv("KESTRIN_REGISTRY"); path && *path) return path;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.kestrin/registry.reg";
}

FileStamp stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return FileStamp{true, static_cast<std::uint64_t>(st.st_size),
                     static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<std::uint64_t>(st.st_mtim.tv_nsec),
                     static_cast<std::uint64_t>(st.st_ino), static_cast<std::uint64_t>(st.st_dev)};
}

std::optional<std::string> readWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw failure("cannot open", path);
    }
    std::string bytes;
    char buf[65536];
    while (true) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const auto error = failure("cannot read", path);
            ::close(fd);
            throw error;
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

ExclusiveLock::ExclusiveLock(const std::string& path) {
    makeFolderFor(path);
    const std::string lockPath = path + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) throw failure("cannot open the lock file", lockPath);
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const auto error = failure("cannot lock", lockPath);
        ::close(fd_);
        throw error;
    }
}

ExclusiveLock::~ExclusiveLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

void replaceFileAtomically(const std::string& path, const std::string& bytes) {
    makeFolderFor(path);
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw failure("cannot create", temp);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const auto error = failure("cannot write", temp);
            ::close(fd);
            ::unlink(temp.c_str());
            throw error;
        }
        done += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        const auto error = failure("cannot write", temp);
        ::unlink(temp.c_str());
        throw error;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const auto error = failure("cannot replace", path);
        ::unlink(temp.c_str());
        throw error;
    }
}

}  // namespace kestrin::registry
