#include "host/dxf/Handles.h"

#include <gtest/gtest.h>

#include "host/dxf/DxfFile.h"
#include "host/dxf/Template.h"

using namespace kestrin::dxf;

TEST(Handles, ParseAndFormatAreInverse) {
    EXPECT_EQ(parseHandle("1F"), 0x1Fu);
    EXPECT_EQ(parseHandle("ffffffffffffffff"), UINT64_MAX);
    EXPECT_FALSE(parseHandle(""));
    EXPECT_FALSE(parseHandle("1G"));
    EXPECT_FALSE(parseHandle("10000000000000000"));
    EXPECT_FALSE(parseHandle("00000000000000001")) << "more digits than a handle has, though the value fits";
    EXPECT_FALSE(parseHandle("-1"));
    EXPECT_FALSE(parseHandle(" 1F"));
    EXPECT_EQ(formatHandle(0xABCDEFu), "ABCDEF");
    EXPECT_EQ(formatHandle(0), "0");
}

TEST(Handles, MaxHandleCoversEveryPlaceButTheHeader) {
    Document doc = newDrawingTemplate();
    const std::uint64_t base = maxHandle(doc);
    EXPECT_GE(base, 0x22u);  // the template's Model layout
    auto bump = [&](TagList& tags, int code, std::uint64_t h) {
        tags.push(code, formatHandle(h));
        EXPECT_EQ(maxHandle(doc), h);
    };
    bump(doc.tables[0].entries[0].tags, 5, base + 1);
    bump(doc.tables[0].head.tags, 5, base + 2);
    bump(doc.blocks[1].end.tags, 5, base + 3);
    bump(doc.blocks[1].begin.tags, 5, base + 4);
    doc.blocks[0].entities.push_back({"LINE", {}, 0});
    bump(doc.blocks[0].entities[0].tags, 5, base + 5);
    doc.entities.push_back({"TEXT", {}, 0});
    bump(doc.entities[0].tags, 5, base + 6);
    bump(doc.objects[0].tags, 105, base + 7);
    doc.others.push_back({"ACDSDATA", {{"ACDSRECORD", {}, 0}}});
    bump(doc.others[0].records[0].tags, 5, base + 8);
    // Pointers (330, 340...) and the header's $HANDSEED are not handles of records.
    doc.entities[0].tags.push(330, "FFFFFF");
    setHandleSeed(doc, 0xFFFFFFF);
    EXPECT_EQ(maxHandle(doc), base + 8);
}

TEST(Handles, NextHandleAllocatesFromTheSeed) {
    Document doc = newDrawingTemplate();
    const std::uint64_t seed = handleSeed(doc);
    ASSERT_GT(seed, maxHandle(doc));
    EXPECT_EQ(nextHandle(doc), seed);
    EXPECT_EQ(nextHandleText(doc), formatHandle(seed + 1));
    EXPECT_EQ(handleSeed(doc), seed + 2);
    // The seed survives a write and a read.
    EXPECT_EQ(handleSeed(readDxf(writeDxf(doc), "t.dxf")), seed + 2);
}

TEST(Handles, ReaderKeepsTheSeedAsTheFileHasIt) {
    // A seed below a handle in use, a missing one and one that is no handle
    // are the file's: the database keeps new handles clear of them.
    const std::string low =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$HANDSEED\n  5\n10\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  5\n2A\n  0\nENDSEC\n  0\nEOF\n";
    EXPECT_EQ(handleSeed(readDxf(low, "low.dxf")), 0x10u);
    EXPECT_EQ(maxHandle(readDxf(low, "low.dxf")), 0x2Au);
    std::string none = low;
    none.erase(none.find("  9\n$HANDSEED"), std::string("  9\n$HANDSEED\n  5\n10\n").size());
    EXPECT_EQ(handleSeed(readDxf(none, "none.dxf")), 0u);
    std::string real = low;
    real.replace(real.find("  5\n10\n"), 7, " 40\n1.5\n");
    for (const std::string& text : {low, none, real}) EXPECT_EQ(writeDxf(readDxf(text, "t.dxf")), text);
}
