#include "host/db/AcDbMText.h"

#include <cmath>
#include <utility>

#include "host/db/AcDbAttribute.h"
#include "host/db/DrawingStore.h"
#include "host/db/HeaderVariables.h"

using namespace kestrin::db;

namespace {
const Subclass kMText{"AcDbMText", 0, {10, 20, 30, 40, 41, 71, 72, 3, 1, 7, 210, 220, 230, 11, 21, 31, 42, 43, 50, 73, 44}};
constexpr std::size_t kChunk = 250;
}  // namespace

ACRX_DEFINE_MEMBERS(AcDbMText, AcDbEntity)

AcDbMText::AcDbMText() : AcDbEntity("MTEXT") {
    auto& tags = writeRecord().tags;
    tags.push(100, "AcDbMText");
    tags.push(10, "0.0");
    tags.push(20, "0.0");
    tags.push(30, "0.0");
    tags.push(40, "0.0");
    tags.push(41, "0.0");
    tags.push(71, "1");
    tags.push(1, "");
}

char* AcDbMText::contents() const {
    const auto& record = readRecord();
    std::string text;
    bool inside = false;
    int seen = 0;
    for (std::size_t i = 0; i < record.tags.size(); ++i) {
        const auto tag = record.tags[i];
        if (tag.code == 100) {
            inside = tag.value == "AcDbMText" && seen++ == 0;
            continue;
        }
        if (tag.code == 1001) break;
        if (!inside) continue;
        if (tag.code == 3) text += tag.value;
        if (tag.code == 1) {
            text += tag.value;
            break;
        }
    }
    return copyString(text);
}

Acad::ErrorStatus AcDbMText::setContents(const char* text) {
    if (text == nullptr) return Acad::eInvalidInput;
    auto& record = writeRecord();
    std::string_view rest(text);
    removeTags(record, kMText, 3);
    std::vector<std::string_view> chunks;
    while (rest.size() > kChunk) {
        chunks.push_back(rest.substr(0, kChunk));
        rest.remove_prefix(kChunk);
    }
    setTag(record, kMText, 1, rest);
    // The chunks go right before the final group 1 tag.
    std::size_t at = 0;
    for (int sectionCount = 0; at < record.tags.size(); ++at) {
        if (record.tags[at].code == 100 && record.tags[at].value == "AcDbMText") ++sectionCount;
        if (sectionCount > 0 && record.tags[at].code == 1) break;
    }
    for (std::size_t i = 0; i < chunks.size(); ++i) record.tags.insert(at + i, 3, chunks[i]);
    return Acad::eOk;
}

AcGePoint3d AcDbMText::location() const { return pointTag(readRecord(), kMText, 10).value_or(AcGePoint3d::kOrigin); }

Acad::ErrorStatus AcDbMText::setLocation(const AcGePoint3d& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return Acad::eInvalidInput;
    setPointTag(writeRecord(), kMText, 10, p);
    return Acad::eOk;
}

double AcDbMText::textHeight() const { return realTag(readRecord(), kMText, 40, 0); }

Acad::ErrorStatus AcDbMText::setTextHeight(double h) {
    if (!std::isfinite(h) || h <= 0) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kMText, 40, h);
    return Acad::eOk;
}

double AcDbMText::width() const { return realTag(readRecord(), kMText, 41, 0); }

Acad::ErrorStatus AcDbMText::setWidth(double w) {
    if (!std::isfinite(w) || w < 0) return Acad::eInvalidInput;
    setRealTag(writeRecord(), kMText, 41, w);
    return Acad::eOk;
}

void AcDbMText::onAppend(DrawingStore& store) {
    auto& record = writeRecord();
    if (realTag(record, kMText, 40, 0) <= 0) {
        const auto size = readVariable(std::as_const(store).header(), "TEXTSIZE");
        setRealTag(record, kMText, 40, size && size->real > 0 ? size->real : 2.5);
    }
    if (!tagValue(record, kMText, 7)) {
        const auto style = readVariable(std::as_const(store).header(), "TEXTSTYLE");
        setTag(record, kMText, 7, style && !style->text.empty() ? style->text : "Standard");
    }
}
