#include "platform/clipboard/Clipboard.h"

namespace kestrin::clipboard {

namespace {
std::optional<std::string>& contents() {
    static std::optional<std::string> c;
    return c;
}
}  // namespace

void setText(const std::string& cp1251) { contents() = cp1251; }
std::optional<std::string> text() { return contents(); }
void clear() { contents().reset(); }

}  // namespace kestrin::clipboard
