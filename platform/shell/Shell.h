// The shell's "open" verb and the start of a command line, with the result
// numbers of the host platform: above 32 (ShellExecute) or above 31
// (WinExec) is success, smaller numbers name the failure.
//
// "open" hands the target to the opener program: KESTRIN_OPENER, else
// xdg-open. A URL ("scheme:...") goes to it as it is; any other target is a
// file name, which must exist. A command line is split by the platform's
// rules, its program path is mapped to this machine and started directly.
// Programs are started with an argument vector, never through a command
// interpreter, and are not waited for.
#pragma once

#include <string>

#include "platform/win/Styles.h"
#include "platform/win/Types.h"

// Failure numbers of ShellExecute.
inline constexpr int SE_ERR_OUT_OF_RESOURCES = 0;
inline constexpr int SE_ERR_FNF = 2;             // file not found
inline constexpr int SE_ERR_PNF = 3;             // path not found
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_OOM = 8;
inline constexpr int SE_ERR_BAD_FORMAT = 11;     // not a program that can run here
inline constexpr int SE_ERR_SHARE = 26;          // sharing violation (the file is busy)
inline constexpr int SE_ERR_ASSOCINCOMPLETE = 27;
inline constexpr int SE_ERR_DDETIMEOUT = 28;
inline constexpr int SE_ERR_DDEFAIL = 29;
inline constexpr int SE_ERR_DDEBUSY = 30;
inline constexpr int SE_ERR_NOASSOC = 31;        // nothing opens it
inline constexpr int SE_ERR_DLLNOTFOUND = 32;

// Answers a number as a handle, as the platform does: compare
// reinterpret_cast<INT_PTR>(result) with 32.
HINSTANCE ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int showCommand);
UINT WinExec(const char* commandLine, UINT showCommand);

namespace kestrin::shell {

// The result numbers of a start that failed with `error` (an errno).
int shellExecuteCode(int error);
int winExecCode(int error);

// The opener program's name or path: KESTRIN_OPENER, else "xdg-open".
std::string openerProgram();

}  // namespace kestrin::shell
