// Malformed files are refused with the line and what was expected there.
#include <gtest/gtest.h>


#include "host/dxf/DxfFile.h"
#include "host/dxf/GroupCode.h"
#include "host/dxf/Template.h"
#include "tests/host/dxf/TestDrawings.h"

using namespace kestrin::dxf;
using namespace kestrin::dxf::testing;

namespace {

// The message of the DxfError that reading `text` raises, or "" when it reads.
std::string errorOf(std::string_view text) {
    try {
        readDxf(text, "bad.dxf");
    } catch (const DxfError& e) {
        return e.what();
    }
    return "";
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        lines.push_back(text.substr(start, lf - start));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

std::string join(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

// A small drawing around the given ENTITIES records and BLOCKS content.
std::string drawing(const std::string& entities, const std::string& blocks = "") {
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n"
           "  0\nSECTION\n  2\nBLOCKS\n" + blocks + "  0\nENDSEC\n"
           "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

const std::string kTemplateText = writeDxf(newDrawingTemplate());

}  // namespace

TEST(DxfReaderErrors, EveryTruncationIsRefusedWithALine) {
    const std::string good = readBytes(drawingsDir() + "/content.dxf");
    const std::size_t eof = good.rfind("EOF");
    ASSERT_NE(eof, std::string::npos);
    // "bad.dxf: line N: what"
    auto namesALine = [](const std::string& msg) {
        const std::string prefix = "bad.dxf: line ";
        if (msg.rfind(prefix, 0) != 0) return false;
        std::size_t i = prefix.size();
        while (i < msg.size() && std::isdigit(static_cast<unsigned char>(msg[i]))) ++i;
        return i > prefix.size() && msg.compare(i, 2, ": ") == 0 && msg.size() > i + 2;
    };
    int cuts = 0;
    for (std::size_t cut = 0; cut < eof; cut += 1 + cut / 40) {
        const std::string msg = errorOf(std::string_view(good).substr(0, cut));
        EXPECT_TRUE(namesALine(msg)) << "cut at byte " << cut << ": '" << msg << "'";
        ++cuts;
    }
    EXPECT_GT(cuts, 200);
    EXPECT_EQ(errorOf(good), "");
}

TEST(DxfReaderErrors, GarbledCodeOrValueIsNamedAtItsLine) {
    const std::vector<std::string> lines = linesOf(kTemplateText);
    int garbled = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const int code = std::stoi(lines[i]);
        // The code line: a word instead of a number.
        auto bad = lines;
        bad[i] = "x" + lines[i];
        EXPECT_EQ(errorOf(join(bad)), "bad.dxf: line " + std::to_string(i + 1) +
                                          ": expected a group code (an integer), found 'x" + lines[i] + "'");
        // The value line: text where a number or handle belongs.
        const ValueType type = valueTypeOf(code);
        if (type == ValueType::String) continue;
        bad = lines;
        bad[i + 1] = "1.5x";
        EXPECT_EQ(errorOf(join(bad)), "bad.dxf: line " + std::to_string(i + 2) + ": expected " +
                                          std::string(describe(type)) + " for group code " + std::to_string(code) +
                                          ", found '1.5x'");
        ++garbled;
    }
    EXPECT_GT(garbled, 300);
}

TEST(DxfReaderErrors, StructureFaultsSayWhatWasExpected) {
    auto expectError = [](const std::string& text, const std::string& expected) {
        const std::string msg = errorOf(text);
        EXPECT_NE(msg.find(expected), std::string::npos) << "message: '" << msg << "'\nexpected: " << expected;
    };
    const std::string line = "  0\nLINE\n  8\n0\n 10\n0.0\n";
    expectError(drawing(line).substr(0, drawing(line).find("  0\nENDSEC\n  0\nEOF")),
                "line 27: end of file inside section ENTITIES, expected ENDSEC");
    expectError(drawing(line).substr(0, drawing(line).rfind("  0\nEOF")), "end of file after ENDSEC, expected 0 SECTION or 0 EOF");
    expectError("", "line 1: empty file");
    expectError("AutoCAD Binary DXF\r\n\x1a", "byte 0: a damaged binary DXF sentinel");
    expectError(drawing(line) + "  0\nLINE\n", "line 31: unexpected content after 0 EOF");
    expectError(drawing("  0\nENDTAB\n"), "line 21: expected a record or 0 ENDSEC in section ENTITIES, found 0 'ENDTAB'");
    expectError(drawing(" 85\nx\n"), "line 21: group code 85 is not a DXF group code");
    expectError(drawing("  0\nLINE\n 40\n1e999\n"), "line 24: expected a real value for group code 40, found '1e999'");
    expectError(drawing("  0\nLINE\n 62\n70000\n"), "line 24: expected a 16-bit integer for group code 62");
    expectError(drawing("  0\nLINE\n290\n2\n"), "line 24: expected a boolean (0 or 1) for group code 290");
    expectError(drawing("  0\nLINE\n  5\nGG\n"), "line 24: expected a hexadecimal handle for group code 5");
    expectError(drawing("", "  0\nLINE\n"), "line 15: expected 0 BLOCK or 0 ENDSEC in section BLOCKS, found 0 'LINE'");
    expectError(drawing("", "  0\nBLOCK\n  2\nB\n  0\nLINE\n  0\nENDSEC\n"),
                "line 21: expected an entity or 0 ENDBLK in block 'B', found 0 'ENDSEC'");
    expectError(drawing("", "  0\nBLOCK\n 70\n0\n  0\nENDBLK\n"), "line 15: BLOCK without a name (group code 2)");
    expectError("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1002\n  0\nENDSEC\n  0\nEOF\n",
                "line 8: the drawing is DXF version 'AC1002', expected one of R10 (AC1006), R12 (AC1009), R13 (AC1012)");
    expectError("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\nKOI8-R\n"
                "  0\nENDSEC\n  0\nEOF\n",
                "unsupported code page 'KOI8-R'");
    expectError("  0\nSECTION\n  2\nHEADER\n  1\nAC1015\n  0\nENDSEC\n  0\nEOF\n",
                "line 5: expected group code 9 with a variable name in section HEADER");
    expectError(drawing("") + "", "");  // the frame itself reads
    std::string twice = drawing("");
    twice.insert(twice.find("  0\nEOF"), "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n");
    expectError(twice, "line 25: second ENTITIES section");
    std::string tables = drawing("");
    tables.insert(tables.find("  0\nSECTION\n  2\nBLOCKS"),
                  "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  0\nLAYER\n  2\nA\n  0\nENDSEC\n");
    expectError(tables, "line 23: expected a LAYER entry or 0 ENDTAB, found 0 'ENDSEC'");
    expectError(tables.substr(0, tables.find("  0\nENDSEC", tables.find("TABLES"))),
                "line 23: end of file inside table LAYER, expected ENDTAB");
    expectError(drawing("  0\nLINE\n  1\nbad\x01value\n 40\nx\n"), "found 'x'");
    expectError(drawing("  0\nLINE\n  1\nold\rMac\n"), "line 24: a carriage return inside the value of group code 1");
}

TEST(DxfReaderErrors, CountsThatDisagreeWithTheirDataAreRefused) {
    const std::string poly = "  0\nLWPOLYLINE\n 90\n3\n 10\n0\n 20\n0\n 10\n1\n 20\n1\n";
    EXPECT_EQ(errorOf(drawing(poly)),
              "bad.dxf: line 21: LWPOLYLINE declares 3 vertices (group code 90) but holds 2 (group code 10)");
    EXPECT_EQ(errorOf(drawing("  0\nLWPOLYLINE\n 90\n1\n 10\n0\n 20\n0\n")), "");
    const std::string spline = "  0\nSPLINE\n 72\n2\n 73\n1\n 74\n0\n 40\n0\n 40\n1\n 10\n0\n 20\n0\n 11\n0\n 21\n0\n";
    EXPECT_EQ(errorOf(drawing("", "  0\nBLOCK\n  2\nB\n" + spline + "  0\nENDBLK\n")),
              "bad.dxf: line 19: SPLINE declares 0 fit points (group code 74) but holds 1 (group code 11)");
    EXPECT_NE(errorOf(drawing("  0\nLEADER\n 76\n3\n 10\n0\n 20\n0\n")).find("LEADER declares 3 vertices"),
              std::string::npos);
    // Table entry counts are hints; a wrong one is read as it stands.
    std::string tables = drawing("");
    tables.insert(tables.find("  0\nSECTION\n  2\nBLOCKS"),
                  "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n5\n  0\nLAYER\n  2\nA\n  0\nENDTAB\n"
                  "  0\nENDSEC\n");
    EXPECT_EQ(errorOf(tables), "");
}

TEST(DxfReaderErrors, BlockThatContainsItselfIsRefused) {
    auto block = [](const std::string& name, const std::string& inserts) {
        std::string b = "  0\nBLOCK\n  2\n" + name + "\n";
        for (char c : inserts) b += std::string("  0\nINSERT\n  2\n") + c + "\n";
        return b + "  0\nENDBLK\n";
    };
    EXPECT_EQ(errorOf(drawing("", block("A", "A"))), "bad.dxf: line 19: block 'A' contains itself (A -> A)");
    EXPECT_EQ(errorOf(drawing("", block("A", "B") + block("B", "C") + block("C", "a"))),
              "bad.dxf: line 39: block 'A' contains itself (A -> B -> C -> A)");
    // Shared use without a cycle, and references to blocks the file lacks, read.
    EXPECT_EQ(errorOf(drawing(std::string("  0\nINSERT\n  2\nA\n"), block("A", "BC") + block("B", "C") + block("C", "X"))),
              "");
    // A long chain is walked without deep recursion.
    std::string chain;
    for (int i = 0; i < 20000; ++i)
        chain += "  0\nBLOCK\n  2\nB" + std::to_string(i) + "\n  0\nINSERT\n  2\nB" + std::to_string(i + 1) +
                 "\n  0\nENDBLK\n";
    EXPECT_EQ(errorOf(drawing("", chain)), "");
    chain += "  0\nBLOCK\n  2\nB20000\n  0\nINSERT\n  2\nB0\n  0\nENDBLK\n";
    EXPECT_NE(errorOf(drawing("", chain)).find("block 'B0' contains itself"), std::string::npos);
}

TEST(DxfReaderErrors, FileProblemsNameThePath) {
    try {
        readDxfFile("/nonexistent/folder/drawing.dxf");
        FAIL() << "no error";
    } catch (const DxfError& e) {
        EXPECT_STREQ(e.what(), "/nonexistent/folder/drawing.dxf: cannot open: No such file or directory");
    }
    try {
        readDxfFile("/tmp");
        FAIL() << "no error";
    } catch (const DxfError& e) {
        EXPECT_STREQ(e.what(), "/tmp: cannot read: is a folder");
    }
    try {
        readDxfFile("/dev/null");
        FAIL() << "no error";
    } catch (const DxfError& e) {
        EXPECT_STREQ(e.what(), "/dev/null: cannot read: not a regular file");
    }
}

TEST(DxfReaderErrors, ArbitraryBytesNeverCrash) {
    // Deterministic garbling of a good file: flipped bytes, dropped and
    // duplicated lines. Each outcome is a document or a DxfError.
    const std::string good = kTemplateText;
    std::uint32_t seed = 12345;
    auto rnd = [&] { return seed = seed * 1664525u + 1013904223u; };
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bad = good;
        for (int k = 0; k < 1 + round % 4; ++k) {
            const std::size_t at = rnd() % bad.size();
            switch (rnd() % 3) {
                case 0: bad[at] = static_cast<char>(rnd() & 0xFF); break;
                case 1: bad.erase(at, rnd() % 20); break;
                default: bad.insert(at, bad.substr(at, rnd() % 40)); break;
            }
        }
        try {
            readDxf(bad, "garbled.dxf");
        } catch (const DxfError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("garbled.dxf: line ", 0), 0u) << e.what();
            ++refused;
        }
    }
    EXPECT_GT(refused, 200);
}

