// Reading and writing DXF files of every version from R10 to R2018, ASCII and
// binary, each written as it was read. What is checked and refused, and how
// encodings are handled: host/dxf/README.md.
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

// The file bytes of a document, in its version, form, encoding and layout.
// Throws DxfError for a tag that could not be read back (a line break in a
// value, an undefined group code, a value that does not parse by its code).
std::string writeDxf(const Document& doc);
// Writes a temporary file beside `path` and renames it into place; on any
// failure the old file stays untouched and DxfError says why.
void saveDxfFile(const Document& doc, const std::string& path);

}  // namespace kestrin::dxf
