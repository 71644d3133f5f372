#include "host/db/AcDbObjectId.h"

#include <cstdio>

#include "host/db/DrawingStore.h"

void AcDbHandle::getIntoAsciiBuffer(char* buffer) const {
    std::snprintf(buffer, 17, "%llX", static_cast<unsigned long long>(value_));
}

bool AcDbObjectId::isErased() const { return entry_ != nullptr && entry_->erased; }

AcDbHandle AcDbObjectId::handle() const { return AcDbHandle(entry_ != nullptr ? entry_->handle : 0); }

AcDbDatabase* AcDbObjectId::database() const { return entry_ != nullptr ? &entry_->store->database() : nullptr; }
