// Starting a program with an argument vector (never through a command
// interpreter), without waiting for it: the program runs in its own session,
// detached from the starter, with its standard input from /dev/null, and is
// reaped by the system when it ends, so it never lingers as a zombie.
#pragma once

#include <string>
#include <vector>

namespace kestrin::shell {

// A program found by name or path. `error` is 0 when found, else the errno
// that tells why not (ENOENT none such, EACCES not executable, ENOTDIR a
// folder of the path is a file).
struct FoundProgram {
    std::string path;
    int error = 0;
};

// A name without '/' is searched along PATH (the first executable file
// wins); a name with '/' is taken as it is.
FoundProgram findProgram(const std::string& name);

// Starts argv[0] (a path) with the arguments; 0 when it runs, else the errno
// of the failed start. An empty `directory` keeps the current folder.
int startDetached(const std::vector<std::string>& argv, const std::string& directory = {});

}  // namespace kestrin::shell
