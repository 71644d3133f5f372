#include "host/db/ObjectFactory.h"

#include <map>
#include <set>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCurves.h"
#include "host/db/AcDbMText.h"
#include "host/db/AcDbText.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/db/RecordTags.h"

namespace kestrin::db {
namespace {

// DXF types whose records may lack subclass markers (older files).
const std::map<std::string, std::string, std::less<>> kKnownTypes = {
    {"LWPOLYLINE", "AcDbPolyline"}, {"POLYLINE", "AcDb2dPolyline"}, {"VERTEX", "AcDb2dVertex"},
    {"SEQEND", "AcDbSequenceEnd"}, {"ARC", "AcDbArc"}, {"ELLIPSE", "AcDbEllipse"}, {"SPLINE", "AcDbSpline"},
    {"POINT", "AcDbPoint"}, {"SOLID", "AcDbSolid"}, {"TRACE", "AcDbTrace"}, {"3DFACE", "AcDbFace"},
    {"HATCH", "AcDbHatch"}, {"LEADER", "AcDbLeader"}, {"VIEWPORT", "AcDbViewport"}, {"RAY", "AcDbRay"},
    {"XLINE", "AcDbXline"}, {"SHAPE", "AcDbShape"}, {"IMAGE", "AcDbRasterImage"}, {"MLINE", "AcDbMline"},
    {"TOLERANCE", "AcDbFcf"}, {"REGION", "AcDbRegion"}, {"3DSOLID", "AcDb3dSolid"}, {"BODY", "AcDbBody"},
    {"OLE2FRAME", "AcDbOle2Frame"}, {"DIMENSION", "AcDbDimension"}, {"BLOCK", "AcDbBlockBegin"},
    {"ENDBLK", "AcDbBlockEnd"}, {"DICTIONARY", "AcDbDictionary"}, {"XRECORD", "AcDbXrecord"},
    {"LAYOUT", "AcDbLayout"}, {"LAYER", "AcDbLayerTableRecord"}, {"LTYPE", "AcDbLinetypeTableRecord"},
    {"VIEW", "AcDbViewTableRecord"}, {"UCS", "AcDbUCSTableRecord"}, {"VPORT", "AcDbViewportTableRecord"},
    {"APPID", "AcDbRegAppTableRecord"}, {"DIMSTYLE", "AcDbDimStyleTableRecord"},
};

// Names of classes the host models: an unmodelled record must never claim one
// of them, or a cast would take it for what it is not.
bool isModelledName(const std::string& name) {
    static const std::set<std::string> modelled = {
        "AcRxObject", "AcDbObject", "AcDbEntity", "AcDbText", "AcDbAttribute", "AcDbAttributeDefinition",
        "AcDbMText", "AcDbBlockReference", "AcDbLine", "AcDbCircle", "AcDbBlockTable", "AcDbBlockTableRecord",
        "AcDbTextStyleTable", "AcDbTextStyleTableRecord", "AcDbSymbolTable", "AcDbSymbolTableRecord"};
    return modelled.count(name) != 0;
}

std::string lastMarker(const dxf::Record& record) {
    std::string marker;
    for (std::size_t i = 0; i < record.tags.size(); ++i) {
        if (record.tags[i].code == 1001) break;
        if (record.tags[i].code == 100) marker = std::string(record.tags[i].value);
    }
    return marker;
}

std::string tableClassName(const dxf::Record& head) {
    static const std::map<std::string, std::string, std::less<>> names = {
        {"LAYER", "AcDbLayerTable"}, {"LTYPE", "AcDbLinetypeTable"}, {"VIEW", "AcDbViewTable"},
        {"UCS", "AcDbUCSTable"}, {"VPORT", "AcDbViewportTable"}, {"APPID", "AcDbRegAppTable"},
        {"DIMSTYLE", "AcDbDimStyleTable"}};
    const auto it = names.find(headTag(head, 2).value_or(""));
    return it != names.end() ? it->second : "AcDbObject";
}

bool isEntityPlace(Place place) {
    return place == Place::Entity || place == Place::SubEntity || place == Place::BlockBegin || place == Place::BlockEnd;
}

}  // namespace

std::string unmodelledClassName(const dxf::Record& record, Place place) {
    if (place == Place::TableHead) return tableClassName(record);
    std::string name = lastMarker(record);
    if (!name.empty() && !isModelledName(name)) return name;
    const auto known = kKnownTypes.find(record.type);
    if (known != kKnownTypes.end()) return known->second;
    return isEntityPlace(place) ? "AcDbEntity" : "AcDbObject";
}

std::unique_ptr<AcDbObject> makeObject(const Entry& entry) {
    const std::string& type = entry.record.type;
    switch (entry.place) {
        case Place::Entity:
        case Place::SubEntity:
            if (type == "TEXT") return std::make_unique<AcDbText>();
            if (type == "ATTRIB") return std::make_unique<AcDbAttribute>();
            if (type == "ATTDEF") return std::make_unique<AcDbAttributeDefinition>();
            if (type == "MTEXT") return std::make_unique<AcDbMText>();
            if (type == "INSERT") return std::make_unique<AcDbBlockReference>();
            if (type == "LINE") return std::make_unique<AcDbLine>();
            if (type == "CIRCLE") return std::make_unique<AcDbCircle>();
            break;
        case Place::TableHead: {
            const auto table = headTag(entry.record, 2).value_or("");
            if (table == "BLOCK_RECORD") return std::make_unique<AcDbBlockTable>();
            if (table == "STYLE") return std::make_unique<AcDbTextStyleTable>();
            break;
        }
        case Place::TableEntry:
            if (type == "BLOCK_RECORD") return std::make_unique<AcDbBlockTableRecord>();
            if (type == "STYLE") return std::make_unique<AcDbTextStyleTableRecord>();
            break;
        default: break;
    }
    const std::string name = unmodelledClassName(entry.record, entry.place);
    if (isEntityPlace(entry.place)) {
        AcRxClass* cls = name == "AcDbEntity" ? AcDbEntity::desc() : rx::classNamed(name, AcDbEntity::desc());
        return std::make_unique<AcDbUnmodelledEntity>(cls);
    }
    AcRxClass* cls = name == "AcDbObject" ? AcDbObject::desc() : rx::classNamed(name, AcDbObject::desc());
    return std::make_unique<AcDbUnmodelledObject>(cls);
}

}  // namespace kestrin::db
