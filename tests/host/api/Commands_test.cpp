// The command stack, the command line, default context menus, the document
// manager and the system registry.
#include "host/api/AcApDocManager.h"
#include "host/api/AcEdCommandStack.h"
#include "host/api/AcEdUIContext.h"
#include "host/api/AcRxDynamicLinker.h"
#include "host/api/CommandLine.h"
#include "host/api/SystemRegistry.h"
#include "base/Cp1251.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin;

namespace {

std::vector<std::string> ran;
void first() { ran.push_back("first"); }
void second() { ran.push_back("second"); }

class Commands : public test::HostTest {
protected:
    Commands() { ran.clear(); }
    host::HostRuntime& runtime() { return host::HostRuntime::instance(); }
};

TEST_F(Commands, RegisteredThroughTheSystemRegistryAndRunByNameInAnyCase) {
    auto* stack = AcEdCommandStack::cast(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"));
    ASSERT_NE(stack, nullptr);
    auto* cls = static_cast<AcRxClass*>(acrxClassDictionary()->at("AcEdCommandStack"));
    ASSERT_NE(cls, nullptr);
    EXPECT_TRUE(stack->isKindOf(cls));
    EXPECT_EQ(stack->addCommand("Kestrin", "EKestrin", "EKestrin", ACRX_CMD_MODAL, &first), Acad::eOk);
    EXPECT_EQ(stack->addCommand("Kestrin", "CKestrin", "CLocal", ACRX_CMD_MODAL, &second), Acad::eOk);
    EXPECT_EQ(stack->addCommand("KESTRIN", "ekestrin", "x", 0, &second), Acad::eDuplicateKey);
    EXPECT_EQ(stack->addCommand("Kestrin", "two words", "x", 0, &second), Acad::eInvalidInput);
    EXPECT_EQ(stack->addCommand("Kestrin", "Nothing", "x", 0, nullptr), Acad::eInvalidInput);
    EXPECT_EQ(stack->commandsOf("kestrin"), (std::vector<std::string>{"EKestrin", "CKestrin"}));
    EXPECT_EQ(stack->addCommand("Other", "OTHER", "OTHER", ACRX_CMD_MODAL, &first), Acad::eOk);
    EXPECT_EQ(stack->groupNames(), (std::vector<std::string>{"Kestrin", "Other"}));

    EXPECT_TRUE(runtime().runCommand("ekestrin"));
    EXPECT_TRUE(runtime().runCommand("_CKESTRIN"));  // global name
    EXPECT_TRUE(runtime().runCommand("clocal"));     // local name
    EXPECT_FALSE(runtime().hasCommand("_clocal"));   // not a global name
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "second"}));

    EXPECT_EQ(stack->removeGroup("KESTRIN"), Acad::eOk);
    EXPECT_EQ(stack->removeGroup("Kestrin"), Acad::eKeyNotFound);
    EXPECT_FALSE(runtime().hasCommand("EKestrin"));
    EXPECT_FALSE(runtime().runCommand("EKestrin"));
    EXPECT_EQ(output(), "\nUnknown command \"EKESTRIN\".  Press F1 for help.\n");
}

TEST_F(Commands, RegenRunsFromTheCommandLineAndFromAModule) {
    const int before = host::displayCounters().regenerations;
    EXPECT_EQ(acedCommand(RTSTR, "_regen", 0), RTNORM);
    EXPECT_TRUE(runtime().runCommand("REGEN"));
    EXPECT_EQ(host::displayCounters().regenerations, before + 2);
    EXPECT_EQ(output(), "\nRegenerating model.\n\nRegenerating model.\n");
    EXPECT_EQ(acedCommand(RTSTR, "_nosuch", RTNONE), RTERROR);
    EXPECT_EQ(acedCommand(RTSTR, "_regen", RTSTR, "extra", 0), RTERROR);
    EXPECT_EQ(host::displayCounters().regenerations, before + 2);
}

