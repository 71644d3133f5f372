// Drawings made by another program read, write back and audit clean.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Cp1251.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/Handles.h"
#include "host/dxf/Template.h"
#include "tests/host/dxf/TestDrawings.h"

using namespace kestrin;
using namespace kestrin::dxf;
using namespace kestrin::dxf::testing;

namespace {

std::string outPath(const std::string& name) {
    const auto dir = std::filesystem::path(KESTRIN_BINARY_DIR) / "dxf-out";
    std::filesystem::create_directories(dir);
    return (dir / (std::to_string(::getpid()) + "-" + name)).string();
}

// Every TEXT string of a document, in order.
std::vector<std::string> textStrings(const Document& doc) {
    std::vector<std::string> out;
    for (const Record& r : doc.entities)
        if (r.type == "TEXT") out.emplace_back(r.tags[r.tags.find(1)].value);
    return out;
}

}  // namespace

TEST(DxfRoundTrip, EzdxfDrawingKeepsEveryTagAndAuditsClean) {
    const std::string in = drawingsDir() + "/content.dxf";
    const std::string original = readBytes(in);
    const Document doc = readDxfFile(in);

    // Content the reader must have placed where the database will look.
    EXPECT_EQ(doc.order, (std::vector<std::string>{"HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"}));
    bool unknown = false, mtextChunks = false, xdata = false;
    for (const Record& r : doc.entities) {
        unknown = unknown || r.type == "KESTRIN_WIDGET";
        mtextChunks = mtextChunks || (r.type == "MTEXT" && r.tags.find(3) != TagList::npos);
        xdata = xdata || r.tags.find(1001) != TagList::npos;
    }
    EXPECT_TRUE(unknown);
    EXPECT_TRUE(mtextChunks);
    EXPECT_TRUE(xdata);
    const auto texts = textStrings(doc);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], std::string("Привет, Мир: ёЁ №5 %%c10 %%d %%p0.1 %%u%%o"_cp));
    EXPECT_EQ(texts[1], "\\U+2713 already escaped");

    // Written back byte for byte, though the unknown entity's handle FFF0
    // lies above the file's $HANDSEED (the database, not the file layer,
    // keeps new handles clear of it).
    EXPECT_LT(handleSeed(doc), 0xFFF0u);
    const std::string written = writeDxf(doc);
    EXPECT_EQ(firstDifference(written, original), "");

    const std::string out = outPath("content.dxf");
    saveDxfFile(doc, out);
    EXPECT_EQ(firstDifference(readBytes(out), written), "");
    const auto [clean, report] = ezdxfAudit(out);
    EXPECT_TRUE(clean) << report;

    // A second round changes nothing at all.
    EXPECT_EQ(firstDifference(writeDxf(readDxf(written, "written")), written), "");
}

TEST(DxfRoundTrip, CrlfFileReadsLikeLfFileAndKeepsItsLineEnds) {
    const std::string lf = readBytes(drawingsDir() + "/content.dxf");
    std::string crlf;
    for (char c : lf) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    const Document a = readDxf(lf, "lf.dxf");
    const Document b = readDxf(crlf, "crlf.dxf");
    EXPECT_EQ(firstDifference(writeDxf(b), crlf), "");
    EXPECT_EQ(firstDifference(writeDxf(a), lf), "");
    ASSERT_EQ(a.entities.size(), b.entities.size());
    for (std::size_t i = 0; i < a.entities.size(); ++i) EXPECT_EQ(a.entities[i].tags, b.entities[i].tags);
    EXPECT_EQ(b.entities.back().line, a.entities.back().line);
}

