// The clipboard: one text in CP1251, shared by every window of the session.
#pragma once

#include <optional>
#include <string>

namespace kestrin::clipboard {

void setText(const std::string& cp1251);
std::optional<std::string> text();  // nothing when the clipboard holds no text
void clear();

}  // namespace kestrin::clipboard
