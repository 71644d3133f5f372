#include "host/api/SystemRegistry.h"

#include "host/api/AcApDocManager.h"
#include "host/api/AcDbHostApplicationServices.h"
#include "host/api/AcEdCommandStack.h"
#include "host/api/AcEdUIContext.h"
#include "host/api/AcRxDynamicLinker.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCurves.h"
#include "host/db/AcDbMText.h"
#include "host/db/AcDbTextStyleTable.h"

AcRxDictionary* acrxClassDictionary() {
    // Every class the host offers is there before a module asks.
    static const bool registered = [] {
        for (AcRxClass* c : {AcRxObject::desc(), AcRxClass::desc(), AcRxDictionary::desc(), AcDbObject::desc(),
                             AcDbEntity::desc(), AcDbText::desc(), AcDbAttribute::desc(),
                             AcDbAttributeDefinition::desc(), AcDbMText::desc(), AcDbBlockReference::desc(),
                             AcDbLine::desc(), AcDbCircle::desc(), AcDbSymbolTable::desc(), AcDbBlockTable::desc(),
                             AcDbTextStyleTable::desc(), AcDbSymbolTableRecord::desc(),
                             AcDbBlockTableRecord::desc(), AcDbTextStyleTableRecord::desc(), AcDbDatabase::desc(),
                             AcEdCommand::desc(), AcEdCommandStack::desc(), AcEdUIContext::desc(),
                             AcRxDynamicLinker::desc(), AcApDocManager::desc(), AcApDocument::desc(),
                             AcTransactionManager::desc(), AcDbHostApplicationServices::desc()})
            (void)c;
        return true;
    }();
    (void)registered;
    return &kestrin::rx::classDictionary();
}

AcRxDictionary* acrxSysRegistry() {
    static AcRxDictionary* const registry = [] {
        auto* r = new AcRxDictionary;  // lives as long as the process
        r->atPut("ClassDictionary", acrxClassDictionary());
        r->atPut("DynamicLinker", acrxDynamicLinker());
        r->atPut("ACAD_REGISTERED_COMMANDS", &kestrin::host::commandStack());
        return r;
    }();
    return registry;
}
