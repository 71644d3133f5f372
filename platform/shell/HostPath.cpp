#include "platform/shell/HostPath.h"

namespace kestrin::shell {

std::optional<std::string> hostPathOf(const std::string& path) {
    const bool hasDrive = path.size() >= 2 && path[1] == ':' &&
                          ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (hasDrive || path.find('\\') != std::string::npos) return std::nullopt;
    return path;
}

}  // namespace kestrin::shell
