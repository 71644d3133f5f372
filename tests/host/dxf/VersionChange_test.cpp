// Drawings written in another version: every drawing of the corpus goes to
// R12, R2000 and R2018, reads back with its texts, and audits clean in ezdxf;
// what an older version lacks is dropped and counted.
#include "host/dxf/VersionChange.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/Cp1251.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/Handles.h"
#include "tests/host/dxf/TestDrawings.h"

using namespace kestrin::dxf;
using namespace kestrin::dxf::testing;

namespace {

// What a string says: its characters, escapes resolved (in any letter case).
std::u32string meaning(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i, 3) == "\\U+" && i + 7 <= text.size()) {
            out.push_back(static_cast<char32_t>(std::stoul(std::string(text.substr(i + 3, 4)), nullptr, 16)));
            i += 7;
        } else {
            out.push_back(kestrin::codePointFromCp1251(static_cast<unsigned char>(text[i++])));
        }
    }
    return out;
}

std::multiset<std::u32string> textsOf(const Document& doc) {
    std::multiset<std::u32string> out;
    for (const Record& r : doc.entities)
        if (r.type == "TEXT") out.insert(meaning(r.tags[r.tags.find(1)].value));
    return out;
}

template <class F>
void forEachRecord(const Document& doc, F&& f) {
    for (const Table& t : doc.tables) {
        f(t.head);
        for (const Record& r : t.entries) f(r);
    }
    for (const Block& b : doc.blocks) {
        f(b.begin);
        for (const Record& r : b.entities) f(r);
        f(b.end);
    }
    for (const Record& r : doc.entities) f(r);
    for (const Record& r : doc.objects) f(r);
}

Document corpusDrawing(const std::string& name) { return readDxfFile(corpusDir() + "/" + name); }

}  // namespace

TEST(VersionChange, EveryCorpusDrawingGoesToR12R2000AndR2018) {
    const std::string out =
        (std::filesystem::path(KESTRIN_BINARY_DIR) / ("version-change-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(out);
    std::string paths;
    for (const std::string& path : dxfFilesIn(corpusDir())) {
        for (const char* target : {"R12", "R2000", "R2018"}) {
            SCOPED_TRACE(path + " as " + target);
            Document doc = readDxfFile(path);
            const auto texts = textsOf(doc);
            changeVersion(doc, *versionByName(target));
            const std::string file = out + "/" + std::filesystem::path(path).stem().string() + "-" + target + ".dxf";
            saveDxfFile(doc, file);
            const Document back = readDxfFile(file);
            EXPECT_EQ(back.format.version, versionByName(target)->acadver);
            EXPECT_EQ(back.format.form, doc.format.form);
            EXPECT_TRUE(textsOf(back) == texts) << "the texts changed";
            paths += " '" + file + "'";
        }
    }
    const std::string cmd = kPython + " " + kScripts + "audit.py" + paths;
    EXPECT_EQ(std::system(cmd.c_str()), 0) << "ezdxf's audit found errors (printed above)";
    std::filesystem::remove_all(out);
}

TEST(VersionChange, R12KeepsWhatItHasAndSaysWhatIsDropped) {
    Document doc = corpusDrawing("ezdxf-R2018-default.dxf");
    const VersionChange change = changeVersion(doc, r12());
    EXPECT_EQ(change.dropped.at("MTEXT"), 1u);
    EXPECT_GT(change.dropped.at("header variables"), 0u);
    EXPECT_GT(change.dropped.at("objects"), 0u);
    EXPECT_FALSE(change.dropped.contains("LWPOLYLINE"));  // made a POLYLINE instead
    EXPECT_TRUE(doc.classes.empty());
    EXPECT_TRUE(doc.objects.empty());
    std::vector<std::string> types;
    for (const Record& r : doc.entities) types.push_back(r.type);
    const auto poly = std::find(types.begin(), types.end(), "POLYLINE");
    ASSERT_NE(poly, types.end());
    EXPECT_EQ(std::vector<std::string>(poly, poly + 5),
              (std::vector<std::string>{"POLYLINE", "VERTEX", "VERTEX", "VERTEX", "SEQEND"}));
    forEachRecord(doc, [](const Record& r) {
        EXPECT_NE(r.type, "BLOCK_RECORD");
        for (const TagView t : r.tags) {
            if (t.code == 1001) break;
            EXPECT_TRUE(t.code != 100 && t.code != 330 && t.code != 102) << r.type << " keeps group code " << t.code;
        }
    });
    EXPECT_EQ(doc.header[headerValueIndex(doc.header, "$DWGCODEPAGE")].value, "ANSI_1251");
    EXPECT_TRUE(changeVersion(doc, r12()).dropped.empty());  // already R12
}

TEST(VersionChange, UpFromR12EveryRecordHasAHandleAndAnOwnerThatExists) {
    for (const char* name : {"hand-R12-nohandles.dxf", "ezdxf-R12-ANSI_1251.dxf"}) {
        SCOPED_TRACE(name);
        Document doc = corpusDrawing(name);
        std::set<std::string> before;
        forEachRecord(doc, [&](const Record& r) {
            const std::size_t h = r.tags.find(r.type == "DIMSTYLE" ? 105 : 5);
            if (h != TagList::npos) before.emplace(r.tags[h].value);
        });
        changeVersion(doc, r2000());
        std::set<std::string> handles;
        forEachRecord(doc, [&](const Record& r) {
            const std::size_t h = r.tags.find(r.type == "DIMSTYLE" ? 105 : 5);
            ASSERT_NE(h, TagList::npos) << r.type;
            EXPECT_TRUE(handles.emplace(r.tags[h].value).second) << "handle " << r.tags[h].value << " twice";
        });
        for (const std::string& h : before) EXPECT_TRUE(handles.contains(h)) << "the drawing's handle " << h << " is gone";
        EXPECT_GT(handleSeed(doc), maxHandle(doc));
        forEachRecord(doc, [&](const Record& r) {
            const std::size_t owner = r.tags.find(330);
            if (owner == TagList::npos) return;
            const std::string_view o = r.tags[owner].value;
            EXPECT_TRUE(o == "0" || handles.contains(std::string(o))) << r.type << " owned by missing " << o;
        });
    }
}
