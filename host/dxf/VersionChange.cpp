#include "host/dxf/VersionChange.h"

#include <algorithm>
#include <functional>
#include <set>

#include "base/TextCase.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/Handles.h"
#include "host/dxf/R12Conversion.h"
#include "host/dxf/VersionEdits.h"
#include "host/dxf/VersionTables.h"

namespace kestrin::dxf {

namespace {

bool beyond(std::optional<std::string_view> introduced, const DxfVersion& target) {
    return introduced && *introduced > target.acadver;
}

bool isSubEntity(const std::string& type) { return type == "ATTRIB" || type == "VERTEX" || type == "SEQEND"; }

std::string handleOf(const Record& r) {
    const std::size_t i = r.tags.find(r.type == "DIMSTYLE" ? 105 : 5);
    return i == TagList::npos ? std::string() : upperCase(r.tags[i].value);
}

// Removes the records `drop` picks from a list of entities, each with the
// ATTRIB, VERTEX and SEQEND records that follow it; notes their handles.
void dropRecords(std::vector<Record>& records, const std::function<bool(const Record&)>& drop, VersionChange& change,
                 std::set<std::string>& handles) {
    std::vector<Record> kept;
    kept.reserve(records.size());
    bool dropping = false;
    for (Record& r : records) {
        if (isSubEntity(r.type) && dropping) {
            handles.insert(handleOf(r));
            continue;
        }
        dropping = drop(r);
        if (dropping) {
            change.drop(r.type);
            handles.insert(handleOf(r));
            continue;
        }
        kept.push_back(std::move(r));
    }
    records = std::move(kept);
}

// The index of a record's owner (its first 330 outside the 102 groups of
// reactors and extension dictionaries), or npos.
std::size_t ownerIndex(const Record& r) {
    bool inGroup = false;
    for (std::size_t i = 0; i < r.tags.size(); ++i) {
        const TagView t = r.tags[i];
        if (t.code == 102) inGroup = t.value.starts_with('{');
        else if (t.code == 330 && !inGroup) return i;
        else if (t.code == 100 || t.code == 1001) break;
    }
    return TagList::npos;
}

bool ownedByDropped(const Record& r, const std::set<std::string>& dropped) {
    const std::size_t i = ownerIndex(r);
    return i != TagList::npos && dropped.contains(upperCase(r.tags[i].value));
}

// Takes references to dropped records out of those that stay: reactors
// (inside 102 groups) and dictionary entries (3 name, then 350/360 handle)
// go, any other pointer becomes the null handle.
void forgetDropped(std::vector<Record>& records, const std::set<std::string>& dropped) {
    for (Record& r : records) {
        const std::size_t owner = ownerIndex(r);
        TagList& tags = r.tags;
        bool inGroup = false;
        for (std::size_t i = 0; i < tags.size(); ++i) {
            const TagView t = tags[i];
            if (t.code == 102) {
                inGroup = t.value.starts_with('{');
                continue;
            }
            const bool pointer = (t.code >= 330 && t.code <= 369) || t.code == 1005;
            if (!pointer || i == owner || !dropped.contains(upperCase(t.value))) continue;
            if (inGroup) {
                tags.erase(i--);
            } else if (r.type == "DICTIONARY" && i > 0 && tags[i - 1].code == 3) {
                tags.erase(i);
                tags.erase(i - 1);
                i -= 2;
            } else {
                tags.set(i, "0");
            }
        }
    }
}

template <class F>
void forEachEntityList(Document& doc, F&& f) {
    f(doc.entities);
    for (Block& b : doc.blocks) f(b.entities);
}

// Codes a later version brought into the common part of each entity.
void dropEntityCodes(std::vector<Record>& records, const DxfVersion& target, VersionChange& change) {
    for (Record& r : records) {
        bool inEntity = false;
        for (std::size_t i = 0; i < r.tags.size(); ++i) {
            const TagView t = r.tags[i];
            if (t.code == 1001) break;
            if (t.code == 100) {
                inEntity = t.value == "AcDbEntity";
                continue;
            }
            if (inEntity && beyond(entityCodeIntroducedIn(t.code), target)) {
                r.tags.erase(i--);
                change.drop("group codes");
            }
        }
    }
}

void dropLayerCodes(Document& doc, const DxfVersion& target, VersionChange& change) {
    auto introduced = [](int code) -> std::optional<std::string_view> {
        if (code == 290 || code == 370 || code == 390) return "AC1015";
        if (code == 347 || code == 348) return "AC1021";
        return std::nullopt;
    };
    for (Table& t : doc.tables)
        for (Record& r : t.entries) {
            if (r.type != "LAYER") continue;
            for (std::size_t i = 0; i < r.tags.size(); ++i)
                if (beyond(introduced(r.tags[i].code), target)) {
                    r.tags.erase(i--);
                    change.drop("group codes");
                }
        }
}

// From one modern version to another: what the older one lacks is dropped.
void changeModern(Document& doc, const DxfVersion& from, const DxfVersion& target, VersionChange& change) {
    if (target < from) {
        std::set<std::string> dropped;
        auto tooNew = [&target](const Record& r) { return beyond(typeIntroducedIn(r.type), target); };
        forEachEntityList(doc, [&](std::vector<Record>& list) { dropRecords(list, tooNew, change, dropped); });
        // Objects are counted apart from entities: a person did not draw them.
        VersionChange objects;
        dropRecords(doc.objects, tooNew, objects, dropped);
        // Objects owned by dropped ones go too, and references to them.
        for (bool again = true; again;) {
            std::set<std::string> more;
            dropRecords(doc.objects, [&](const Record& r) { return ownedByDropped(r, dropped); }, objects, more);
            dropped.insert(more.begin(), more.end());
            again = !more.empty();
        }
        for (const auto& [kind, n] : objects.dropped) change.drop("objects", n);
        forgetDropped(doc.objects, dropped);
        forEachEntityList(doc, [&](std::vector<Record>& list) { forgetDropped(list, dropped); });
        std::vector<Record> classes;
        for (Record& c : doc.classes) {
            const std::size_t name = c.tags.find(1);
            if (name != TagList::npos && beyond(typeIntroducedIn(c.tags[name].value), target)) continue;
            classes.push_back(std::move(c));
        }
        doc.classes = std::move(classes);
        dropVariables(doc, [&target](std::string_view name) { return beyond(variableIntroducedIn(name), target); }, change);
        forEachEntityList(doc, [&](std::vector<Record>& list) { dropEntityCodes(list, target, change); });
        dropLayerCodes(doc, target, change);
    }
    (void)from;
}

}  // namespace

void dropVariables(Document& doc, const std::function<bool(std::string_view)>& drop, VersionChange& change) {
    TagList kept;
    bool dropping = false;
    for (const TagView t : doc.header) {
        if (t.code == 9) {
            dropping = drop(t.value);
            if (dropping) change.drop("header variables");
        }
        if (!dropping) kept.push(t.code, t.value);
    }
    doc.header = std::move(kept);
}

void setVariable(Document& doc, std::string_view name, int code, std::string_view value) {
    const std::size_t i = headerValueIndex(doc.header, name);
    if (i != TagList::npos) {
        doc.header.set(i, value);
        return;
    }
    // $ACADVER leads the header.
    const std::size_t at = name == "$ACADVER" ? 0 : doc.header.size();
    doc.header.insert(at, 9, name);
    doc.header.insert(at + 1, code, value);
}


std::string VersionChange::summary() const {
    std::string out;
    for (const auto& [kind, n] : dropped) {
        if (!out.empty()) out += ", ";
        out += kind + ": " + std::to_string(n);
    }
    return out;
}

VersionChange changeVersion(Document& doc, const DxfVersion& target) {
    const auto from = versionByAcadver(doc.format.version);
    if (!from) throw DxfError("cannot change the drawing's version: '" + doc.format.version + "' is not one the host knows");
    VersionChange change;
    if (*from == target) return change;
    if (from->modern() && target.modern()) changeModern(doc, *from, target, change);
    else if (from->modern()) convertToR12(doc, change);
    else if (target.modern()) convertFromR12(doc, change);
    // Strings of the system are CP1251: an older version, which takes one
    // code page for the whole file, takes that one, the host's own.
    if (from->utf8() && !target.utf8()) setVariable(doc, "$DWGCODEPAGE", 3, "ANSI_1251");
    setVariable(doc, "$ACADVER", 1, target.acadver);
    doc.format.version = std::string(target.acadver);
    doc.format.binaryCodeBytes = target.modern() ? 2 : 1;
    // What the file wrote its own way was for its version and encoding.
    doc.verbatim.reset();
    return change;
}

}  // namespace kestrin::dxf
