// The registry's export format, REGEDIT4, in code page 1251:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Zor]
//   @="default"
//   "Name"="text with \\ and \""
//   "Count"=dword:0000000a
//   "Path"=hex(2):25,00,41,00
//
// Sections name keys by their full path; a value is a quoted string (REG_SZ),
// dword: (REG_DWORD), hex: (REG_BINARY) or hex(N): (type N, hexadecimal)
// with comma-separated bytes that may continue over lines ending in a
// backslash. Lines starting with ';' are comments and are kept.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/registry/KeyTree.h"

namespace kestrin::registry {

// "file:line: reason".
class RegistryFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole file; an empty text is an empty registry. Throws
// RegistryFileError naming fileName, the line and what is wrong there.
Tree readRegedit4(std::string_view text, const std::string& fileName);

// Writes every key that is not volatile, parents before children, subkeys in
// enumeration order; a key without values gets no section of its own when
// its subkeys' sections imply it. Unchanged values keep the lines they were read from.
// newline is "\r\n" (the platform's own) or "\n".
std::string writeRegedit4(const Tree& tree, const std::string& newline = "\r\n");

// The newline a file uses ("\r\n" when its first line ends so, else "\n").
std::string newlineOf(std::string_view text);

// Two trees hold the same keys (with their spelling and volatility), values
// (name, type, data, order).
bool sameContent(const Tree& a, const Tree& b);

}  // namespace kestrin::registry
