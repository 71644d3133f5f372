// A small drawing built by hand for database tests, holding every kind of
// record the host meets: modelled entities, a block with an attribute
// definition and a nested text, an insertion with attributes, an entity type
// the host does not model, extended data and an extension dictionary.
//
// Handles: tables 1-9, style records 10-13, block records 20-23, blocks
// 30-35, entities 40-4F, block contents 60-62, objects 70-72.
#pragma once

#include <stdexcept>
#include <string>

#include "base/Cp1251.h"
#include "host/db/Abort.h"
#include "host/dxf/DxfDocument.h"

namespace kestrin::test {

// Thrown by the abort handler the tests install, with acrx_abort's message.
struct Aborted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Installs a throwing abort handler for the scope.
class AbortThrows {
public:
    AbortThrows() { previous_ = host::setAbortHandler([](const std::string& m) { throw Aborted(m); }); }
    ~AbortThrows() { host::setAbortHandler(previous_); }

private:
    host::AbortHandler previous_;
};

inline dxf::Record record(std::string type, std::initializer_list<std::pair<int, std::string>> tags) {
    dxf::Record r;
    r.type = std::move(type);
    for (const auto& [code, value] : tags) r.tags.push(code, value);
    return r;
}

inline dxf::Document testDrawing() {
    dxf::Document doc;
    for (const auto& [code, value] : std::initializer_list<std::pair<int, std::string>>{
             {9, "$ACADVER"}, {1, "AC1015"}, {9, "$INSBASE"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"},
             {9, "$ORTHOMODE"}, {70, "0"}, {9, "$TEXTSIZE"}, {40, "2.5"}, {9, "$TEXTSTYLE"}, {7, "Standard"},
             {9, "$DIMZIN"}, {70, "8"}, {9, "$LUNITS"}, {70, "2"}, {9, "$LUPREC"}, {70, "4"},
             {9, "$OSMODE"}, {70, "37"}, {9, "$HANDSEED"}, {5, "100"}, {9, "$TILEMODE"}, {70, "1"},
             {9, "$USERI1"}, {70, "0"}, {9, "$USERR1"}, {40, "0.0"}, {9, "$DWGCODEPAGE"}, {3, "ANSI_1251"}})
        doc.header.push(code, value);

    dxf::Table styles;
    styles.head = record("TABLE", {{2, "STYLE"}, {5, "3"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "3"}});
    styles.entries.push_back(record("STYLE", {{5, "10"}, {330, "3"}, {100, "AcDbSymbolTableRecord"},
                                              {100, "AcDbTextStyleTableRecord"}, {2, "Standard"}, {70, "0"},
                                              {40, "0.0"}, {41, "1.0"}, {50, "0.0"}, {71, "0"}, {42, "2.5"},
                                              {3, "txt"}, {4, ""}}));
    styles.entries.push_back(record("STYLE", {{5, "11"}, {330, "3"}, {100, "AcDbSymbolTableRecord"},
                                              {100, "AcDbTextStyleTableRecord"}, {2, "Чертёжный"_cp}, {70, "0"},
                                              {40, "0.0"}, {41, "0.8"}, {50, "15.0"}, {71, "0"}, {42, "3.5"},
                                              {3, "gost.shx"}, {4, ""}}));
    doc.tables.push_back(std::move(styles));

    dxf::Table blocks;
    blocks.head = record("TABLE", {{2, "BLOCK_RECORD"}, {5, "1"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "3"}});
    for (const auto& [handle, name] : {std::pair{"20", "*Model_Space"}, {"21", "*Paper_Space"}, {"22", "BOX"}})
        blocks.entries.push_back(record("BLOCK_RECORD", {{5, handle}, {330, "1"}, {100, "AcDbSymbolTableRecord"},
                                                         {100, "AcDbBlockTableRecord"}, {2, name}}));
    doc.tables.push_back(std::move(blocks));

    auto blockBegin = [](const char* handle, const char* owner, const char* name) {
        return record("BLOCK", {{5, handle}, {330, owner}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockBegin"},
                                {2, name}, {70, "0"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {3, name}, {1, ""}});
    };
    auto blockEnd = [](const char* handle, const char* owner) {
        return record("ENDBLK", {{5, handle}, {330, owner}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbBlockEnd"}});
    };
    doc.blocks.push_back({blockBegin("30", "20", "*Model_Space"), {}, blockEnd("31", "20")});
    doc.blocks.push_back({blockBegin("32", "21", "*Paper_Space"), {}, blockEnd("33", "21")});
    dxf::Block box{blockBegin("34", "22", "BOX"), {}, blockEnd("35", "22")};
    box.entities.push_back(record("TEXT", {{5, "60"}, {330, "22"}, {100, "AcDbEntity"}, {8, "0"},
                                           {100, "AcDbText"}, {10, "1.0"}, {20, "1.0"}, {30, "0.0"}, {40, "2.5"},
                                           {1, "inside"}, {100, "AcDbText"}}));
    box.entities.push_back(record("ATTDEF", {{5, "61"}, {330, "22"}, {100, "AcDbEntity"}, {8, "0"},
                                             {100, "AcDbText"}, {10, "0.0"}, {20, "5.0"}, {30, "0.0"}, {40, "2.5"},
                                             {1, "default"}, {100, "AcDbAttributeDefinition"}, {3, "Номер?"_cp},
                                             {2, "NUMBER"}, {70, "0"}}));
    doc.blocks.push_back(std::move(box));

    // Model space.
    doc.entities.push_back(record("TEXT", {{5, "40"}, {102, "{ACAD_XDICTIONARY"}, {360, "72"}, {102, "}"},
                                           {330, "20"}, {100, "AcDbEntity"}, {8, "Text"}, {100, "AcDbText"},
                                           {39, "0.5"}, {10, "10.0"}, {20, "20.0"}, {30, "0.0"}, {40, "3.5"},
                                           {1, "Строка"_cp}, {50, "90.0"}, {41, "0.8"}, {51, "15.0"},
                                           {7, "Чертёжный"_cp}, {72, "1"}, {11, "12.0"}, {21, "20.0"}, {31, "0.0"},
                                           {100, "AcDbText"}, {73, "2"}, {1001, "KESTRIN"}, {1000, "note"},
                                           {1070, "7"}}));
    doc.entities.push_back(record("LWPOLYLINE", {{5, "41"}, {330, "20"}, {100, "AcDbEntity"}, {8, "0"},
                                                 {100, "AcDbPolyline"}, {90, "2"}, {70, "0"}, {10, "50.0"},
                                                 {20, "50.0"}, {10, "60.0"}, {20, "50.0"}}));
    doc.entities.push_back(record("INSERT", {{5, "42"}, {330, "20"}, {100, "AcDbEntity"}, {8, "0"},
                                             {100, "AcDbBlockReference"}, {66, "1"}, {2, "BOX"}, {10, "100.0"},
                                             {20, "100.0"}, {30, "0.0"}}));
    doc.entities.push_back(record("ATTRIB", {{5, "43"}, {330, "42"}, {100, "AcDbEntity"}, {8, "0"},
                                             {100, "AcDbText"}, {10, "100.0"}, {20, "105.0"}, {30, "0.0"},
                                             {40, "2.5"}, {1, "12"}, {100, "AcDbAttribute"}, {2, "NUMBER"},
                                             {70, "0"}}));
    doc.entities.push_back(record("SEQEND", {{5, "44"}, {330, "42"}, {100, "AcDbEntity"}, {8, "0"}}));
    doc.entities.push_back(record("MTEXT", {{5, "45"}, {330, "20"}, {100, "AcDbEntity"}, {8, "0"},
                                            {100, "AcDbMText"}, {10, "0.0"}, {20, "-30.0"}, {30, "0.0"},
                                            {40, "2.5"}, {41, "50.0"}, {71, "1"}, {3, std::string(250, 'a')},
                                            {1, "bc"}, {7, "Standard"}}));
    doc.entities.push_back(record("LINE", {{5, "46"}, {330, "20"}, {100, "AcDbEntity"}, {8, "0"},
                                           {100, "AcDbLine"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"},
                                           {11, "5.0"}, {21, "5.0"}, {31, "0.0"}}));
    doc.entities.push_back(record("CIRCLE", {{5, "47"}, {330, "20"}, {100, "AcDbEntity"}, {8, "0"},
                                             {100, "AcDbCircle"}, {10, "-40.0"}, {20, "-40.0"}, {30, "0.0"},
                                             {40, "4.0"}}));
    doc.entities.push_back(record("ACME_WIDGET", {{5, "48"}, {330, "20"}, {100, "AcDbEntity"}, {8, "0"},
                                                  {100, "AcmeWidget"}, {10, "200.0"}, {20, "200.0"},
                                                  {1, "keep me"}, {1071, "99"}}));
    // Paper space.
    doc.entities.push_back(record("CIRCLE", {{5, "49"}, {330, "21"}, {100, "AcDbEntity"}, {67, "1"}, {8, "0"},
                                             {100, "AcDbCircle"}, {10, "1.0"}, {20, "1.0"}, {30, "0.0"},
                                             {40, "1.0"}}));

    doc.objects.push_back(record("DICTIONARY", {{5, "70"}, {330, "0"}, {100, "AcDbDictionary"}, {281, "1"},
                                                {3, "ACAD_GROUP"}, {350, "71"}}));
    doc.objects.push_back(record("DICTIONARY", {{5, "71"}, {330, "70"}, {100, "AcDbDictionary"}, {281, "1"}}));
    doc.objects.push_back(record("XRECORD", {{5, "72"}, {102, "{ACAD_REACTORS"}, {330, "40"}, {102, "}"},
                                             {330, "40"}, {100, "AcDbXrecord"}, {280, "1"}, {1, "payload"},
                                             {40, "3.25"}}));
    doc.others.push_back({"THUMBNAILIMAGE", {record("UNKNOWN", {{90, "0"}})}});
    doc.order = {"HEADER", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS", "THUMBNAILIMAGE"};
    return doc;
}

// The tags of a record as "code=value;" text, for exact comparisons with
// readable failures.
inline std::string dump(const dxf::Record& r) {
    std::string out = r.type + ":";
    for (std::size_t i = 0; i < r.tags.size(); ++i)
        out.append(" ").append(std::to_string(r.tags[i].code)).append("=").append(r.tags[i].value);  // g++ 12 -Wrestrict
    return out;
}

}  // namespace kestrin::test
