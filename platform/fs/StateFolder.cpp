#include "platform/fs/StateFolder.h"

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"

namespace kestrin::fs {

Result<std::string> userStateFolder(const std::string& program) {
    FileSystem& files = FileSystem::current();
    std::string base;
    // Only an absolute XDG_STATE_HOME counts, as the XDG rules say.
    if (auto state = files.environment("XDG_STATE_HOME"); state && !state->empty() && state->front() == '/') {
        base = *state;
    } else if (auto home = files.environment("HOME"); home && !home->empty()) {
        base = joinPath(*home, ".local/state");
    } else {
        return Error{"~/.local/state", "cannot find the state folder", "neither XDG_STATE_HOME nor HOME is set", 0};
    }
    const std::string folder = joinPath(base, program);
    if (Status made = files.createDirectories(folder); !made) return made.error();
    return folder;
}

}  // namespace kestrin::fs
