// Tags of a binary DXF file: the 22-byte sentinel, then each tag as its group
// code (two bytes little-endian; up to R12 one byte, 255 leading a two-byte
// code) and its value in the form of the code's type: strings and handles
// NUL-terminated, binary data after a length byte, numbers as little-endian
// integers of 1, 2, 4 or 8 bytes or 8-byte doubles.
//
// The system holds every value as text, as an ASCII file has it; numbers are
// written as the shortest text that reads back to the same value, so that a
// binary file saved unchanged keeps every bit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/dxf/GroupCode.h"
#include "host/dxf/TextArena.h"

namespace kestrin::dxf {

inline constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1A\0", 22};

// A tag read from a binary file; a failure names its byte offset.
struct BinaryTag {
    int code;
    ValueType type;
    std::string_view value;  // strings as their file bytes, numbers and binary data as text
    std::size_t offset;      // of the tag's group code
};

class BinaryTagScanner {
public:
    // `bytes` is the whole file, sentinel included; codes are `codeBytes` wide (1 or 2).
    BinaryTagScanner(std::string_view bytes, int codeBytes) : bytes_(bytes), pos_(kBinarySentinel.size()), codeBytes_(codeBytes) {}

    // The width of the codes of a file that starts with the sentinel, from
    // its first tag (0 SECTION); 0 when neither width reads that tag.
    static int detectCodeBytes(std::string_view bytes);

    // The next tag (numbers made text in `arena`); false at the end. A
    // malformed tag sets `error` (what was expected) and answers false.
    bool next(BinaryTag& tag, TextArena& arena, std::string& error);

    // The record whose tags come next: value types may depend on it.
    void enterRecord(std::string_view type) { inDimStyle_ = type == "DIMSTYLE"; }
    std::size_t offset() const { return pos_; }
    std::string_view rest() const { return bytes_.substr(pos_); }
    std::size_t size() const { return bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t pos_;
    int codeBytes_;
    bool inDimStyle_ = false;
};

// Appends one tag in binary form; `value` is its text as the system holds it
// (strings already in the file's encoding). Answers what is wrong with the
// value, or an empty string when it was written.
std::string appendBinaryTag(std::string& out, int codeBytes, int code, ValueType type, std::string_view value);

}  // namespace kestrin::dxf
