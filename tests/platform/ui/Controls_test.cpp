#include <cstring>

#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

using Buttons = UiTest;

TEST_F(Buttons, AutoCheckBoxTogglesBeforeItsClickNotificationAndTakesTheFocus) {
    script({click(ref(kDynamic)), expect("focus", ref(kDynamic)), click(ref("Динамически"_cp)), key("escape")});
    RecordingDialog dlg;
    dlg.DoModal();
    EXPECT_FALSE(failed()) << failure();
    std::vector<std::string> got;
    for (const auto& l : dlg.log)
        if (l.rfind("dynamic", 0) == 0) got.push_back(l);
    EXPECT_EQ(got, (std::vector<std::string>{"dynamic 0", "dynamic 1"}));
}

TEST_F(Buttons, AutoRadioButtonsClearTheOthersOfTheirGroupOnly) {
    script({click(ref(kLeft)), click(ref(kRight)), expect("unchecked", ref(kLeft)), expect("checked", ref(kRight)),
            click(ref(kPlain))});
    RecordingDialog dlg;
    dlg.onInit = [](RecordingDialog& d) { d.CheckDlgButton(kStartLine, 1); };
    dlg.onPlain = [](RecordingDialog& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(kCenter), 0u);
        EXPECT_EQ(d.IsDlgButtonChecked(kStartLine), 1u) << "a control of the next group keeps its state";
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(Buttons, HiddenDisabledAndMissingControlsCannotBeClicked) {
    struct Case {
        Action action;
        std::string failure;
    };
    const std::vector<Case> cases = {
        {click(ref(kDisabled), 1), "test:1: click: button 8031 (\"Off\") is disabled"},
        {click(ref(kNewLine), 2), "test:2: click: button 8024 (\"Новая строка\") is hidden"},
        {click(ref(4711), 3), "test:3: click: dialog 100 (\"Dialog\") has no control 4711"},
        {click(ref("Nowhere"), 4), "test:4: click: dialog 100 (\"Dialog\") has no control with caption or tooltip \"Nowhere\""},
        {click(ref(kGroup), 5), "test:5: click: button 8032 (\"Group\") is a group box, which takes no clicks"},
        {click(ref(kCaps), 6), "test:6: click: static 8053 takes no clicks (a static without the notify style)"},
        {focus(ref(kDisabled), 7), "test:7: focus: button 8031 (\"Off\") is disabled"},
    };
    for (const Case& c : cases) {
        session::Session::instance().reset();
        script({c.action, click(ref(kPlain))});
        RecordingDialog dlg;
        dlg.onInit = [](RecordingDialog& d) { d.GetDlgItem(kNewLine)->ShowWindow(SW_HIDE); };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(failure(), c.failure);
        EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "plain"), 0);
    }
}

TEST_F(Buttons, ControlsAreFoundByCaptionThenByTooltip) {
    script({click(ref("Новая строка"_cp)), click(ref("Подсказка"_cp)), key("escape")});
    RecordingDialog dlg;
    CToolTipCtrl tips;
    dlg.onInit = [&tips](RecordingDialog& d) {
        tips.Create(&d);
        tips.AddTool(d.GetDlgItem(kPlain), "Подсказка"_cp);
        tips.Activate(TRUE);
    };
    dlg.DoModal();
    EXPECT_FALSE(failed()) << failure();
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "new line"), 1);
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "plain"), 1);
    EXPECT_EQ(tips.m_hWnd, nullptr) << "the tooltip went with its dialog";
}

TEST_F(Buttons, AmbiguousCaptionIsRejected) {
    script({click(ref("Same"), 8)});
    RecordingDialog dlg;
    dlg.onInit = [](RecordingDialog& d) {
        d.SetDlgItemText(kPlain, "Same");
        d.SetDlgItemText(kStartLine, "Same");
    };
    dlg.DoModal();
    EXPECT_EQ(failure(), "test:8: click: caption \"Same\" fits button 8020 (\"Same\") and button 8030 (\"Same\") of "
                         "dialog 100 (\"Dialog\")");
}

TEST_F(Buttons, NotifyingStaticReportsClicks) {
    script({click(ref("LAT")), key("escape")});
    RecordingDialog dlg;
    dlg.DoModal();
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "STN_CLICKED"), 1);
}

