#include "platform/ui/TextCompare.h"

#include "base/TextCase.h"

namespace kestrin::ui {

std::string lowerCp1251(std::string s) { return foldCase(s); }

std::string upperCp1251(std::string s) { return upperCase(s); }

int compareNoCase(const std::string& a, const std::string& b) { return compareIgnoringCase(a, b); }

}  // namespace kestrin::ui