TEST(DxfReaderErrors, BinaryFaultsNameTheirByteOffset) {
    const std::string good = readBytes(corpusDir() + "/ezdxf-R2000-binary.dxf");
    ASSERT_EQ(errorOf(good), "");
    // Cut anywhere before EOF, a binary file is refused at a byte offset.
    const std::size_t eof = good.rfind(std::string("EOF\0", 4));
    ASSERT_NE(eof, std::string::npos);
    for (std::size_t cut = 22; cut < eof; cut += 97) {
        const std::string msg = errorOf(good.substr(0, cut));
        EXPECT_TRUE(msg.starts_with("bad.dxf: byte ")) << "cut at " << cut << ": " << msg;
    }
    // A group code the format lacks, and a real value that is no number.
    std::string bad = good;
    const std::size_t ents = bad.find("ENTITIES");
    ASSERT_NE(ents, std::string::npos);
    std::string unknown = bad;
    unknown.replace(ents + 9, 2, std::string("\x55\x00", 2));  // group code 85 where the first 0 tag stood
    EXPECT_NE(errorOf(unknown).find("byte " + std::to_string(ents + 9) + ": group code 85 is not a DXF group code"),
              std::string::npos)
        << errorOf(unknown);
    const std::size_t x = bad.find(std::string("\x0a\x00", 2), ents);  // the first 10 tag after ENTITIES
    ASSERT_NE(x, std::string::npos);
    bad.replace(x + 2, 8, std::string("\x00\x00\x00\x00\x00\x00\xF0\x7F", 8));  // +infinity
    EXPECT_NE(errorOf(bad).find(": a real value that is not a finite number for group code 10"), std::string::npos)
        << errorOf(bad);
}

TEST(DxfReaderErrors, BytesNotValidInTheFilesEncodingAreRefusedAtTheirLine) {
    const std::string utf8 = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1032\n  0\nENDSEC\n"
                             "  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  1\nok \xD0\n  0\nENDSEC\n  0\nEOF\n";
    EXPECT_EQ(errorOf(utf8), "bad.dxf: line 18: the value of group code 1 is not valid UTF-8: byte 0xD0 at offset 3 "
                             "of the value");
    std::string cp1252 = utf8;
    cp1252.replace(cp1252.find("AC1032"), 6, "AC1015\n  9\n$DWGCODEPAGE\n  3\nANSI_1252");
    cp1252.replace(cp1252.find("ok \xD0"), 4, "ok \x81");
    EXPECT_EQ(errorOf(cp1252), "bad.dxf: line 22: the value of group code 1 is not valid code page 1252: byte 0x81 at "
                               "offset 3 of the value");
    // In the header itself, found once the header has said what it is.
    std::string header = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1032\n  9\n$PROJECTNAME\n  1\n\xFF\n"
                         "  0\nENDSEC\n  0\nEOF\n";
    EXPECT_NE(errorOf(header).find("line 12: the value of group code 1 is not valid UTF-8"), std::string::npos);
}
