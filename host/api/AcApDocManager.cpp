#include "host/api/AcApDocManager.h"

#include "base/Cp1251.h"
#include "host/api/HostState.h"

using kestrin::host::HostState;

ACRX_DEFINE_MEMBERS(AcTransactionManager, AcRxObject)
ACRX_DEFINE_MEMBERS(AcApDocument, AcRxObject)
ACRX_DEFINE_MEMBERS(AcApDocManager, AcRxObject)

namespace {
AcApDocument& theDocument() {
    static AcApDocument document;
    return document;
}
AcTransactionManager& theTransactionManager() {
    static AcTransactionManager manager;
    return manager;
}
}  // namespace

Acad::ErrorStatus AcTransactionManager::queueForGraphicsFlush() {
    ++HostState::instance().display.queuedFlushes;
    return Acad::eOk;
}

Acad::ErrorStatus AcTransactionManager::flushGraphics() {
    ++HostState::instance().display.graphicsFlushes;
    return Acad::eOk;
}

AcDbDatabase* AcApDocument::database() const { return HostState::instance().working; }

const char* AcApDocument::fileName() const {
    try {
        fileName_ = kestrin::utf8ToCp1251(HostState::instance().drawingPath);
    } catch (const kestrin::EncodingError&) {
        fileName_.clear();  // a path the code page cannot spell
    }
    return fileName_.c_str();
}

AcTransactionManager* AcApDocument::transactionManager() const { return &theTransactionManager(); }

AcApDocument* AcApDocManager::curDocument() const {
    return HostState::instance().working != nullptr ? &theDocument() : nullptr;
}

Acad::ErrorStatus AcApDocManager::sendStringToExecute(AcApDocument* document, const char* text, bool, bool,
                                                      bool echoString) {
    if (text == nullptr || document == nullptr || document != curDocument()) return Acad::eInvalidInput;
    HostState::instance().sentInput.push_back({text, echoString});
    return Acad::eOk;
}

AcApDocManager* acDocManagerPtr() {
    static AcApDocManager manager;
    return &manager;
}
