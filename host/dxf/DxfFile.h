// Reading and writing DXF R2000 (AC1015) ASCII files. What is checked and
// refused, and how code pages are handled: host/dxf/README.md.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "host/dxf/DxfDocument.h"

namespace kestrin::dxf {

// A file that cannot be read or written; the message names the file, the
// line (for reading) and what was expected there. UTF-8.
class DxfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses a whole file held in memory; `name` names it in errors. Either
// answers a complete document or throws DxfError: nothing is half-loaded.
Document readDxf(std::string_view bytes, const std::string& name);
Document readDxfFile(const std::string& path);

// The file text of a document (CP1251, LF line ends, $DWGCODEPAGE ANSI_1251).
// Throws DxfError for a tag that could not be read back (a line break in a
// value, an undefined group code, a value that does not parse by its code).
std::string writeDxf(const Document& doc);
// Writes a temporary file beside `path` and renames it into place; on any
// failure the old file stays untouched and DxfError says why.
void saveDxfFile(const Document& doc, const std::string& path);

}  // namespace kestrin::dxf
