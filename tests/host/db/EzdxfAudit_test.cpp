// An independent reader checks what the database writes: ezdxf's auditor
// must find no error in a new drawing with texts added to both spaces and a
// new text style, and must read the texts back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "base/Cp1251.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbMText.h"
#include "host/db/AcDbText.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/dxf/Template.h"

using namespace kestrin;

namespace {

constexpr const char* kPython = "/usr/bin/python3";

bool haveEzdxf() { return std::system((std::string(kPython) + " -c 'import ezdxf' 2>/dev/null").c_str()) == 0; }

void append(AcDbDatabase& db, const char* space, AcDbEntity* entity) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db.getBlockTable(table), Acad::eOk);
    AcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(table->getAt(space, record, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(record->appendAcDbEntity(entity), Acad::eOk);
    entity->close();
    record->close();
    table->close();
}

TEST(EzdxfAudit, AcceptsWhatTheDatabaseWrites) {
    if (!haveEzdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
    AcDbDatabase db;
    db.fromDocument(dxf::newDrawingTemplate());

    AcDbTextStyleTable* styles = nullptr;
    ASSERT_EQ(db.getTextStyleTable(styles, AcDb::kForWrite), Acad::eOk);
    auto* zor = new AcDbTextStyleTableRecord;
    zor->setName("ZOR");
    zor->setFileName("Zor.shx");
    AcDbObjectId zorId;
    ASSERT_EQ(styles->add(zorId, zor), Acad::eOk);
    zor->close();
    styles->close();

    auto* model = new AcDbText(AcGePoint3d(10, 20, 0), "Строка"_cp);
    model->setTextStyle(zorId);
    model->setHorizontalMode(AcDb::kTextCenter);
    append(db, ACDB_MODEL_SPACE, model);
    append(db, ACDB_PAPER_SPACE, new AcDbText(AcGePoint3d(1, 1, 0), "paper", AcDbObjectId::kNull, 5.0));
    auto* mtext = new AcDbMText;
    mtext->setContents(std::string(600, 'm').c_str());
    append(db, ACDB_MODEL_SPACE, mtext);

    const auto dir = std::filesystem::temp_directory_path() / ("kestrin-audit-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "audit.dxf").string();
    ASSERT_EQ(db.dxfOut(path.c_str()), Acad::eOk) << db.lastError();
    const std::string check =
        std::string(kPython) + " - '" + path + "' <<'EOF'\n"
        "import sys, ezdxf\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "auditor = doc.audit()\n"
        "for e in auditor.errors + auditor.fixes: print('audit:', e.message)\n"
        "texts = sorted(t.dxf.text for t in doc.query('TEXT'))\n"
        "paper = [t.dxf.text for t in doc.layout('Layout1').query('TEXT')] if 'Layout1' in doc.layouts else []\n"
        "ok = not auditor.has_errors and not auditor.has_fixes and texts == ['paper', 'Строка'] and "
        "doc.modelspace().query('MTEXT')[0].text == 'm' * 600 and doc.styles.has_entry('ZOR')\n"
        "print(texts, paper)\n"
        "sys.exit(0 if ok else 1)\n"
        "EOF";
    EXPECT_EQ(std::system(check.c_str()), 0) << "ezdxf refused " << path;
    std::filesystem::remove_all(dir);
}

}  // namespace
