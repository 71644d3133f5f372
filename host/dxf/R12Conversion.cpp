#include "host/dxf/R12Conversion.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/TextCase.h"
#include "host/dxf/GroupCode.h"
#include "host/dxf/Handles.h"
#include "host/dxf/Template.h"
#include "host/dxf/VersionEdits.h"
#include "host/dxf/VersionTables.h"

namespace kestrin::dxf {

namespace {

bool isSubEntity(const std::string& type) { return type == "ATTRIB" || type == "VERTEX" || type == "SEQEND"; }

std::string nameOf(const Record& r) {
    const std::size_t i = r.tags.find(2);
    return i == TagList::npos ? std::string() : std::string(r.tags[i].value);
}

int handleCode(const Record& r) { return r.type == "DIMSTYLE" ? 105 : 5; }

std::string handleOf(const Record& r) {
    const std::size_t i = r.tags.find(handleCode(r));
    return i == TagList::npos ? std::string() : std::string(r.tags[i].value);
}

long long integerOf(const Record& r, int code, long long fallback) {
    const std::size_t i = r.tags.find(code);
    if (i == TagList::npos) return fallback;
    try {
        return std::stoll(std::string(r.tags[i].value));
    } catch (const std::exception&) {
        return fallback;
    }
}

// Handles for records that have none, from the seed on.
class HandleSource {
public:
    explicit HandleSource(std::uint64_t next) : next_(next) {}
    std::string take() { return formatHandle(next_++); }
    std::uint64_t next() const { return next_; }

private:
    std::uint64_t next_;
};

std::uint64_t firstFreeHandle(const Document& doc) { return std::max(handleSeed(doc), maxHandle(doc) + 1); }

// ---- Down to R12 ----

// Keeps the tags R12 has for `type` before the extended data; an embedded
// object (101) and what follows it up to the extended data go.
void keepR12Tags(Record& r, std::string_view type) {
    TagList kept;
    bool xdata = false, embedded = false;
    for (const TagView t : r.tags) {
        xdata = xdata || t.code == 1001;
        embedded = !xdata && (embedded || t.code == 101);
        if (xdata || (!embedded && isR12Code(type, t.code))) kept.push(t.code, t.value);
    }
    r.tags = std::move(kept);
}

// LWPOLYLINE to POLYLINE, VERTEX and SEQEND.
void appendAsPolyline(const Record& lw, std::vector<Record>& out, HandleSource& handles, bool withHandles) {
    Record poly{"POLYLINE", {}, lw.line};
    std::vector<std::pair<int, std::string>> common;
    std::string elevation = "0.0";
    long long flags = 0;
    std::string width;
    struct Vertex {
        std::string x, y;
        std::vector<std::pair<int, std::string>> more;  // 40, 41, 42
    };
    std::vector<Vertex> vertices;
    TagList xdata;
    bool inXdata = false;
    for (const TagView t : lw.tags) {
        inXdata = inXdata || t.code == 1001;
        if (inXdata) {
            xdata.push(t.code, t.value);
            continue;
        }
        switch (t.code) {
            case 5: case 8: case 6: case 62: case 67: case 39: case 210: case 220: case 230:
                common.emplace_back(t.code, std::string(t.value));
                break;
            case 38: elevation = std::string(t.value); break;
            case 70: flags = std::stoll(std::string(t.value)); break;
            case 43: width = std::string(t.value); break;
            case 10: vertices.push_back({std::string(t.value), "0.0", {}}); break;
            case 20: if (!vertices.empty()) vertices.back().y = std::string(t.value); break;
            case 40: case 41: case 42:
                if (!vertices.empty()) vertices.back().more.emplace_back(t.code, std::string(t.value));
                break;
            default: break;
        }
    }
    std::string layer = "0", paper;
    for (const auto& [code, value] : common) {
        if (code == 8) layer = value;
        if (code == 67) paper = value;
        poly.tags.push(code, value);
    }
    if (withHandles && poly.tags.find(5) == TagList::npos) poly.tags.insert(0, 5, handles.take());
    poly.tags.push(66, "1");
    poly.tags.push(10, "0.0");
    poly.tags.push(20, "0.0");
    poly.tags.push(30, elevation);
    poly.tags.push(70, std::to_string(flags & (1 | 128)));
    if (!width.empty()) {
        poly.tags.push(40, width);
        poly.tags.push(41, width);
    }
    for (const TagView t : xdata) poly.tags.push(t.code, t.value);
    out.push_back(std::move(poly));
    auto start = [&](const char* type) {
        Record r{type, {}, 0};
        if (withHandles) r.tags.push(5, handles.take());
        if (!paper.empty()) r.tags.push(67, paper);
        r.tags.push(8, layer);
        return r;
    };
    for (const Vertex& v : vertices) {
        Record vertex = start("VERTEX");
        vertex.tags.push(10, v.x);
        vertex.tags.push(20, v.y);
        vertex.tags.push(30, elevation);
        for (const auto& [code, value] : v.more) vertex.tags.push(code, value);
        vertex.tags.push(70, "0");
        out.push_back(std::move(vertex));
    }
    out.push_back(start("SEQEND"));
}

void entitiesToR12(std::vector<Record>& records, VersionChange& change, HandleSource& handles) {
    std::vector<Record> out;
    out.reserve(records.size());
    bool dropping = false;
    for (Record& r : records) {
        if (isSubEntity(r.type) && dropping) continue;
        dropping = false;
        if (r.type == "LWPOLYLINE") {
            appendAsPolyline(r, out, handles, true);
            continue;
        }
        if (!isR12EntityType(r.type)) {
            change.drop(r.type);
            dropping = true;
            continue;
        }
        keepR12Tags(r, r.type);
        out.push_back(std::move(r));
    }
    records = std::move(out);
}

void renameBlock(Record& begin, std::string_view name) {
    for (std::size_t i = 0; i < begin.tags.size(); ++i)
        if (begin.tags[i].code == 2 || begin.tags[i].code == 3) begin.tags.set(i, name);
}

}  // namespace

void convertToR12(Document& doc, VersionChange& change) {
    HandleSource handles(firstFreeHandle(doc));
    change.drop("objects", doc.objects.size());
    for (const RawSection& s : doc.others) change.drop("section " + s.name);
    doc.classes.clear();
    doc.objects.clear();
    doc.others.clear();
    std::erase_if(doc.order, [](const std::string& n) {
        return n != "HEADER" && n != "TABLES" && n != "BLOCKS" && n != "ENTITIES";
    });

    std::vector<Table> tables;
    for (Table& t : doc.tables) {
        const std::string name = nameOf(t.head);
        if (name == "BLOCK_RECORD") continue;  // R12 knows its blocks by the BLOCKS section alone
        if (!isR12Code(name, 2)) {
            change.drop(name, t.entries.size());
            continue;
        }
        keepR12Tags(t.head, "TABLE");
        for (Record& e : t.entries) keepR12Tags(e, e.type);
        tables.push_back(std::move(t));
    }
    doc.tables = std::move(tables);

    std::vector<Block> blocks;
    for (Block& b : doc.blocks) {
        const std::string name = upperCase(nameOf(b.begin));
        if (name == "*MODEL_SPACE") {
            renameBlock(b.begin, "$Model_Space");
        } else if (name == "*PAPER_SPACE") {
            renameBlock(b.begin, "$Paper_Space");
        } else if (name.starts_with("*PAPER_SPACE")) {
            // R12 has one paper space: the other layouts go.
            change.drop("layouts");
            continue;
        }
        keepR12Tags(b.begin, "BLOCK");
        keepR12Tags(b.end, "ENDBLK");
        entitiesToR12(b.entities, change, handles);
        blocks.push_back(std::move(b));
    }
    doc.blocks = std::move(blocks);
    entitiesToR12(doc.entities, change, handles);

    dropVariables(doc, [](std::string_view name) { return !isR12Variable(name); }, change);
    setVariable(doc, "$HANDLING", 70, "1");
    setHandleSeed(doc, handles.next());
}

// ---- Up from R12 ----

namespace {

// Offsets every handle of a document (and pointer to one) by `base`, so that
// it can take a drawing's records beside its own.
void offsetHandles(Document& doc, std::uint64_t base) {
    auto shift = [base](std::string_view type, TagList& tags) {
        for (std::size_t i = 0; i < tags.size(); ++i) {
            const TagView t = tags[i];
            if (valueTypeIn(type, t.code) != ValueType::Handle) continue;
            const auto h = parseHandle(t.value);
            if (h && *h != 0) tags.set(i, formatHandle(*h + base));
        }
    };
    shift("HEADER", doc.header);
    auto all = [&](std::vector<Record>& rs) {
        for (Record& r : rs) shift(r.type, r.tags);
    };
    all(doc.classes);
    for (Table& t : doc.tables) {
        shift(t.head.type, t.head.tags);
        all(t.entries);
    }
    for (Block& b : doc.blocks) {
        shift(b.begin.type, b.begin.tags);
        all(b.entities);
        shift(b.end.type, b.end.tags);
    }
    all(doc.entities);
    all(doc.objects);
}

// How an entity's tags are laid out in subclass sections from R13 on. A
// code goes into the first section that lists it, else into the section
// marked as the rest.
struct Section {
    std::string_view marker;
    std::set<int> codes;
    bool rest = false;
};

std::vector<Section> dimensionSections(long long type) {
    std::vector<Section> s = {{"AcDbDimension", {}, true}};
    const std::set<int> aligned = {12, 22, 32, 13, 23, 33, 14, 24, 34};
    switch (type & 7) {
        case 0:
            s.push_back({"AcDbAlignedDimension", aligned});
            s.push_back({"AcDbRotatedDimension", {50, 52}});
            break;
        case 1: s.push_back({"AcDbAlignedDimension", {12, 22, 32, 13, 23, 33, 14, 24, 34, 50}}); break;
        case 2: s.push_back({"AcDb2LineAngularDimension", {13, 23, 33, 14, 24, 34, 15, 25, 35, 16, 26, 36}}); break;
        case 3: s.push_back({"AcDbDiametricDimension", {15, 25, 35, 40}}); break;
        case 4: s.push_back({"AcDbRadialDimension", {15, 25, 35, 40}}); break;
        case 5: s.push_back({"AcDb3PointAngularDimension", {13, 23, 33, 14, 24, 34, 15, 25, 35}}); break;
        default: s.push_back({"AcDbOrdinateDimension", {13, 23, 33, 14, 24, 34}}); break;
    }
    return s;
}

std::string_view polylineMarker(long long flags) {
    if (flags & 64) return "AcDbPolyFaceMesh";
    if (flags & 16) return "AcDbPolygonMesh";
    if (flags & 8) return "AcDb3dPolyline";
    return "AcDb2dPolyline";
}

std::string_view vertexMarker(long long polylineFlags, long long vertexFlags) {
    if (polylineFlags & 64) return (vertexFlags & 64) ? "AcDbPolyFaceMeshVertex" : "AcDbFaceRecord";
    if (polylineFlags & 16) return "AcDbPolygonMeshVertex";
    if (polylineFlags & 8) return "AcDb3dPolylineVertex";
    return "AcDb2dVertex";
}

std::vector<Section> sectionsOf(const Record& r, long long polylineFlags) {
    const std::string& t = r.type;
    if (t == "LINE" || t == "3DLINE") return {{"AcDbLine", {}, true}};
    if (t == "POINT") return {{"AcDbPoint", {}, true}};
    if (t == "CIRCLE") return {{"AcDbCircle", {}, true}};
    if (t == "ARC") return {{"AcDbCircle", {}, true}, {"AcDbArc", {50, 51}}};
    if (t == "TRACE" || t == "SOLID") return {{"AcDbTrace", {}, true}};
    if (t == "3DFACE") return {{"AcDbFace", {}, true}};
    if (t == "SHAPE") return {{"AcDbShape", {}, true}};
    if (t == "TEXT") return {{"AcDbText", {}, true}, {"AcDbText", {73}}};
    if (t == "ATTDEF") return {{"AcDbText", {}, true}, {"AcDbAttributeDefinition", {3, 2, 70, 73, 74}}};
    if (t == "ATTRIB") return {{"AcDbText", {}, true}, {"AcDbAttribute", {2, 70, 73, 74}}};
    if (t == "INSERT") return {{"AcDbBlockReference", {}, true}};
    if (t == "POLYLINE") return {{polylineMarker(integerOf(r, 70, 0)), {}, true}};
    if (t == "VERTEX") return {{"AcDbVertex", {}}, {vertexMarker(polylineFlags, integerOf(r, 70, 0)), {}, true}};
    if (t == "DIMENSION") return dimensionSections(integerOf(r, 70, 0));
    if (t == "SEQEND") return {};
    return {{"", {}, true}};  // another program's type: its tags as they are
}

bool isEntityCommon(int code) { return code == 8 || code == 6 || code == 62 || code == 67 || code == 48 || code == 60; }

// An R12 entity with its handle, owner and subclass sections.
Record upgradeEntity(const Record& r, const std::string& owner, long long polylineFlags, HandleSource& handles,
                     VersionChange& change) {
    const std::vector<Section> sections = sectionsOf(r, polylineFlags);
    std::vector<TagList> parts(sections.size());
    TagList common, xdata;
    std::string handle;
    bool inXdata = false;
    for (const TagView t : r.tags) {
        inXdata = inXdata || t.code == 1001;
        if (inXdata) {
            xdata.push(t.code, t.value);
        } else if (t.code == 5) {
            handle = std::string(t.value);
        } else if (isEntityCommon(t.code)) {
            common.push(t.code, t.value);
        } else if (t.code == 38) {
            change.drop("group codes");  // R12's entity elevation: later versions keep it in the points
        } else {
            std::size_t at = sections.size();
            for (std::size_t i = 0; i < sections.size() && at == sections.size(); ++i)
                if (sections[i].codes.contains(t.code)) at = i;
            for (std::size_t i = 0; i < sections.size() && at == sections.size(); ++i)
                if (sections[i].rest) at = i;
            if (at < parts.size()) parts[at].push(t.code, t.value);
        }
    }
    Record out{r.type, {}, 0};
    out.tags.push(5, handle.empty() ? handles.take() : handle);
    out.tags.push(330, owner);
    out.tags.push(100, "AcDbEntity");
    for (const TagView t : common) out.tags.push(t.code, t.value);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (!sections[i].marker.empty()) out.tags.push(100, sections[i].marker);
        for (const TagView t : parts[i]) out.tags.push(t.code, t.value);
    }
    for (const TagView t : xdata) out.tags.push(t.code, t.value);
    return out;
}

// The entities of a space or block; sub-entities are owned by their INSERT or POLYLINE.
std::vector<Record> upgradeEntities(std::vector<Record>& records, const std::function<std::string(const Record&)>& ownerOf,
                                    HandleSource& handles, VersionChange& change) {
    std::vector<Record> out;
    out.reserve(records.size());
    std::string parent;
    long long polylineFlags = 0;
    bool dropping = false;
    for (const Record& r : records) {
        const bool sub = isSubEntity(r.type);
        if (sub && dropping) continue;
        dropping = false;
        if (r.type == "VIEWPORT") {
            change.drop("VIEWPORT");  // R12 keeps a viewport's data in extended data of its own
            dropping = true;
            continue;
        }
        Record e = upgradeEntity(r, sub && !parent.empty() ? parent : ownerOf(r), polylineFlags, handles, change);
        if (!sub) {
            parent = std::string(e.tags[0].value);
            polylineFlags = r.type == "POLYLINE" ? integerOf(r, 70, 0) : 0;
        } else if (r.type == "SEQEND") {
            parent.clear();
        }
        out.push_back(std::move(e));
    }
    return out;
}

std::string_view recordMarker(std::string_view table) {
    static const std::map<std::string_view, std::string_view> markers = {
        {"VPORT", "AcDbViewportTableRecord"}, {"LTYPE", "AcDbLinetypeTableRecord"},
        {"LAYER", "AcDbLayerTableRecord"},    {"STYLE", "AcDbTextStyleTableRecord"},
        {"VIEW", "AcDbViewTableRecord"},      {"UCS", "AcDbUCSTableRecord"},
        {"APPID", "AcDbRegAppTableRecord"},   {"DIMSTYLE", "AcDbDimStyleTableRecord"},
        {"BLOCK_RECORD", "AcDbBlockTableRecord"}};
    const auto it = markers.find(table);
    return it == markers.end() ? std::string_view() : it->second;
}

Record upgradeTableEntry(const Record& r, const std::string& head, HandleSource& handles) {
    Record out{r.type, {}, 0};
    const int code = handleCode(r);
    const std::string handle = handleOf(r);
    out.tags.push(code, handle.empty() ? handles.take() : handle);
    out.tags.push(330, head);
    out.tags.push(100, "AcDbSymbolTableRecord");
    out.tags.push(100, recordMarker(r.type));
    for (const TagView t : r.tags)
        if (t.code != code) out.tags.push(t.code, t.value);
    return out;
}

Table* tableNamed(Document& doc, std::string_view name) {
    for (Table& t : doc.tables)
        if (nameOf(t.head) == name) return &t;
    return nullptr;
}

bool isLayoutBlock(const std::string& upper) {
    return upper == "$MODEL_SPACE" || upper == "$PAPER_SPACE" || upper == "*MODEL_SPACE" || upper == "*PAPER_SPACE";
}

// BLOCK or ENDBLK with its handle, owner and markers.
Record upgradeBlockEnd(const Record& r, std::string_view marker, const std::string& owner, HandleSource& handles) {
    Record out{r.type, {}, 0};
    const std::string handle = handleOf(r);
    out.tags.push(5, handle.empty() ? handles.take() : handle);
    out.tags.push(330, owner);
    out.tags.push(100, "AcDbEntity");
    for (const TagView t : r.tags)
        if (isEntityCommon(t.code)) out.tags.push(t.code, t.value);
    out.tags.push(100, marker);
    for (const TagView t : r.tags)
        if (t.code != 5 && !isEntityCommon(t.code)) out.tags.push(t.code, t.value);
    return out;
}

void setCount(Table& t) {
    const std::size_t i = t.head.tags.find(70);
    if (i != TagList::npos) t.head.tags.set(i, std::to_string(t.entries.size()));
}

}  // namespace