TEST_F(Commands, PrintfAndDisplayCounters) {
    EXPECT_EQ(acutPrintf("\nНе найден файл %s.\n"_cp, "zor.shx"), 25);
    EXPECT_EQ(output(), std::string("\nНе найден файл zor.shx.\n"_cp));
    AcApDocument* doc = acDocManagerPtr()->curDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->database(), &db());
    doc->transactionManager()->queueForGraphicsFlush();
    doc->transactionManager()->flushGraphics();
    acedUpdateDisplay();
    EXPECT_EQ(host::displayCounters().queuedFlushes, 1);
    EXPECT_EQ(host::displayCounters().graphicsFlushes, 1);
    EXPECT_EQ(host::displayCounters().displayUpdates, 1);
}

TEST_F(Commands, SentStringsWaitInOrderAndEchoWhenTheyRun) {
    AcApDocument* doc = acDocManagerPtr()->curDocument();
    EXPECT_EQ(acDocManagerPtr()->sendStringToExecute(doc, "CKestrin ", true, false, true), Acad::eOk);
    EXPECT_EQ(acDocManagerPtr()->sendStringToExecute(doc, "quiet ", true, false, false), Acad::eOk);
    EXPECT_EQ(acDocManagerPtr()->sendStringToExecute(doc, nullptr), Acad::eInvalidInput);
    EXPECT_EQ(acDocManagerPtr()->sendStringToExecute(nullptr, "x"), Acad::eInvalidInput);
    EXPECT_TRUE(inputs().empty());
    EXPECT_EQ(runtime().takeSentInput(), "CKestrin ");
    EXPECT_EQ(inputs(), (std::vector<std::string>{"CKestrin "}));
    EXPECT_EQ(runtime().takeSentInput(), "quiet ");
    EXPECT_EQ(inputs().size(), 1u);
    EXPECT_FALSE(runtime().takeSentInput());
}

class Menu : public AcEdUIContext {
public:
    void* getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) override { return nullptr; }
    void onCommand(Adesk::UInt32) override {}
};

TEST_F(Commands, DefaultContextMenusAreKeptInOrderUntilRemoved) {
    Menu a, b;
    int app = 0;
    EXPECT_TRUE(acedAddDefaultContextMenu(&a, &app, "Строки"_cp));
    EXPECT_TRUE(acedAddDefaultContextMenu(&b, &app, "Other"));
    EXPECT_FALSE(acedAddDefaultContextMenu(&a, &app, "again"));
    EXPECT_FALSE(acedAddDefaultContextMenu(nullptr, &app, "none"));
    auto menus = runtime().defaultContextMenus();
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0].context, &a);
    EXPECT_EQ(menus[0].appId, &app);
    EXPECT_EQ(menus[0].name, "Строки"_cp);
    EXPECT_TRUE(acedRemoveDefaultContextMenu(&a));
    EXPECT_FALSE(acedRemoveDefaultContextMenu(&a));
    menus = runtime().defaultContextMenus();
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].context, &b);
    EXPECT_TRUE(a.isKindOf(static_cast<AcRxClass*>(acrxClassDictionary()->at("AcEdUIContext"))));
}

TEST_F(Commands, DynamicLinkerRemembersUnlockedAndMdiAwareApplications) {
    auto* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at("DynamicLinker"));
    ASSERT_NE(linker, nullptr);
    int app = 0;
    EXPECT_TRUE(linker->isApplicationLocked(&app));
    EXPECT_TRUE(linker->unlockApplication(&app));
    EXPECT_TRUE(linker->registerAppMDIAware(&app));
    EXPECT_FALSE(linker->isApplicationLocked(&app));
    EXPECT_TRUE(linker->isAppMDIAware(&app));
    EXPECT_FALSE(linker->unlockApplication(nullptr));
    EXPECT_EQ(AcEdCommandStack::cast(linker), nullptr);
    runtime().reset();
    EXPECT_TRUE(linker->isApplicationLocked(&app));
}

}  // namespace
