#include "host/api/AdsTypes.h"

#include <cstdlib>

#include "host/db/DrawingStore.h"

resbuf* acutNewRb(int type) {
    auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    rb->restype = static_cast<short>(type);
    return rb;
}

int acutRelRb(resbuf* chain) {
    while (chain != nullptr) {
        resbuf* next = chain->rbnext;
        if (chain->restype == RTSTR) std::free(chain->resval.rstring);
        std::free(chain);
        chain = next;
    }
    return RTNORM;
}

void acutDelString(char*& string) {
    std::free(string);
    string = nullptr;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& name, AcDbObjectId id) {
    name[0] = name[1] = 0;
    if (id.isNull()) return Acad::eNullObjectId;
    name[0] = static_cast<long>(id.entry()->handle);
    name[1] = static_cast<long>(id.entry()->store->serial());
    return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
    id = AcDbObjectId::kNull;
    if (name == nullptr || (name[0] == 0 && name[1] == 0)) return Acad::eNullObjectId;
    const auto* store = kestrin::db::DrawingStore::bySerial(static_cast<std::uint64_t>(name[1]));
    if (store == nullptr) return Acad::eInvalidAdsName;
    kestrin::db::Entry* e = store->byHandle(static_cast<std::uint64_t>(name[0]));
    if (e == nullptr) return Acad::eInvalidAdsName;
    id = AcDbObjectId(e);
    return Acad::eOk;
}
