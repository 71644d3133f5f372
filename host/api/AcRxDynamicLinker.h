// The dynamic linker: what the host knows about loaded applications, by the
// application id it gave each on load.
#pragma once

#include "host/db/AcRxObject.h"

class AcRxDynamicLinker : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDynamicLinker)
    // The application may be unloaded while the host runs. False for a null id.
    bool unlockApplication(void* appId) const;
    bool lockApplication(void* appId) const;
    bool isApplicationLocked(const void* appId) const;
    // The application works with several drawings open at once.
    bool registerAppMDIAware(void* appId) const;
    bool registerAppNotMDIAware(void* appId) const;
    bool isAppMDIAware(const void* appId) const;
    // Forgets an application (after its unload).
    void forget(const void* appId);
    void forgetAll();
};

AcRxDynamicLinker* acrxDynamicLinker();
