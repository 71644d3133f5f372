// Saving replaces the file whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/dxf/DxfFile.h"
#include "host/dxf/Template.h"
#include "tests/host/dxf/TestDrawings.h"

using namespace kestrin::dxf;
using namespace kestrin::dxf::testing;
namespace fs = std::filesystem;

namespace {

class DxfSave : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(KESTRIN_BINARY_DIR) / ("dxf-save-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The DxfError message of saving `doc` to `path`, or "" when it saved.
    static std::string saveError(const Document& doc, const std::string& path) {
        try {
            saveDxfFile(doc, path);
        } catch (const DxfError& e) {
            return e.what();
        }
        return "";
    }

    fs::path dir_;
};

}  // namespace

TEST_F(DxfSave, ReplacesTheFileAndKeepsItsMode) {
    const std::string path = (dir_ / "drawing.dxf").string();
    writeBytes(path, "old contents");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const Document doc = newDrawingTemplate();
    saveDxfFile(doc, path);
    EXPECT_EQ(firstDifference(readBytes(path), writeDxf(doc)), "");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(), std::vector<std::string>{"drawing.dxf"});
}

TEST_F(DxfSave, FailureLeavesTheOldFileAndNoTemporaryFile) {
    const std::string path = (dir_ / "drawing.dxf").string();
    const std::string old = "  0\nEOF\nthe old drawing, byte for byte\r\n";
    writeBytes(path, old);
    const Document doc = newDrawingTemplate();

    // A folder that does not exist.
    const std::string missing = (dir_ / "no-such-folder" / "drawing.dxf").string();
    std::string msg = saveError(doc, missing);
    EXPECT_NE(msg.find("cannot save " + missing), std::string::npos) << msg;
    EXPECT_NE(msg.find("No such file or directory"), std::string::npos) << msg;

    // A parent that is a regular file (root cannot write below it either).
    const std::string underFile = path + "/drawing.dxf";
    msg = saveError(doc, underFile);
    EXPECT_NE(msg.find("cannot save " + underFile), std::string::npos) << msg;
    EXPECT_NE(msg.find("Not a directory"), std::string::npos) << msg;

    // A folder nobody may create files in, root included.
    msg = saveError(doc, "/proc/kestrin-drawing.dxf");
    EXPECT_NE(msg.find("cannot save /proc/kestrin-drawing.dxf: cannot create a temporary file in /proc"),
              std::string::npos) << msg;

    // A target that is a folder is refused before anything is written.
    fs::create_directories(dir_ / "folder.dxf");
    writeBytes((dir_ / "folder.dxf" / "inside").string(), "x");
    msg = saveError(doc, (dir_ / "folder.dxf").string());
    EXPECT_NE(msg.find("cannot save " + (dir_ / "folder.dxf").string() + ": cannot replace"), std::string::npos) << msg;
    EXPECT_NE(msg.find("it is a folder"), std::string::npos) << msg;
    EXPECT_EQ(readBytes((dir_ / "folder.dxf" / "inside").string()), "x");

    // A document that cannot be written: a value with a line break.
    Document broken = doc;
    Record text{"TEXT", {}, 0};
    text.tags.push(1, "two\nlines");
    broken.entities.push_back(text);
    msg = saveError(broken, path);
    EXPECT_EQ(msg, "cannot write TEXT: the value of group code 1 holds a line break, which would break the file");
    // Values and codes the reader would refuse are not written either.
    broken = doc;
    text.tags.set(0, "one line");
    text.tags.push(40, "2,5");
    broken.entities.push_back(text);
    EXPECT_EQ(saveError(broken, path), "cannot write TEXT: group code 40 needs a real value, the value is '2,5'");
    broken = doc;
    Record odd{"TEXT", {}, 0};
    odd.tags.push(85, "1");
    broken.entities.push_back(odd);
    EXPECT_EQ(saveError(broken, path), "cannot write TEXT: group code 85 is not a DXF group code");

    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(entries(), (std::vector<std::string>{"drawing.dxf", "folder.dxf"}));
}

TEST_F(DxfSave, WritesSectionsInTheOrderRead) {
    const std::string text =
        "999\nmade by hand\n"
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$HANDSEED\n  5\n100\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  5\n20\n  8\n0\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nTHUMBNAILIMAGE\n  0\nDATA\n 90\n4\n310\nDEADBEEF\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
        "  0\nEOF\n";
    const Document doc = readDxf(text, "hand.dxf");
    EXPECT_EQ(doc.order, (std::vector<std::string>{"HEADER", "ENTITIES", "THUMBNAILIMAGE", "BLOCKS"}));
    EXPECT_EQ(firstDifference(writeDxf(doc), text), "");

    // Sections that hold data but are missing from the order are not dropped:
    // each goes before the standard sections that follow it.
    Document hand;
    hand.header.push(9, "$ACADVER");
    hand.header.push(1, "AC1015");
    hand.entities.push_back({"POINT", {}, 0});
    hand.order = {"ENTITIES", "ENTITIES"};
    const Document back = readDxf(writeDxf(hand), "hand2.dxf");
    EXPECT_EQ(back.order, (std::vector<std::string>{"HEADER", "ENTITIES"}));
    EXPECT_EQ(back.entities.size(), 1u);
}
