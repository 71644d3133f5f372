// A DXF file as the reader found it: every section and record in file order,
// and how the file was written, so that a save writes it the same way. The
// drawing database is built from it and written back into it.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/dxf/TagList.h"

namespace kestrin::dxf {

struct Table {
    Record head;                  // the TABLE record (2 = table name, 5, 330, 100, 70, ...)
    std::vector<Record> entries;  // LAYER, STYLE, BLOCK_RECORD, ...
};

struct Block {
    Record begin;                  // BLOCK
    std::vector<Record> entities;  // in order, attributes and SEQEND after their INSERT
    Record end;                    // ENDBLK
};

// A section the host does not model (THUMBNAILIMAGE, ACDSDATA, ...), kept as read.
struct RawSection {
    std::string name;
    std::vector<Record> records;
};

enum class DxfForm : std::uint8_t { Ascii, Binary };

// How group codes stand on their lines in an ASCII file: padded with spaces
// to a width, most often right-aligned in three columns ("  0", " 10", "100",
// "1001"); width 1 is the bare number ("0", "10").
struct CodeLayout {
    int width = 3;
    bool leftAligned = false;  // "0  ": the spaces after the number
    friend bool operator==(const CodeLayout&, const CodeLayout&) = default;
};

// The code line of `code` in `layout`, made in `buffer`.
inline constexpr std::size_t kCodeLineBuffer = 24;
inline std::string_view codeLineText(int code, const CodeLayout& layout, char (&buffer)[kCodeLineBuffer]) {
    char digits[8];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, code);
    const auto n = static_cast<std::size_t>(end - digits);
    const std::size_t width = std::min<std::size_t>(std::max<std::size_t>(static_cast<std::size_t>(layout.width), n), kCodeLineBuffer);
    const std::size_t pad = width - n;
    if (layout.leftAligned) {
        std::memcpy(buffer, digits, n);
        std::memset(buffer + n, ' ', pad);
    } else {
        std::memset(buffer, ' ', pad);
        std::memcpy(buffer + pad, digits, n);
    }
    return {buffer, width};
}

struct FileFormat {
    // $ACADVER; a file without one (R12 and older may lack a header) counts as AC1009.
    std::string version = "AC1015";
    DxfForm form = DxfForm::Ascii;
    bool crlf = false;            // lines end in CR LF
    bool byteOrderMark = false;   // a UTF-8 byte-order mark before the first line
    CodeLayout codes;
    int binaryCodeBytes = 2;      // binary: 1 (with 255 escaping longer codes) up to R12, 2 after
    bool eofLineEnd = true;       // the EOF line has its line end
    std::string tail;             // blank space (and ^Z) after EOF
};

// What the plain form of a file's tags does not give back: code lines laid
// out otherwise than the file's layout, and strings whose conversion to CP1251
// and back gives other bytes (an escape the file's code page could have
// written as a character, a multi-byte character with two encodings). Kept by
// record (the position of its 0 tag), so that a record saved unchanged is
// written as read; a tag is written from here only while it still holds the
// code and the value it was read with.
struct Verbatim {
    struct Tag {
        std::uint32_t index = 0;   // in the record: 0 is the 0 tag, 1 its first tag after it
        std::string codeText;      // the code line as read; empty when it was in the file's layout
        bool keepsValue = false;
        std::string value;         // the value as the system holds it
        std::string raw;           // its bytes in the file
    };
    std::unordered_map<std::size_t, std::vector<Tag>> records;  // sorted by index
    std::vector<Tag> header;    // indexes of header tags
    std::vector<Tag> preamble;  // indexes of the 999 tags before the first section
    bool empty() const { return records.empty() && header.empty() && preamble.empty(); }
};

struct Document {
    TagList preamble;              // 999 comment tags before the first section
    TagList header;                // tags between "2 HEADER" and ENDSEC: 9 $NAME, then its value tags
    std::vector<Record> classes;   // CLASS records
    std::vector<Table> tables;
    std::vector<Block> blocks;
    std::vector<Record> entities;  // ENTITIES section, in order
    std::vector<Record> objects;   // OBJECTS section, the root dictionary first
    std::vector<RawSection> others;
    // Section names in file order ("HEADER", "CLASSES", "TABLES", "BLOCKS",
    // "ENTITIES", "OBJECTS" and the names of `others`), so that a write keeps it.
    std::vector<std::string> order;
    FileFormat format;
    // Strings are CP1251 whatever the file's encoding was ($DWGCODEPAGE up to
    // R2004, UTF-8 after), and written back in it.
    std::shared_ptr<const Verbatim> verbatim;
};

// "line 12" for an ASCII file, "byte 340" for a binary one: where a record
// (Record::line) or tag stood.
std::string describePosition(const FileFormat& format, std::size_t position);

}  // namespace kestrin::dxf
