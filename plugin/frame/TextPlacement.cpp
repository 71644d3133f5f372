#include "plugin/frame/TextPlacement.h"

#include <cstdlib>

#include "base/Cp1251.h"
#include "host/ui/HostWindow.h"
#include "plugin/frame/ObjectAccess.h"
#include "plugin/frame/SystemVariables.h"
#include "plugin/frame/TextStyles.h"
#include "plugin/palette/PaletteNumbers.h"
#include "plugin/palette/TextPaletteDlg.h"
#include "plugin/palette/TextProperties.h"

using namespace kestrin::literals;

int pickUntilDone(const std::function<int()>& pick) {
    int answer = kPickAgain;
    do answer = pick();
    while (answer != kPickDone && answer != kPickCancelled);
    return answer;
}

void placeTextCommand() {
    TextProperties& record = g_textProperties;
    ads_point point = {0, 0, 0};
    const int answer = acedGetPoint(nullptr, "\nВыберите точку вставки или /<ENTER>-редактирование текста: "_cp, point);
    if (answer == RTNORM) {
        record.insertionPoint = AcGePoint3d(point[X], point[Y], point[Z]);
        record.picked = 0;  // a new line, not a text of the drawing
        createTextEntity("");
    } else if (answer == RTNONE) {
        if (pickUntilDone(pickExistingText) != kPickDone) return;
    } else {
        return;
    }
    CTextPaletteDlg palette(CWnd::FromHandle(adsw_acadMainWnd()));
    palette.DoModal();
}

void createTextEntity(const std::string& text) {
    TextProperties& record = g_textProperties;
    auto* entity = new AcDbText(record.insertionPoint, text.c_str(), AcDbObjectId::kNull, record.height,
                                record.rotation);
    entity->setWidthFactor(record.widthFactor);
    entity->setOblique(record.oblique);
    entity->setHorizontalMode(static_cast<AcDb::TextHorzMode>(record.horizontalMode));
    entity->setAlignmentPoint(record.insertionPoint);
    AcDbObjectId id;
    if (appendToCurrentSpace(entity, id) != Acad::eOk) {
        // Not in the drawing: nobody else owns it.
        delete entity;
        record.entity[0] = record.entity[1] = 0;
        return;
    }
    acdbGetAdsName(record.entity, id);
}

Acad::ErrorStatus appendToCurrentSpace(AcDbEntity* entity, AcDbObjectId& id) {
    int tileMode = 1;
    getShortVar("TILEMODE", tileMode);
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    if (database == nullptr) return Acad::eNoDatabase;
    const char* space = tileMode == 0 ? ACDB_PAPER_SPACE : ACDB_MODEL_SPACE;

    AcDbBlockTable* table = nullptr;
    Acad::ErrorStatus es = database->getBlockTable(table, AcDb::kForRead);
    if (es != Acad::eOk) return es;
    AcDbBlockTableRecord* block = nullptr;
    es = table->getAt(space, block, AcDb::kForWrite);
    if (es != Acad::eOk) {
        closeOrAbort(table);
        return es;
    }
    es = block->appendAcDbEntity(id, entity);
    if (es == Acad::eOk) closeOrAbort(entity);
    closeOrAbort(block);
    closeOrAbort(table);
    return es;
}

void flushDrawingGraphics() {
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (document == nullptr) return;
    AcTransactionManager* transactions = document->transactionManager();
    if (transactions != nullptr) {
        transactions->queueForGraphicsFlush();
        transactions->flushGraphics();
    }
    acedUpdateDisplay();
}

namespace {

// Fills the record from the picked text, which is open.
void loadRecordFrom(const AcDbText& text, const ads_name name) {
    TextProperties& record = g_textProperties;
    char* string = text.textString();
    record.text = string != nullptr ? string : "";
    std::free(string);
    // Values of the drawing beyond what the palette takes are not taken: 0
    // stands for "unknown" (TEXTSIZE, the style's slant and width), and the
    // rotation is brought into one turn.
    record.height = isTextSize(text.height()) ? text.height() : 0;
    const bool slantTaken = isSlantDegrees(text.oblique() * kRadiansToDegrees);
    record.oblique = slantTaken ? text.oblique() : 0;
    record.horizontalMode = text.horizontalMode();
    record.insertionPoint = record.horizontalMode == AcDb::kTextLeft ? text.position() : text.alignmentPoint();
    getTextStyleName(text.textStyle(), record.styleName);
    if (slantTaken) setStyleObliquingAngle(record.oblique, text.textStyle());
    record.rotation = text.rotation();
    if (!normaliseRotation(record.rotation)) record.rotation = 0;
    record.widthFactor = isTextSize(text.widthFactor()) ? text.widthFactor() : 0;
    record.picked = 1;
    record.entity[0] = name[0];
    record.entity[1] = name[1];
}

}  // namespace

int pickExistingText() {
    ads_name name = {0, 0};
    ads_point pickPoint = {0, 0, 0};
    const int answer = acedEntSel("\nВыберите текст: "_cp, name, pickPoint);
    if (answer == RTCAN) return kPickCancelled;
    if (answer != RTNORM) return kPickAgain;

    AcDbObject* object = openForWrite<AcDbObject>(name);
    if (object == nullptr) return kPickAgain;
    const AcDbText* text = AcDbText::cast(object);
    if (text == nullptr || object->isA() == AcDbAttributeDefinition::desc()) {
        const std::string className = object->isA()->name();
        closeOrAbort(object);
        acutPrintf("\nОшибка вы выбрали...%s"_cp, className.c_str());
        return kPickAgain;
    }
    loadRecordFrom(*text, name);
    closeOrAbort(object);
    return kPickDone;
}
