#include "host/api/SelectionSets.h"

#include <algorithm>
#include <array>
#include <map>

#include "host/db/AcDbObjectId.h"
#include "host/db/DrawingStore.h"

namespace {

// A set's name: its number and a tag no store serial takes, so that it is
// never read as an entity's name (handle, store serial).
constexpr long kSetTag = -1;

using Name = std::array<long, 2>;
std::map<long, std::vector<Name>> sets;
long nextSet = 1;

std::vector<Name>* setOf(const ads_name name) {
    if (name == nullptr || name[1] != kSetTag) return nullptr;
    const auto it = sets.find(name[0]);
    return it == sets.end() ? nullptr : &it->second;
}

bool isEntity(const ads_name name) {
    AcDbObjectId id;
    return name[1] != kSetTag && acdbGetObjectId(id, name) == Acad::eOk;
}

}  // namespace

int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result) {
    if (ename != nullptr && !isEntity(ename)) return RTERROR;
    std::vector<Name>* set = nullptr;
    long number = 0;
    if (sname == nullptr) {
        number = nextSet++;
        set = &sets[number];
    } else if ((set = setOf(sname)) != nullptr) {
        number = sname[0];
    } else {
        return RTERROR;
    }
    if (ename != nullptr) {
        const Name entity{ename[0], ename[1]};
        if (std::find(set->begin(), set->end(), entity) == set->end()) set->push_back(entity);
    }
    if (result != nullptr) {
        result[0] = number;
        result[1] = kSetTag;
    }
    return RTNORM;
}

int acedSSFree(const ads_name sname) {
    if (setOf(sname) == nullptr) return RTERROR;
    sets.erase(sname[0]);
    return RTNORM;
}

int acedSSLength(const ads_name sname, Adesk::Int32* length) {
    const std::vector<Name>* set = setOf(sname);
    if (set == nullptr || length == nullptr) return RTERROR;
    *length = static_cast<Adesk::Int32>(set->size());
    return RTNORM;
}

int acedSSName(const ads_name sname, Adesk::Int32 index, ads_name entity) {
    const std::vector<Name>* set = setOf(sname);
    if (set == nullptr || entity == nullptr || index < 0 || static_cast<std::size_t>(index) >= set->size()) return RTERROR;
    entity[0] = (*set)[static_cast<std::size_t>(index)][0];
    entity[1] = (*set)[static_cast<std::size_t>(index)][1];
    return RTNORM;
}

namespace kestrin::host {
std::vector<std::uint64_t> selectionSetHandles(const ads_name sname) {
    std::vector<std::uint64_t> handles;
    if (const std::vector<Name>* set = setOf(sname))
        for (const Name& name : *set) {
            const ads_name entity = {name[0], name[1]};
            AcDbObjectId id;
            if (acdbGetObjectId(id, entity) == Acad::eOk) handles.push_back(id.entry()->handle);
        }
    return handles;
}
}  // namespace kestrin::host
