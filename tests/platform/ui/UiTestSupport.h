// Drives dialogs as a person would: a scripted list of actions fed through
// the session, a resource table registered under a test module, and a test
// dialog that records what reaches it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/Framework.h"
#include "tests/support/SessionFixture.h"
#include "tests/support/ScriptedSource.h"

namespace kestrin::ui::test {

using session::Action;
using session::ActionKind;
using kestrin::test::act;
using kestrin::test::answer;
using kestrin::test::choose;
using kestrin::test::click;
using kestrin::test::closeBox;
using kestrin::test::expect;
using kestrin::test::focus;
using kestrin::test::key;
using kestrin::test::ref;
using kestrin::test::ScriptedSource;
using kestrin::test::select;
using kestrin::test::sysmenu;
using kestrin::test::type;

// The controls of the test dialogs.
enum : int {
    kTestDialog = 100,
    kNestedDialog = 101,
    kText = 8000,
    kDynamic = 8001,
    kUndo = 3,
    kCaps = 8053,
    kLanguage = 8056,
    kHeight = 8003,
    kLine = 8019,
    kLeft = 8021,
    kCenter = 8022,
    kRight = 8023,
    kNewLine = 8024,
    kStartLine = 8020,
    kPlain = 8030,
    kDisabled = 8031,
    kGroup = 8032,
    kProgress = 1005,
    kList = 1121,
    kAboutCommand = 16,
    kIcon = 8052,
    kBitmap = 8010,
    kMenu = 8000,
    kAboutString = 3,
};

inline const ResourceTable& testResources() {
    static const ResourceTable table{
        .dialogs = {
            DialogTemplate{
                .id = kTestDialog,
                .caption = "Dialog",
                .width = 263,
                .height = 84,
                .controls = {
                    editText(kText, {7, 7, 249, 18}, ES_AUTOHSCROLL),
                    autoCheckBox(kDynamic, "Динамически"_cp, {7, 30, 63, 9}),
                    pushButton(kUndo, "Отмена"_cp, {132, 28, 32, 11}),
                    leftText(kCaps, "", {181, 30, 23, 9}, SS_SUNKEN),
                    leftText(kLanguage, "LAT", {233, 30, 23, 9}, SS_SUNKEN | SS_NOTIFY),
                    comboBox(kHeight, {63, 14, 30, 81}),
                    editText(kLine, {7, 54, 200, 15}, ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL),
                    autoRadioButton(kLeft, "L", {73, 0, 15, 13}, WS_GROUP | BS_PUSHLIKE),
                    autoRadioButton(kCenter, "C", {91, 0, 15, 13}, BS_PUSHLIKE),
                    autoRadioButton(kRight, "R", {107, 0, 15, 13}, BS_PUSHLIKE),
                    defPushButton(kStartLine, "Start", {267, 15, 13, 12}, WS_GROUP),
                    defPushButton(kNewLine, "Новая строка"_cp, {287, 15, 13, 12}),
                    pushButton(kPlain, "Plain", {10, 70, 20, 10}),
                    pushButton(kDisabled, "Off", {40, 70, 20, 10}, WS_DISABLED),
                    groupBox(kGroup, "Group", {0, 0, 100, 30}),
                    progressBar(kProgress, {60, 70, 100, 8}),
                    pushButton(IDCANCEL, "Выход"_cp, {200, 70, 30, 10}),
                }},
            DialogTemplate{.id = kNestedDialog,
                           .caption = "О программе"_cp,
                           .width = 212,
                           .height = 50,
                           .controls = {defPushButton(IDOK, "OK", {80, 30, 40, 12}),
                                        iconStatic(-1, kIcon, {5, 5, 20, 20}),
                                        leftText(-1, "Автор"_cp, {30, 5, 100, 8}),
                                        listBox(kList, {5, 30, 60, 20}, LBS_NOTIFY | LBS_SORT)}},
        },
        .menus = {MenuTemplate{.id = kMenu,
                               .items = {menuPopup("Строки"_cp, {menuItem("Текст/Редактирование"_cp, 100),
                                                                 menuSeparator(),
                                                                 menuItem("Редактирование строк"_cp, 101)})}}},
        .strings = {{kAboutString, "О программе.."_cp}},
        .bitmaps = {imageFromArt(kBitmap, {"#.", ".#"}, {{'#', RGB(0, 0, 0)}, {'.', RGB(255, 255, 255)}})},
        .icons = {imageFromArt(kIcon, {"##", "##"}, {{'#', RGB(0, 0, 255)}})},
    };
    return table;
}

inline HINSTANCE fakeModule(std::uintptr_t n) { return reinterpret_cast<HINSTANCE>(n * 0x10000); }

// A fresh machine per test (tests/support/SessionFixture.h), with the test
// resources registered as the application's.
class UiTest : public kestrin::test::FreshSession {
protected:
    void SetUp() override {
        attachToSession();
        registerModuleResources(module_, &testResources());
        setApplicationInstance(module_);
    }
    void TearDown() override {
        FreshSession::TearDown();
        session::Session::instance().setSource(nullptr);
        setApplicationInstance(nullptr);
        AfxSetResourceHandle(nullptr);
        unregisterModuleResources(module_);
        detachFromSession();
        EXPECT_TRUE(modalStack().empty()) << "a dialog was left open";
    }

