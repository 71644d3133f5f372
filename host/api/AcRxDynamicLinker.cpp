#include "host/api/AcRxDynamicLinker.h"

#include <set>

ACRX_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)

namespace {
std::set<const void*>& unlocked() {
    static std::set<const void*> ids;
    return ids;
}
std::set<const void*>& mdiAware() {
    static std::set<const void*> ids;
    return ids;
}
}  // namespace

bool AcRxDynamicLinker::unlockApplication(void* appId) const {
    if (appId == nullptr) return false;
    unlocked().insert(appId);
    return true;
}

bool AcRxDynamicLinker::lockApplication(void* appId) const {
    if (appId == nullptr) return false;
    unlocked().erase(appId);
    return true;
}

bool AcRxDynamicLinker::isApplicationLocked(const void* appId) const { return unlocked().count(appId) == 0; }

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) const {
    if (appId == nullptr) return false;
    mdiAware().insert(appId);
    return true;
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) const {
    if (appId == nullptr) return false;
    mdiAware().erase(appId);
    return true;
}

bool AcRxDynamicLinker::isAppMDIAware(const void* appId) const { return mdiAware().count(appId) != 0; }

void AcRxDynamicLinker::forget(const void* appId) {
    unlocked().erase(appId);
    mdiAware().erase(appId);
}

void AcRxDynamicLinker::forgetAll() {
    unlocked().clear();
    mdiAware().clear();
}

AcRxDynamicLinker* acrxDynamicLinker() {
    static AcRxDynamicLinker linker;
    return &linker;
}