TEST_F(Buttons, ImagesFontsAndIconsAreKeptAsState) {
    script({click(ref(kPlain))});
    RecordingDialog dlg;
    CBitmap bitmap;
    CFont symbol;
    dlg.onPlain = [&](RecordingDialog& d) {
        ASSERT_TRUE(bitmap.LoadBitmap(kBitmap));
        BITMAP info;
        ASSERT_TRUE(bitmap.GetBitmap(&info));
        EXPECT_EQ(info.bmWidth, 2);
        auto* button = static_cast<CButton*>(d.GetDlgItem(kPlain));
        EXPECT_EQ(button->SetBitmap(bitmap), nullptr);
        EXPECT_EQ(windowRef(button->m_hWnd).image().imageId, kBitmap);

        LOGFONT lf;
        ASSERT_TRUE(d.GetFont()->GetLogFont(&lf));
        EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
        std::strcpy(lf.lfFaceName, "Symbol");
        ASSERT_TRUE(symbol.CreateFontIndirect(&lf));
        button->SetFont(&symbol);
        EXPECT_EQ(windowRef(button->m_hWnd).fontFace, "Symbol");
        EXPECT_EQ(windowRef(button->m_hWnd).fontPoints, 8);
        EXPECT_EQ(windowRef(d.GetDlgItem(kText)->m_hWnd).fontFace, "MS Sans Serif");

        const HICON icon = AfxGetApp()->LoadIcon(kIcon);
        ASSERT_NE(icon, nullptr);
        d.SetIcon(icon, TRUE);
        EXPECT_EQ(iconResourceId(d.GetIcon(TRUE)), kIcon);
        EXPECT_EQ(AfxGetApp()->LoadIcon(999), nullptr);
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
}

TEST(ProgressBar, RangePositionAndSteppingWrapAround) {
    CProgressCtrl bar;
    ASSERT_TRUE(bar.Create(0, RECT{0, 0, 100, 10}, nullptr, 1005));
    bar.SetRange(0, 4096);
    EXPECT_EQ(bar.SetPos(200), 0);
    EXPECT_EQ(bar.GetPos(), 200);
    bar.SetPos(5000);
    EXPECT_EQ(bar.GetPos(), 4096) << "positions stay inside the range";
    bar.SetRange32(0, 10);
    bar.SetPos(8);
    bar.SetStep(3);
    EXPECT_EQ(bar.StepIt(), 8);
    EXPECT_EQ(bar.GetPos(), 1) << "stepping past the end starts over";
    int lo = 0, hi = 0;
    bar.GetRange(lo, hi);
    EXPECT_EQ(hi, 10);
}

TEST(ToolTips, OneTextPerToolAndRelayedMessagesAreCounted) {
    CButton button;
    ASSERT_TRUE(button.Create("b", BS_PUSHBUTTON, RECT{}, nullptr, 7));
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&button));
    tips.AddTool(&button, "first");
    tips.AddTool(&button, "second");
    tips.AddTool(&button, "other", nullptr, 1);
    EXPECT_EQ(tips.GetToolCount(), 2);
    std::string text;
    tips.GetText(text, &button);
    EXPECT_EQ(text, "second");
    tips.UpdateTipText("third", &button, 1);
    tips.GetText(text, &button, 1);
    EXPECT_EQ(text, "third");
    MSG msg{button.m_hWnd, WM_LBUTTONDOWN, 0, 0, 0, {}};
    tips.RelayEvent(&msg);
    tips.RelayEvent(&msg);
    EXPECT_EQ(windowRef(tips.m_hWnd).toolTip().relayed, 2);
    tips.DelTool(&button);
    EXPECT_EQ(tips.GetToolCount(), 1);
}

using Checks = UiTest;

TEST_F(Checks, ExpectationsThatDoNotHoldNameWhatWasFound) {
    struct Case {
        Action check;
        std::string failure;
    };
    const std::vector<Case> cases = {
        {expect("text", ref(kText), "other", 1), "test:1: expect text edit 8000: its text is \"start\""},
        {expect("checked", ref(kLeft), {}, 2), "test:2: expect checked button 8021 (\"L\"): it is unchecked"},
        {expect("disabled", ref(kPlain), {}, 3), "test:3: expect disabled button 8030 (\"Plain\"): it is enabled"},
        {expect("focus", ref(kPlain), {}, 4), "test:4: expect focus button 8030 (\"Plain\"): the focus is on edit 8000"},
        {expect("shown", ref(4711), {}, 5), "test:5: expect shown: dialog 100 (\"Dialog\") has no control 4711"},
    };
    for (const Case& c : cases) {
        session::Session::instance().reset();
        script({expect("enabled", ref(kText)), expect("checked", ref(kDynamic)), c.check});
        RecordingDialog dlg;
        dlg.DoModal();
        EXPECT_EQ(failure(), c.failure);
    }
}

TEST_F(Checks, ExpectOutsideADialogIsRefusedAndUnknownKindsAreLeftToOthers) {
    script({expect("shown", ref(kText), {}, 3)});
    EXPECT_FALSE(session::Session::instance().next(session::Waiter::CommandLine).has_value());
    EXPECT_EQ(failure(), "test:3: expect shown: no dialog is open");

    session::Session::instance().reset();
    script({expect("drawing", ref(kText), {}, 4)});
    EXPECT_FALSE(session::Session::instance().next(session::Waiter::CommandLine).has_value());
    EXPECT_EQ(failure().rfind("test:4: nothing here can check \"drawing\"", 0), 0u) << failure();
}

}  // namespace
}  // namespace kestrin::ui::test
