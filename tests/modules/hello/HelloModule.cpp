// The hello test module: a command group KESTRIN_HELLO with HELLOPOINT (asks
// for a point and prints it), HELLOTEXT (writes a text at a point) and
// HELLODIALOG (a dialog that takes a point while hidden), and the default
// context menu "Hello". HELLOLEAK leaves an object open and HELLOABORT stops
// the host, to test how the host takes a misbehaving module; with
// KESTRIN_HELLO_KEEP_MENU set the module forgets to remove its menu at unload. It proves that a
// module loaded with dlopen registers with the host and is called back.
#include <cstdio>
#include <cstdlib>

#include "base/Cp1251.h"
#include "host/api/AcDbHostApplicationServices.h"
#include "host/api/AcEdCommandStack.h"
#include "host/api/AcEdUIContext.h"
#include "host/api/AcRxDynamicLinker.h"
#include "host/api/CommandLine.h"
#include "host/api/EditorInput.h"
#include "host/db/Abort.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbText.h"
#include "host/ui/HostWindow.h"
#include "platform/ui/ResourceChain.h"
#include "tests/modules/hello/HelloDialog.h"
#include "tests/modules/hello/HelloMenu.h"

namespace {

AFX_EXTENSION_MODULE extension;
HelloMenu* menu = nullptr;

void helloPoint() {
    ads_point p = {0, 0, 0};
    const int rc = acedGetPoint(nullptr, "\nPoint: ", p);
    if (rc == RTNORM) acutPrintf("\nHello at %g,%g,%g\n", p[0], p[1], p[2]);
    else acutPrintf("\nNo point (%d)\n", rc);
}

void helloText() {
    ads_point p = {0, 0, 0};
    if (acedGetPoint(nullptr, "\nText position: ", p) != RTNORM) return;
    AcDbBlockTable* table = nullptr;
    if (acdbHostApplicationServices()->workingDatabase()->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return;
    AcDbBlockTableRecord* space = nullptr;
    const Acad::ErrorStatus es = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    table->close();
    if (es != Acad::eOk) return;
    using namespace kestrin::literals;
    auto* text = new AcDbText(AcGePoint3d(p[0], p[1], p[2]), "Привет, мир"_cp);
    if (space->appendAcDbEntity(text) == Acad::eOk) text->close();
    else delete text;
    space->close();
}

void helloLeak() {
    AcDbBlockTable* table = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getBlockTable(table, AcDb::kForRead);
}

void helloAbort() { acrx_abort("%s", "Failed AcDbObject::close()"); }

void helloDialog() {
    HelloDialog dialog(CWnd::FromHandle(adsw_acadMainWnd()));
    const INT_PTR result = dialog.DoModal();
    acutPrintf("\nDialog ended with %d%s%s\n", static_cast<int>(result), dialog.point.empty() ? "" : " at ",
               dialog.point.c_str());
}

}  // namespace

extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(extension, instance)) return FALSE;
        new CDynLinkLibrary(extension);
    } else if (reason == DLL_PROCESS_DETACH) {
        delete menu;
        menu = nullptr;
        AfxTermExtensionModule(extension);
    }
    return TRUE;
}

extern "C" int acrxEntryPoint(int message, void* appId) {
    if (message == 1) {
        acrxDynamicLinker()->unlockApplication(appId);
        kestrin::host::commandStack().addCommand("KESTRIN_HELLO", "HELLOPOINT", "HELLOPOINT", ACRX_CMD_MODAL, helloPoint);
        kestrin::host::commandStack().addCommand("KESTRIN_HELLO", "HELLOTEXT", "HELLOTEXT", ACRX_CMD_MODAL, helloText);
        kestrin::host::commandStack().addCommand("KESTRIN_HELLO", "HELLOLEAK", "HELLOLEAK", ACRX_CMD_MODAL, helloLeak);
        kestrin::host::commandStack().addCommand("KESTRIN_HELLO", "HELLOABORT", "HELLOABORT", ACRX_CMD_MODAL, helloAbort);
        kestrin::host::commandStack().addCommand("KESTRIN_HELLO", "HELLODIALOG", "HELLODIALOG", ACRX_CMD_MODAL,
                                                 helloDialog);
        menu = new HelloMenu;
        AfxSetResourceHandle(acedGetAcadResourceInstance());
        acedAddDefaultContextMenu(menu, appId, "Hello");
    } else if (message == 2) {
        kestrin::host::commandStack().removeGroup("KESTRIN_HELLO");
        if (std::getenv("KESTRIN_HELLO_KEEP_MENU")) return 0;  // freed at detach
        acedRemoveDefaultContextMenu(menu);
        delete menu;
        menu = nullptr;
    }
    return 0;
}

extern "C" int acrxGetApiVersion() { return 0xF0000; }
