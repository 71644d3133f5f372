// Memory and time of the undo journal while the palette types: a drawing of
// 200,000 texts, then one command in which 10,000 keystrokes each rewrite the
// preview text, and every 40 keystrokes the line is placed and a new preview
// text begins (as the palette does). The journal's size is reported against
// the drawing's own memory, and the time per keystroke against the same
// keystrokes with the journal switched off (UNDOLIMIT 0), in the same run.
// Then the same number of edits of existing texts, each its own command (as
// EKestrin makes them), where the journal keeps each text as it was, up to
// its depth limit.
//
//   undo_bench [TEXTS [KEYSTROKES]]
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbText.h"
#include "host/db/DrawingStore.h"
#include "host/db/UndoJournal.h"
#include "host/dxf/Handles.h"
#include "host/dxf/Template.h"

using namespace kestrin;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLineLength = 40;

double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

double cpuSeconds() {
    rusage ru{};
    ::getrusage(RUSAGE_SELF, &ru);
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return s(ru.ru_utime) + s(ru.ru_stime);
}

std::string handleOfModelSpace(const dxf::Document& doc) {
    for (const dxf::Table& table : doc.tables)
        for (const dxf::Record& r : table.entries) {
            if (r.type != "BLOCK_RECORD") continue;
            std::string name, handle;
            for (const auto& tag : r.tags) {
                if (tag.code == 2) name = std::string(tag.value);
                if (tag.code == 5) handle = std::string(tag.value);
            }
            if (name == "*Model_Space") return handle;
        }
    return "1F";
}

std::unique_ptr<AcDbDatabase> drawing(long count) {
    dxf::Document doc = dxf::newDrawingTemplate();
    const std::string owner = handleOfModelSpace(doc);
    char x[32], y[32], text[48];
    for (long i = 0; i < count; ++i) {
        std::snprintf(x, sizeof x, "%.4f", static_cast<double>(i % 1000) * 10.0);
        std::snprintf(y, sizeof y, "%.4f", static_cast<double>(i / 1000) * 5.0);
        std::snprintf(text, sizeof text, "Text number %ld", i);
        dxf::Record r{"TEXT", {}, 0};
        for (auto [code, value] : {std::pair<int, const char*>{5, nullptr}, {330, owner.c_str()}, {100, "AcDbEntity"},
                                   {8, "0"}, {100, "AcDbText"}, {10, x}, {20, y}, {30, "0.0"}, {40, "2.5"},
                                   {1, text}, {100, "AcDbText"}})
            r.tags.push(code, value ? std::string(value) : dxf::formatHandle(0x1000 + static_cast<std::uint64_t>(i)));
        doc.entities.push_back(std::move(r));
    }
    auto db = std::make_unique<AcDbDatabase>();
    db->fromDocument(std::move(doc));
    return db;
}

AcDbObjectId appendText(AcDbDatabase& db, double y) {
    AcDbBlockTable* table = nullptr;
    db.getBlockTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* space = nullptr;
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    AcDbObjectId id;
    auto* text = new AcDbText(AcGePoint3d(0, y, 0), "");
    space->appendAcDbEntity(id, text);
    text->close();
    space->close();
    table->close();
    return id;
}

// The palette's keystrokes: the preview text takes the line typed so far.
double type(AcDbDatabase& db, long keystrokes) {
    const double started = cpuSeconds();
    std::string line;
    AcDbObjectId preview = appendText(db, -10);
    for (long k = 0; k < keystrokes; ++k) {
        line.push_back(static_cast<char>('a' + k % 26));
        AcDbText* text = nullptr;
        if (acdbOpenObject(text, preview, AcDb::kForWrite) != Acad::eOk) std::abort();
        text->setTextString(line.c_str());
        text->close();
        if (line.size() == kLineLength) {
            line.clear();
            preview = appendText(db, -10 - 5.0 * static_cast<double>(k / kLineLength + 1));
        }
    }
    return cpuSeconds() - started;
}

// Edits of existing texts, one command each.
void edit(AcDbDatabase& db, long edits, long texts) {
    for (long k = 0; k < edits; ++k) {
        AcDbObjectId id;
        db.getAcDbObjectId(id, false, AcDbHandle(0x1000 + static_cast<std::uint64_t>((k * 7919) % texts)));
        AcDbText* text = nullptr;
        if (acdbOpenObject(text, id, AcDb::kForWrite) != Acad::eOk) std::abort();
        text->setTextString(("Edited " + std::to_string(k)).c_str());
        text->close();
        db.store().journal().close("EKESTRIN");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const long texts = argc > 1 ? std::atol(argv[1]) : 200000;
    const long keystrokes = argc > 2 ? std::atol(argv[2]) : 10000;

    const double bare = residentMb();
    auto db = drawing(texts);
    const double drawingMb = residentMb() - bare;
    db::UndoJournal& journal = db->store().journal();

    const double recorded = type(*db, keystrokes);
    journal.close("CKESTRIN");
    const double journalMb = static_cast<double>(journal.bytes()) / 1e6;
    const double afterMb = residentMb() - bare;

    journal.setLimit(0);
    const double unrecorded = type(*db, keystrokes);

    std::printf("drawing: %ld texts, %.1f MB resident\n", texts, drawingMb);
    std::printf("one command of %ld keystrokes (%ld lines placed)\n", keystrokes, keystrokes / kLineLength);
    std::printf("undo journal: %.3f MB = %.5f of the drawing's memory; drawing and journal %.1f MB resident\n",
                journalMb, journalMb / drawingMb, afterMb);
    std::printf("keystroke: %.2f us CPU recorded, %.2f us without the journal, ratio %.2f\n",
                recorded / static_cast<double>(keystrokes) * 1e6, unrecorded / static_cast<double>(keystrokes) * 1e6,
                recorded / unrecorded);

    journal.setLimit(db::UndoJournal::kDefaultLimit);
    edit(*db, keystrokes, texts);
    const double editsMb = static_cast<double>(journal.bytes()) / 1e6;
    std::printf("%ld edits of existing texts, one command each: journal %.3f MB = %.5f of the drawing's memory "
                "(%zu steps kept, the default limit)\n",
                keystrokes, editsMb, editsMb / drawingMb, journal.undoable());
    return 0;
}
