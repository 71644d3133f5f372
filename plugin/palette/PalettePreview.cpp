#include "plugin/palette/PalettePreview.h"

#include <cstdlib>

#include "host/api/Arx.h"
#include "plugin/frame/ObjectAccess.h"
#include "plugin/frame/SystemVariables.h"
#include "plugin/frame/TextPlacement.h"
#include "plugin/frame/TextStyles.h"
#include "plugin/palette/PaletteNumbers.h"

namespace {

// Writes the record's properties into the preview text.
void writeRecordInto(AcDbText* text, const TextProperties& r) {
    text->setTextString(r.text.c_str());
    text->setHeight(r.height);
    text->setRotation(r.rotation);
    text->setTextStyle(r.styleId);
    text->setWidthFactor(r.widthFactor);
    text->setOblique(r.oblique);
    text->setHorizontalMode(static_cast<AcDb::TextHorzMode>(r.horizontalMode));
    text->setAlignmentPoint(r.insertionPoint);
    text->setPosition(r.insertionPoint);
}

}  // namespace

void PalettePreview::show(PaletteFields& f) {
    if (r_.offsetX != 0) f.offsetX = formatWhole(r_.offsetX);
    if (r_.offsetY != 0) f.offsetY = formatWhole(r_.offsetY);
    f.rotation = formatDegrees(r_.rotation);

    r_.styleId = findTextStyle(r_.styleName);
    if (r_.styleId.isNull()) {
        getStringVar("TEXTSTYLE", r_.styleName);
        r_.styleId = findTextStyle(r_.styleName);
    }
    f.style = r_.styleName;

    if (r_.height == 0) {
        double textSize = 0;
        getRealVar("TEXTSIZE", textSize);
        f.height = formatDistance(textSize);
    } else {
        f.height = formatDistance(r_.height);
    }

    if (r_.oblique == 0) getStyleObliquingAngle(r_.styleId, r_.oblique);
    f.oblique = formatDistance(r_.oblique * kRadiansToDegrees);

    if (r_.widthFactor == 0) {
        getStyleXScale(r_.styleId, r_.widthFactor);
    } else {
        r_.picked = 0;
    }
    f.width = formatDistance(r_.widthFactor);
    f.text = r_.text;
}

bool PalettePreview::apply(const PaletteFields& f) {
    r_.text = f.text;
    if (AcDbObject* object = openForWrite<AcDbObject>(r_.entity)) {
        AcDbText* text = AcDbText::cast(object);
        if (text == nullptr) {
            closeOrAbort(object);
            return false;
        }
        writeRecordInto(text, r_);
        closeOrAbort(text);
    }

    if (!f.style.empty()) r_.styleName = f.style;
    else getTextStyleName(r_.styleId, r_.styleName);
    setStringVar("TEXTSTYLE", r_.styleName);
    setRealVar("TEXTSIZE", r_.height);
    setStyleObliquingAngle(r_.oblique, r_.styleId);
    setStyleXScale(r_.widthFactor, r_.styleId);
    flushDrawingGraphics();

    // Whole numbers, as atoi reads them, but without its overflow; a step
    // beyond the bounds was refused as typed and the record keeps its own.
    const double offsetX = parseWhole(f.offsetX);
    const double offsetY = parseWhole(f.offsetY);
    if (isOffset(offsetX)) r_.offsetX = offsetX;
    if (isOffset(offsetY)) r_.offsetY = offsetY;
    return true;
}

void PalettePreview::eraseIfEmpty(const std::string& fieldText, const ads_name entity) {
    if (fieldText.empty()) {
        if (AcDbObject* object = openForWrite<AcDbObject>(entity)) {
            if (AcDbText::cast(object) != nullptr) object->erase();
            closeOrAbort(object);
        }
    }
    r_.text.clear();
}

bool PalettePreview::eraseText() {
    AcDbObject* object = openForWrite<AcDbObject>(r_.entity);
    if (object == nullptr) return false;
    const bool isText = AcDbText::cast(object) != nullptr;
    if (isText) object->erase();
    closeOrAbort(object);
    return isText;
}

bool PalettePreview::moveText(const AcGePoint3d& from, const AcGePoint3d& to) {
    AcDbObject* object = openForWrite<AcDbObject>(r_.entity);
    if (object == nullptr) return false;
    bool moved = false;
    if (AcDbText* text = AcDbText::cast(object)) {
        const auto shifted = [&](const AcGePoint3d& p) {
            return AcGePoint3d(p.x + (to.x - from.x), p.y + (to.y - from.y), p.z + (to.z - from.z));
        };
        const AcGePoint3d position = text->position();
        const AcGePoint3d alignment = text->alignmentPoint();
        // A left, base-line text has no alignment point of its own unless
        // it differs from the position; none is added.
        const bool ownAlignment = text->horizontalMode() != AcDb::kTextLeft ||
                                  text->verticalMode() != AcDb::kTextBase || !(alignment == position);
        moved = text->setPosition(shifted(position)) == Acad::eOk;
        if (moved && ownAlignment && text->setAlignmentPoint(shifted(alignment)) != Acad::eOk) {
            text->setPosition(position);  // both or neither
            moved = false;
        }
    }
    closeOrAbort(object);
    return moved;
}

void PalettePreview::chooseStyle(const std::string& name) {
    r_.styleName = name;
    r_.styleId = findTextStyle(name);
}

const std::string& PalettePreview::refreshStyleName() {
    getTextStyleName(r_.styleId, r_.styleName);
    return r_.styleName;
}

void PalettePreview::setSlantDegrees(double degrees) {
    r_.oblique = degrees * kDegreesToRadians;
    setStyleObliquingAngle(r_.oblique, r_.styleId);
}

void PalettePreview::setWidthOfStyle(double widthFactor, const std::string& styleName) {
    r_.widthFactor = widthFactor;
    r_.styleId = findTextStyle(styleName);
    setStyleXScale(r_.widthFactor, r_.styleId);
}

std::vector<std::string> PalettePreview::styleNames() {
    std::vector<std::string> names;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbTextStyleTable* table = nullptr;
    if (db == nullptr || db->getTextStyleTable(table, AcDb::kForRead) != Acad::eOk) return names;
    AcDbTextStyleTableIterator* it = nullptr;
    if (table->newIterator(it) == Acad::eOk) {
        for (it->start(); !it->done(); it->step()) {
            AcDbTextStyleTableRecord* record = nullptr;
            if (it->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
            const char* name = nullptr;
            if (record->getName(name) == Acad::eOk && name != nullptr && *name != '\0') names.emplace_back(name);
            closeOrAbort(record);
        }
        delete it;
    }
    closeOrAbort(table);
    return names;
}
