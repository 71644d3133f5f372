// Linux: "open" through the opener program, a command line started directly.
#include "platform/shell/Shell.h"

#include <cerrno>
#include <strings.h>
#include <sys/stat.h>

#include "platform/shell/SplitCommandLine.h"
#include "platform/shell/HostPath.h"
#include "platform/shell/ProcessStart.h"

namespace kestrin::shell {

namespace {

constexpr int kShellExecuteDone = 42;
constexpr int kWinExecDone = 33;

HINSTANCE asHandle(int code) { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(code)); }

// "mailto:x", "http://x": a scheme of two or more letters, digits, '+', '-',
// '.' (the first a letter) before the colon. "C:\x" has a drive, not a scheme.
bool isUrl(const std::string& target) {
    const std::size_t colon = target.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!letter(target[0])) return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = target[i];
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

// Why a file cannot be opened: 0 when it exists, else the errno.
int fileError(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? 0 : errno;
}

}  // namespace

}  // namespace kestrin::shell

using namespace kestrin::shell;

HINSTANCE ShellExecute(HWND, const char* verb, const char* file, const char* parameters, const char* directory,
                       int) {
    if (verb != nullptr && *verb != '\0' && ::strcasecmp(verb, "open") != 0) return asHandle(SE_ERR_NOASSOC);
    const std::string target = file ? file : "";
    if (target.empty()) return asHandle(SE_ERR_FNF);

    std::string opened = target;
    if (!isUrl(target)) {
        const auto local = hostPathOf(target);
        if (!local) return asHandle(SE_ERR_FNF);
        if (const int e = fileError(*local); e != 0) return asHandle(shellExecuteCode(e));
        opened = *local;
    }
    std::string folder;
    if (directory != nullptr && *directory != '\0') {
        const auto local = hostPathOf(directory);
        if (!local) return asHandle(SE_ERR_PNF);
        folder = *local;
    }

    const FoundProgram opener = findProgram(openerProgram());
    if (opener.error == ENOENT) return asHandle(SE_ERR_NOASSOC);
    if (opener.error != 0) return asHandle(shellExecuteCode(opener.error));
    std::vector<std::string> argv{opener.path, opened};
    if (parameters != nullptr && *parameters != '\0') {
        const std::vector<std::string> words = splitCommandLine(std::string("x ") + parameters);
        argv.insert(argv.end(), words.begin() + 1, words.end());
    }
    if (const int e = startDetached(argv, folder); e != 0) return asHandle(shellExecuteCode(e));
    return asHandle(kShellExecuteDone);
}

UINT WinExec(const char* commandLine, UINT) {
    std::vector<std::string> argv = splitCommandLine(commandLine ? commandLine : "");
    if (argv.empty() || argv[0].empty()) return SE_ERR_FNF;
    const auto program = hostPathOf(argv[0]);
    if (!program) return SE_ERR_FNF;
    const FoundProgram found = findProgram(*program);
    if (found.error != 0) return static_cast<UINT>(winExecCode(found.error));
    argv[0] = found.path;
    if (const int e = startDetached(argv); e != 0) return static_cast<UINT>(winExecCode(e));
    return kWinExecDone;
}
