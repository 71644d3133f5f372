// The document manager: one current document (the working drawing), its
// transaction manager for graphics flushes, and strings sent to a document
// to run as typed input.
#pragma once

#include "host/db/AcDbDatabase.h"

class AcTransactionManager : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcTransactionManager)
    // Changed entities are queued, then drawn; both are counted (a GUI
    // repaints on the flush).
    Acad::ErrorStatus queueForGraphicsFlush();
    Acad::ErrorStatus flushGraphics();
};

class AcApDocument : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocument)
    AcDbDatabase* database() const;
    const char* fileName() const;  // CP1251; empty for a new drawing
    AcTransactionManager* transactionManager() const;

private:
    mutable std::string fileName_;
};

class AcApDocManager : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocManager)
    // Null when the host has no drawing.
    AcApDocument* curDocument() const;
    AcApDocument* mdiActiveDocument() const { return curDocument(); }
    int documentCount() const { return curDocument() != nullptr ? 1 : 0; }
    // Queues `text` to run as typed input once the current action is done.
    // eInvalidInput for a null text or a document that is not open.
    Acad::ErrorStatus sendStringToExecute(AcApDocument* document, const char* text, bool activate = true,
                                          bool wrapUpInactiveDoc = false, bool echoString = true);
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
