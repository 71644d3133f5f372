#include "host/ui/AcUiDialog.h"

#include <gtest/gtest.h>

#include "host/api/EditorInput.h"
#include "host/ui/HostWindow.h"
#include "platform/session/ScriptSource.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/ResourceChain.h"
#include "platform/ui/Window.h"
#include "tests/support/SessionFixture.h"

using namespace kestrin;

namespace {

constexpr int kDialog = 7000;
constexpr int kTakePoint = 7001;

HINSTANCE__ moduleA{}, moduleB{};

ui::ResourceTable tableWithCaption(const std::string& caption) {
    ui::ResourceTable t;
    ui::DialogTemplate d;
    d.id = kDialog;
    d.caption = caption;
    d.width = 100;
    d.height = 40;
    d.controls = {ui::pushButton(kTakePoint, "Take point", {5, 5, 40, 12}),
                  ui::defPushButton(IDOK, "OK", {50, 20, 20, 12}),
                  ui::pushButton(IDCANCEL, "Cancel", {75, 20, 20, 12})};
    t.dialogs.push_back(d);
    return t;
}

const ui::ResourceTable tableA = tableWithCaption("A");
const ui::ResourceTable tableB = tableWithCaption("B");

enum class After { Complete, CompleteHidden, CancelOnFailure };

// Takes a point while hidden, the way a palette's point button does, and
// records what it saw.
class PointDialog : public CAcUiDialog {
public:
    PointDialog(After after, HINSTANCE resource = nullptr)
        : CAcUiDialog(kDialog, CWnd::FromHandle(adsw_acadMainWnd()), resource), after_(after) {}

    bool hiddenWhileTaking = false;
    bool noActiveDialogWhileTaking = false;
    bool shownAfter = false;
    int rc = 0;
    double x = 0, y = 0;
    int cancels = 0;
    std::string caption;

    BOOL OnInitDialog() override {
        caption = ui::windowRef(m_hWnd).text;
        return CAcUiDialog::OnInitDialog();
    }
    void OnCancel() override {
        ++cancels;
        CAcUiDialog::OnCancel();
    }

protected:
    void OnTakePoint() {
        BeginEditorCommand();
        BeginEditorCommand();  // twice changes nothing
        hiddenWhileTaking = !IsWindowVisible() && inEditorCommand();
        noActiveDialogWhileTaking = ui::activeDialog() == nullptr;
        ads_point p = {0, 0, 0};
        rc = acedGetPoint(nullptr, "\nPoint: ", p);
        x = p[0];
        y = p[1];
        if (rc != RTNORM) {
            CancelEditorCommand();
            return;
        }
        CompleteEditorCommand(after_ != After::CompleteHidden);
        shownAfter = IsWindowVisible() && ui::activeDialog() == m_hWnd && !inEditorCommand();
        if (after_ == After::CompleteHidden) ShowWindow(SW_SHOW);
    }
    DECLARE_MESSAGE_MAP()

private:
    After after_;
};

BEGIN_MESSAGE_MAP(PointDialog, CAcUiDialog)
    ON_BN_CLICKED(kTakePoint, OnTakePoint)
END_MESSAGE_MAP()

class AcUiDialogTest : public test::FreshSession {
protected:
    void SetUp() override {
        ui::registerModuleResources(&moduleA, &tableA);
        ui::registerModuleResources(&moduleB, &tableB);
        chain_ = std::make_unique<CDynLinkLibrary>(&moduleA, &moduleA);
    }
    void TearDown() override {
        FreshSession::TearDown();
        chain_.reset();
        ui::unregisterModuleResources(&moduleA);
        ui::unregisterModuleResources(&moduleB);
    }
    void run(const std::string& script) {
        source_ = std::make_unique<session::ScriptSource>("t.ks", script);
        session::Session::instance().setSource(source_.get());
    }
    std::unique_ptr<CDynLinkLibrary> chain_;
    std::unique_ptr<session::ScriptSource> source_;
};

}  // namespace

TEST_F(AcUiDialogTest, TheDialogHidesWhileTheHostTakesAPointAndComesBack) {
    run("click 7001\npoint 1,2\nclick \"OK\"\n");
    PointDialog dialog(After::Complete);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
    EXPECT_TRUE(dialog.hiddenWhileTaking);
    EXPECT_TRUE(dialog.noActiveDialogWhileTaking) << "a hidden dialog must not take actions";
    EXPECT_EQ(dialog.rc, RTNORM);
    EXPECT_DOUBLE_EQ(dialog.x, 1);
    EXPECT_DOUBLE_EQ(dialog.y, 2);
    EXPECT_TRUE(dialog.shownAfter);
    EXPECT_EQ(dialog.caption, "A");
}

TEST_F(AcUiDialogTest, CompletingWithoutRestoreLeavesTheDialogHidden) {
    run("click 7001\npoint 3,4\nclick \"OK\"\n");
    PointDialog dialog(After::CompleteHidden);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(dialog.shownAfter);
}

TEST_F(AcUiDialogTest, EscapeWhileHiddenCancelsTheDialogWithoutOnCancel) {
    run("click 7001\nescape\n");
    PointDialog dialog(After::Complete);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.rc, RTCAN);
    EXPECT_EQ(dialog.cancels, 0);
    EXPECT_FALSE(session::Session::instance().failed()) << "the script ended at the command line's turn";
}

TEST_F(AcUiDialogTest, AClickWhileHiddenFailsTheSessionAndTheDialogEnds) {
    run("click 7001\nclick \"OK\"\n");
    PointDialog dialog(After::Complete);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.rc, RTCAN);
    ASSERT_TRUE(session::Session::instance().failed());
    EXPECT_EQ(session::Session::instance().failure().rfind("t.ks:2: ", 0), 0u) << session::Session::instance().failure();
}

TEST_F(AcUiDialogTest, TheGivenResourceModuleIsSearchedFirstAndTheChainRestoredAfter) {
    run("click \"Cancel\"\n");
    const HINSTANCE before = AfxGetResourceHandle();
    PointDialog dialog(After::Complete, &moduleB);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.caption, "B");
    EXPECT_EQ(dialog.resourceInstance(), &moduleB);
    EXPECT_EQ(AfxGetResourceHandle(), before);
}

TEST(HostWindow, TheMainWindowAndInstanceAreStable) {
    const HWND main = adsw_acadMainWnd();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(adsw_acadMainWnd(), main);
    EXPECT_TRUE(ui::windowRef(main).shown);
    EXPECT_EQ(ui::windowRef(main).parent, nullptr);
    EXPECT_NE(acedGetAcadResourceInstance(), nullptr);
    EXPECT_EQ(acedGetAcadResourceInstance(), acedGetAcadResourceInstance());
}
