#include "host/api/AcDbHostApplicationServices.h"

#include "host/api/HostState.h"

ACRX_DEFINE_MEMBERS(AcDbHostApplicationServices, AcRxObject)

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const { return kestrin::host::HostState::instance().working; }

void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* database) {
    kestrin::host::HostState::instance().working = database;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
    static AcDbHostApplicationServices services;
    return &services;
}
