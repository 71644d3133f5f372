// A DXF R2000 file as the reader found it: every section and record in file
// order. The drawing database is built from it and written back into it.
#pragma once

#include <string>
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
    // $DWGCODEPAGE as the file had it. The strings are CP1251 whatever it
    // was, and the header says ANSI_1251 once read.
    std::string codePage = "ANSI_1251";
};

}  // namespace kestrin::dxf