    HINSTANCE module_ = fakeModule(1);
};

// A dialog that records the notifications and messages it sees.
class RecordingDialog : public CDialog {
public:
    explicit RecordingDialog(UINT id = kTestDialog) : CDialog(id) {}

    std::vector<std::string> log;
    std::vector<UINT> pretranslated;
    std::function<void(RecordingDialog&)> onInit, onNewLine, onPlain;
    std::function<void(RecordingDialog&, UINT)> onSysCommand;
    std::string m_strText = "start";
    int m_nDynamic = 1;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        log.push_back("init");
        if (onInit) onInit(*this);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        pretranslated.push_back(msg->message);
        return CDialog::PreTranslateMessage(msg);
    }
    void DoDataExchange(CDataExchange* dx) override {
        if (m_nIDTemplate != kTestDialog) return;
        DDX_Text(dx, kText, m_strText);
        DDX_Check(dx, kDynamic, m_nDynamic);
    }
    void OnOK() override {
        log.push_back("OnOK");
        CDialog::OnOK();
    }
    void OnCancel() override {
        log.push_back("OnCancel");
        CDialog::OnCancel();
    }
    void OnClose() override {
        log.push_back("OnClose");
        CDialog::OnClose();
    }
    void OnShowWindow(BOOL show, UINT status) override {
        log.push_back(show ? "show" : "hide");
        CDialog::OnShowWindow(show, status);
    }
    void OnSysCommand(UINT id, LPARAM lParam) override {
        log.push_back("syscommand " + std::to_string(id));
        if (onSysCommand && (id & 0xFFF0) == kAboutCommand) onSysCommand(*this, id);
        else CDialog::OnSysCommand(id, lParam);
    }
    void OnTextChange() { log.push_back("EN_CHANGE " + windowRef(GetDlgItem(kText)->m_hWnd).text); }
    void OnLineChange() { log.push_back("EN_CHANGE line"); }
    void OnHeightEndOk() {
        std::string entry;
        auto* combo = static_cast<CComboBox*>(GetDlgItem(kHeight));
        combo->GetLBText(combo->GetCurSel(), entry);
        log.push_back("CBN_SELENDOK " + entry);
    }
    void OnHeightSelChange() { log.push_back("CBN_SELCHANGE"); }
    void OnHeightEdit() { log.push_back("CBN_EDITCHANGE"); }
    void OnJustify(UINT id) { log.push_back("justify " + std::to_string(id)); }
    void OnDynamic() { log.push_back("dynamic " + std::to_string(IsDlgButtonChecked(kDynamic))); }
    void OnLanguage() { log.push_back("STN_CLICKED"); }
    void OnNewLine() {
        log.push_back("new line");
        if (onNewLine) onNewLine(*this);
    }
    void OnPlain() {
        log.push_back("plain");
        if (onPlain) onPlain(*this);
    }

protected:
    DECLARE_MESSAGE_MAP()
};

}  // namespace kestrin::ui::test
