#include "platform/shell/ProcessStart.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrin::shell {

namespace {

int executableError(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    if (S_ISDIR(st.st_mode)) return EACCES;
    if (::access(path.c_str(), X_OK) != 0) return EACCES;
    return 0;
}

// Writes all of `value` to a pipe; only async-signal-safe calls.
void writeErrno(int fd, int value) {
    const char* p = reinterpret_cast<const char*>(&value);
    std::size_t left = sizeof value;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n <= 0 && errno != EINTR) return;
        if (n > 0) p += n, left -= static_cast<std::size_t>(n);
    }
}

}  // namespace

FoundProgram findProgram(const std::string& name) {
    if (name.empty()) return {{}, ENOENT};
    if (name.find('/') != std::string::npos) return {name, executableError(name)};
    const char* pathVariable = std::getenv("PATH");
    const std::string folders = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    int error = ENOENT;
    std::size_t from = 0;
    for (;;) {
        const std::size_t colon = folders.find(':', from);
        std::string folder = folders.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        if (folder.empty()) folder.assign(1, '.');  // not = ".": g++ 12 -Wrestrict
        std::string candidate = folder;  // appended, not folder + "/" + name: g++ 12 -Wrestrict
        candidate.append("/").append(name);
        const int e = executableError(candidate);
        if (e == 0) return {candidate, 0};
        if (e == EACCES) error = EACCES;  // one that exists but cannot run
        if (colon == std::string::npos) break;
        from = colon + 1;
    }
    return {{}, error};
}

int startDetached(const std::vector<std::string>& argv, const std::string& directory) {
    if (argv.empty() || argv[0].empty()) return ENOENT;
    // Everything the children need is made before fork: after it they only
    // make async-signal-safe calls.
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const char* folder = directory.empty() ? nullptr : directory.c_str();

    // The grandchild reports a failed exec through the pipe; a successful
    // exec closes its end (close-on-exec), and the parent reads end of file.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return errno;

    const pid_t child = ::fork();
    if (child < 0) {
        const int e = errno;
        ::close(report[0]);
        ::close(report[1]);
        return e;
    }
    if (child == 0) {
        ::close(report[0]);
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            writeErrno(report[1], errno);
            ::_exit(1);
        }
        if (grandchild == 0) {
            ::setsid();
            // A program started gets every signal, whatever this one blocks (a terminal's Ctrl+C).
            sigset_t none;
            ::sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            if (const int devNull = ::open("/dev/null", O_RDONLY); devNull >= 0) {
                ::dup2(devNull, 0);
                if (devNull != 0) ::close(devNull);
            }
            if (folder != nullptr && ::chdir(folder) != 0) {
                writeErrno(report[1], errno);
                ::_exit(127);
            }
            ::execv(args[0], args.data());
            writeErrno(report[1], errno);
            ::_exit(127);
        }
        // The grandchild is handed to the system, which reaps it.
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    char* into = reinterpret_cast<char*>(&error);
    for (;;) {
        const ssize_t n = ::read(report[0], into + got, sizeof error - static_cast<std::size_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
        if (got == static_cast<ssize_t>(sizeof error)) break;
    }
    ::close(report[0]);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace kestrin::shell
