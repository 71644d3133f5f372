// The host's services to the database layer: which drawing is the working one.
#pragma once

#include "host/db/AcDbDatabase.h"

class AcDbHostApplicationServices : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbHostApplicationServices)
    // Null when the host has no drawing.
    AcDbDatabase* workingDatabase() const;
    void setWorkingDatabase(AcDbDatabase* database);
};

AcDbHostApplicationServices* acdbHostApplicationServices();
