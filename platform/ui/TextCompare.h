// Letter case of CP1251 text and the case-insensitive order that sorted lists
// use, for the controls; the rules are base/TextCase.h, shared with the host.
#pragma once

#include <string>

namespace kestrin::ui {

std::string lowerCp1251(std::string s);
std::string upperCp1251(std::string s);
// Negative, zero or positive as a sorts before, with or after b.
int compareNoCase(const std::string& a, const std::string& b);

}  // namespace kestrin::ui
