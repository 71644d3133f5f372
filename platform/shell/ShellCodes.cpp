// The result numbers of the shell's calls, and the opener's name.
#include <cerrno>
#include <cstdlib>

#include "platform/shell/Shell.h"

namespace kestrin::shell {

int shellExecuteCode(int error) {
    switch (error) {
        case ENOENT: return SE_ERR_FNF;
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG: return SE_ERR_PNF;
        case EACCES:
        case EPERM:
        case EISDIR: return SE_ERR_ACCESSDENIED;
        case ENOMEM:
        case EAGAIN:
        case E2BIG:
        case EMFILE:
        case ENFILE: return SE_ERR_OOM;
        case ENOEXEC: return SE_ERR_BAD_FORMAT;
        case ETXTBSY: return SE_ERR_SHARE;
        default: return SE_ERR_ACCESSDENIED;
    }
}

int winExecCode(int error) {
    const int code = shellExecuteCode(error);
    return code == SE_ERR_OOM ? SE_ERR_OUT_OF_RESOURCES : code;
}

std::string openerProgram() {
    const char* configured = std::getenv("KESTRIN_OPENER");
    return configured && *configured ? configured : "xdg-open";
}

}  // namespace kestrin::shell