void convertFromR12(Document& doc, VersionChange& change) {
    // The template brings classes, objects and layouts; its handles move
    // above the drawing's own, which stay what they are.
    Document out = newDrawingTemplate();
    offsetHandles(out, firstFreeHandle(doc));
    HandleSource handles(handleSeed(out));

    // Header: the drawing's variables in place of the template's.
    for (std::size_t i = 0; i < doc.header.size(); ++i) {
        if (doc.header[i].code != 9) continue;
        const std::string name(doc.header[i].value);
        std::size_t end = i + 1;
        while (end < doc.header.size() && doc.header[end].code != 9) ++end;
        if (name == "$ACADVER" || name == "$HANDSEED" || name == "$HANDLING") continue;
        std::size_t at = out.header.size();
        for (std::size_t k = 0; k < out.header.size(); ++k)
            if (out.header[k].code == 9 && out.header[k].value == name) at = k;
        if (at < out.header.size()) {
            out.header.erase(at);
            while (at < out.header.size() && out.header[at].code != 9) out.header.erase(at);
        }
        for (std::size_t k = i; k < end; ++k) out.header.insert(at++, doc.header[k].code, doc.header[k].value);
    }

    // Tables: the drawing's entries, with those of the template it lacks.
    for (Table& theirs : doc.tables) {
        const std::string name = nameOf(theirs.head);
        Table* ours = tableNamed(out, name);
        if (ours == nullptr || name == "BLOCK_RECORD") continue;
        // The drawing's handle of the table, where it has one, is the table's.
        if (const std::string theirHead = handleOf(theirs.head); !theirHead.empty()) {
            ours->head.tags.set(ours->head.tags.find(5), theirHead);
            for (Record& e : ours->entries)
                if (const std::size_t owner = e.tags.find(330); owner != TagList::npos) e.tags.set(owner, theirHead);
        }
        const std::string head = handleOf(ours->head);
        std::vector<Record> entries;
        std::set<std::string> names;
        for (const Record& e : theirs.entries) {
            entries.push_back(upgradeTableEntry(e, head, handles));
            names.insert(upperCase(nameOf(e)));
        }
        for (Record& e : ours->entries)
            if (!names.contains(upperCase(nameOf(e)))) entries.push_back(std::move(e));
        ours->entries = std::move(entries);
        setCount(*ours);
    }

    // Block records: the template's two spaces and one for each block.
    Table* records = tableNamed(out, "BLOCK_RECORD");
    const std::string recordsHead = handleOf(records->head);
    std::map<std::string, std::string> recordOf;  // upper-case block name -> block record handle
    for (const Record& e : records->entries) recordOf[upperCase(nameOf(e))] = handleOf(e);
    const std::string model = recordOf["*MODEL_SPACE"], paper = recordOf["*PAPER_SPACE"];
    for (const Block& b : doc.blocks) {
        const std::string name = nameOf(b.begin), upper = upperCase(name);
        if (isLayoutBlock(upper) || recordOf.contains(upper)) continue;
        Record r{"BLOCK_RECORD", {}, 0};
        const std::string h = handles.take();
        r.tags.push(5, h);
        r.tags.push(330, recordsHead);
        r.tags.push(100, "AcDbSymbolTableRecord");
        r.tags.push(100, "AcDbBlockTableRecord");
        r.tags.push(2, name);
        records->entries.push_back(std::move(r));
        recordOf[upper] = h;
    }
    setCount(*records);

    // Blocks, each owned by its record.
    for (Block& b : doc.blocks) {
        std::string upper = upperCase(nameOf(b.begin));
        if (upper.starts_with("$")) upper[0] = '*';
        const std::string owner = recordOf[upper];
        auto entities = upgradeEntities(b.entities, [&owner](const Record&) { return owner; }, handles, change);
        if (isLayoutBlock(upper)) {
            // The template has the layout blocks; what R12 kept in them stays
            // there, and so do the handles of their BLOCK and ENDBLK.
            for (Block& ours : out.blocks) {
                if (upperCase(nameOf(ours.begin)) != upper) continue;
                for (Record& e : entities) ours.entities.push_back(std::move(e));
                for (auto [mine, theirs] : {std::pair{&ours.begin, &b.begin}, std::pair{&ours.end, &b.end}})
                    if (const std::string h = handleOf(*theirs); !h.empty()) mine->tags.set(mine->tags.find(5), h);
            }
            continue;
        }
        Block block;
        block.begin = upgradeBlockEnd(b.begin, "AcDbBlockBegin", owner, handles);
        block.end = upgradeBlockEnd(b.end, "AcDbBlockEnd", owner, handles);
        block.entities = std::move(entities);
        out.blocks.push_back(std::move(block));
    }

    // Model and paper space, told apart by the paper-space flag.
    out.entities = upgradeEntities(
        doc.entities, [&](const Record& r) { return integerOf(r, 67, 0) == 1 ? paper : model; }, handles, change);

    out.preamble = std::move(doc.preamble);
    out.format = doc.format;
    setHandleSeed(out, handles.next());
    doc = std::move(out);
}

}  // namespace kestrin::dxf