TEST(DxfCodePage, Ansi1252DrawingOpensInCp1251WithEscapesAndSavesInItsOwnCodePage) {
    const std::string original = readBytes(drawingsDir() + "/cp1252.dxf");
    const Document doc = readDxfFile(drawingsDir() + "/cp1252.dxf");
    EXPECT_EQ(doc.header[headerValueIndex(doc.header, "$DWGCODEPAGE")].value, "ANSI_1252");
    const auto texts = textStrings(doc);
    ASSERT_EQ(texts.size(), 1u);
    // é Ñ ú ß are not in CP1251; € ± § are.
    EXPECT_EQ(texts[0], "Caf\\U+00E9 \\U+00D1and\\U+00FA stra\\U+00DFe \x88"
                        "5 \xB1"
                        "0,5 \xA7"
                        "2");

    const std::string written = writeDxf(doc);
    EXPECT_EQ(firstDifference(written, original), "");
    const Document again = readDxf(written, "again");
    EXPECT_EQ(textStrings(again), texts);

    const std::string out = outPath("cp1252.dxf");
    saveDxfFile(doc, out);
    const auto [clean, report] = ezdxfAudit(out);
    EXPECT_TRUE(clean) << report;
    // ezdxf's recover loader reads the escapes back as the original characters.
    const std::string cmd = kPython + " -c \"import sys; from ezdxf import recover; d,a=recover.readfile(sys.argv[1]); "
                                      "t=d.modelspace().query('TEXT')[0].dxf.text; "
                                      "sys.exit(0 if t=='Café Ñandú straße €5 ±0,5 §2' else 1)\" '" + out + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

TEST(DxfCodePage, Cp1251BytesAndEscapesPassUnchanged) {
    Document doc = newDrawingTemplate();
    Record text{"TEXT", {}, 0};
    text.tags.push(1, std::string("Текст \\U+00E9 и всё"_cp) + "\x98");
    doc.entities.push_back(text);
    const Document back = readDxf(writeDxf(doc), "t.dxf");
    ASSERT_EQ(back.entities.size(), 1u);
    EXPECT_EQ(back.entities[0].tags, text.tags);
}

TEST(DxfTemplate, NewDrawingIsMetricR2000AndAuditsClean) {
    Document doc = newDrawingTemplate();
    auto var = [&](const char* name) {
        const std::size_t i = headerValueIndex(doc.header, name);
        return i == TagList::npos ? std::string("<missing>") : std::string(doc.header[i].value);
    };
    EXPECT_EQ(var("$ACADVER"), "AC1015");
    EXPECT_EQ(var("$DWGCODEPAGE"), "ANSI_1251");
    EXPECT_EQ(var("$INSUNITS"), "4");
    EXPECT_EQ(var("$MEASUREMENT"), "1");
    EXPECT_EQ(var("$TEXTSIZE"), "2.5");
    EXPECT_EQ(var("$TEXTSTYLE"), "Standard");
    EXPECT_EQ(var("$TILEMODE"), "1");
    EXPECT_EQ(var("$ORTHOMODE"), "0");
    EXPECT_EQ(var("$LUNITS"), "2");
    EXPECT_EQ(var("$LUPREC"), "4");
    EXPECT_EQ(var("$DIMZIN"), "8");
    EXPECT_EQ(var("$CLAYER"), "0");
    EXPECT_NE(var("$OSMODE"), "<missing>");
    EXPECT_GT(handleSeed(doc), maxHandle(doc));
    ASSERT_EQ(doc.blocks.size(), 2u);
    EXPECT_EQ(doc.blocks[0].begin.tags[doc.blocks[0].begin.tags.find(2)].value, "*Model_Space");
    EXPECT_EQ(doc.blocks[1].begin.tags[doc.blocks[1].begin.tags.find(2)].value, "*Paper_Space");
    EXPECT_TRUE(doc.entities.empty());
    ASSERT_FALSE(doc.objects.empty());
    EXPECT_EQ(doc.objects[0].type, "DICTIONARY");

    const std::string out = outPath("template.dxf");
    saveDxfFile(doc, out);
    const auto [clean, report] = ezdxfAudit(out);
    EXPECT_TRUE(clean) << report;

    // With a text added under a new handle, it still audits clean and ezdxf
    // reads the Cyrillic string back.
    const std::string handle = nextHandleText(doc);
    Record text{"TEXT", {}, 0};
    for (const auto& [code, value] : std::vector<std::pair<int, std::string>>{
             {5, handle}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbText"}, {10, "1.0"}, {20, "2.0"},
             {30, "0.0"}, {40, "2.5"}, {1, "Строка"_cp}, {100, "AcDbText"}})
        text.tags.push(code, value);
    doc.entities.push_back(text);
    saveDxfFile(doc, out);
    const auto [clean2, report2] = ezdxfAudit(out);
    EXPECT_TRUE(clean2) << report2;
    const std::string cmd = kPython + " -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); "
                                      "t=d.entitydb[sys.argv[2]].dxf.text; sys.exit(0 if t=='Строка' else 1)\" '" +
                            out + "' " + handle;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

TEST(DxfMemory, RoomTakenAheadForRecordsIsGivenBackWhenTheRestIsOtherData) {
    // Many small entities, then an OBJECTS section far larger than them: the
    // reader's estimate of entities to come overshoots and must be returned.
    std::string text = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n"
                       "  0\nSECTION\n  2\nENTITIES\n";
    for (int i = 0; i < 6000; ++i) text += "  0\nPOINT\n  8\n0\n";
    text += "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n  0\nXRECORD\n";
    for (int i = 0; i < 50000; ++i) text += "  1\nsome long stored text of an object\n";
    text += "  0\nENDSEC\n  0\nEOF\n";
    const Document doc = readDxf(text, "objects.dxf");
    ASSERT_EQ(doc.entities.size(), 6000u);
    EXPECT_LE(doc.entities.capacity(), 6000u + 6000u / 4 + 4096u);
    EXPECT_EQ(doc.objects.at(0).tags.size(), 50000u);
    EXPECT_EQ(firstDifference(writeDxf(doc), text), "");
}
