// Drawings of every version, code page and form come back from the file
// layer byte for byte.
#include <gtest/gtest.h>

#include "host/dxf/DxfFile.h"
#include "host/dxf/Versions.h"
#include "tests/host/dxf/TestDrawings.h"

using namespace kestrin::dxf;
using namespace kestrin::dxf::testing;

TEST(DxfCorpus, EveryDrawingReadsAndWritesBackByteForByte) {
    const auto files = dxfFilesIn(corpusDir());
    ASSERT_GE(files.size(), 25u);
    std::set<std::string> versions;
    int binary = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const std::string bytes = readBytes(path);
        Document doc;
        try {
            doc = readDxfFile(path);
        } catch (const DxfError& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        versions.insert(doc.format.version);
        binary += doc.format.form == DxfForm::Binary;
        EXPECT_FALSE(doc.entities.empty());
        EXPECT_EQ(firstDifference(writeDxf(doc), bytes), "");
    }
    EXPECT_EQ(versions.size(), knownVersions().size());
    EXPECT_EQ(binary, 3);
}
