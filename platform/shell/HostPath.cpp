#include "platform/shell/HostPath.h"

#include "platform/fs/FileSystem.h"

namespace kestrin::shell {

std::optional<std::string> hostPathOf(const std::string& path) {
    if (path.empty()) return std::nullopt;
    auto resolved = fs::FileSystem::current().resolve(path);
    if (!resolved) return std::nullopt;
    return std::move(*resolved);
}

}  // namespace kestrin::shell
