#include "plugin/frame/TextStyles.h"

#include "base/Cp1251.h"
#include "plugin/frame/ObjectAccess.h"

using namespace kestrin::literals;

namespace {

// Opens the style record `styleId` names, runs `use` on it and closes it.
// `use` answers the status of its one read or write.
template <class Use>
Acad::ErrorStatus withStyleRecord(AcDbObjectId styleId, AcDb::OpenMode mode, Use use) {
    if (styleId.isNull()) return Acad::eNullObjectId;
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, styleId, mode) != Acad::eOk) return Acad::eNotThatKindOfClass;
    AcDbTextStyleTableRecord* record = AcDbTextStyleTableRecord::cast(object);
    if (record == nullptr) {
        closeOrAbort(object);
        return Acad::eNotThatKindOfClass;
    }
    const Acad::ErrorStatus es = use(*record);
    closeOrAbort(record);
    return es;
}

}  // namespace

Acad::ErrorStatus getTextStyleName(AcDbObjectId styleId, std::string& name) {
    return withStyleRecord(styleId, AcDb::kForRead, [&](AcDbTextStyleTableRecord& record) {
        const char* text = nullptr;
        const Acad::ErrorStatus es = record.getName(text);
        if (es == Acad::eOk) name = text;
        return es;
    });
}

Acad::ErrorStatus getStyleObliquingAngle(AcDbObjectId styleId, double& angle) {
    return withStyleRecord(styleId, AcDb::kForRead, [&](AcDbTextStyleTableRecord& record) {
        angle = record.obliquingAngle();
        return Acad::eOk;
    });
}

Acad::ErrorStatus getStyleXScale(AcDbObjectId styleId, double& xScale) {
    return withStyleRecord(styleId, AcDb::kForRead, [&](AcDbTextStyleTableRecord& record) {
        xScale = record.xScale();
        return Acad::eOk;
    });
}

// A value the record refuses (an angle beyond 85 degrees, a scale of 0 or
// less) answers the record's own status and leaves it as it was.
Acad::ErrorStatus setStyleObliquingAngle(double angle, AcDbObjectId styleId) {
    return withStyleRecord(styleId, AcDb::kForWrite,
                           [&](AcDbTextStyleTableRecord& record) { return record.setObliquingAngle(angle); });
}

Acad::ErrorStatus setStyleXScale(double xScale, AcDbObjectId styleId) {
    return withStyleRecord(styleId, AcDb::kForWrite,
                           [&](AcDbTextStyleTableRecord& record) { return record.setXScale(xScale); });
}

AcDbObjectId findTextStyle(const std::string& name) {
    AcDbObjectId id;
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    if (database == nullptr) return id;
    AcDbTextStyleTable* table = nullptr;
    if (database->getTextStyleTable(table, AcDb::kForRead) != Acad::eOk) return id;
    if (table->getAt(name.c_str(), id, false) != Acad::eOk) id.setNull();
    closeOrAbort(table);
    return id;
}

AcDbObjectId loadSymbolFontStyle(const std::function<void()>& onFontFound) {
    AcDbObjectId id;
    char path[260] = {};
    if (acedFindFile("zor.shx", path) != RTNORM) {
        acutPrintf("\nНе найден файл %s.\n"_cp, "zor.shx");
        return id;
    }
    if (onFontFound) onFontFound();
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    if (database == nullptr) {
        acutPrintf("\nСтиль %s не создан: чертёж недоступен.\n"_cp, kSymbolStyleName);
        return id;
    }
    AcDbTextStyleTable* table = nullptr;
    if (const Acad::ErrorStatus es = database->getTextStyleTable(table, AcDb::kForWrite); es != Acad::eOk) {
        acutPrintf("\nСтиль %s не создан: таблица стилей не открывается (ошибка %d).\n"_cp, kSymbolStyleName,
                   static_cast<int>(es));
        return id;
    }
    auto* record = new AcDbTextStyleTableRecord;
    Acad::ErrorStatus es = record->setName(kSymbolStyleName);
    if (es == Acad::eOk) es = record->setFileName(kSymbolFontFile);
    if (es == Acad::eOk) es = table->add(record);
    if (es != Acad::eOk) {
        // A style of the same name in other letter case, for one: the table
        // keeps what it had and the record is not left behind.
        delete record;
        closeOrAbort(table);
        acutPrintf("\nСтиль %s не создан (ошибка %d).\n"_cp, kSymbolStyleName, static_cast<int>(es));
        return id;
    }
    if (table->getAt(kSymbolStyleName, id, false) != Acad::eOk) id.setNull();
    closeOrAbort(table);
    closeOrAbort(record);
    return id;
}
