#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

// A field that paints black on white with a brush of its own, as a
// filtering edit does.
class ColouredEdit : public CEdit {
public:
    CBrush brush{RGB(255, 255, 255)};
    HBRUSH CtlColor(CDC* dc, UINT kind) {
        lastKind = kind;
        dc->SetTextColor(RGB(0, 0, 0));
        dc->SetBkColor(RGB(255, 255, 255));
        return brush;
    }
    UINT lastKind = 0;

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColouredEdit, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// A dialog that draws its icon while minimised and offers it for dragging.
class IconDialog : public RecordingDialog {
public:
    HICON icon = nullptr;
    ColouredEdit field;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, kText, field);
        RecordingDialog::DoDataExchange(dx);
    }
    void OnPaint() override {
        if (IsIconic()) {
            CPaintDC dc(this);
            CRect rect;
            GetClientRect(&rect);
            dc.DrawIcon((rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2,
                        (rect.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2, icon);
        } else {
            CDialog::OnPaint();
        }
    }
    HCURSOR OnQueryDragIcon() override { return reinterpret_cast<HCURSOR>(icon); }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(IconDialog, RecordingDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

using View = UiTest;

TEST_F(View, ColoursComeFromTheControlsReflectedHandler) {
    script({click(ref(kPlain))});
    IconDialog dlg;
    dlg.onPlain = [](RecordingDialog& base) {
        auto& d = static_cast<IconDialog&>(base);
        const ControlColours c = queryControlColours(d.field.m_hWnd);
        EXPECT_EQ(c.brush, static_cast<HBRUSH>(d.field.brush));
        EXPECT_EQ(brushColour(c.brush), RGB(255, 255, 255));
        EXPECT_EQ(d.field.lastKind, CTLCOLOR_EDIT);
        EXPECT_EQ(queryControlColours(d.GetDlgItem(kPlain)->m_hWnd).brush, nullptr) << "no handler, no brush";
        EXPECT_EQ(shownDialogs(), std::vector<HWND>{d.m_hWnd});
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
    EXPECT_TRUE(shownDialogs().empty());
}

TEST_F(View, AMinimisedDialogPaintsItsIconCentred) {
    script({click(ref(kPlain))});
    IconDialog dlg;
    dlg.onPlain = [](RecordingDialog& base) {
        auto& d = static_cast<IconDialog&>(base);
        d.icon = AfxGetApp()->LoadIcon(kIcon);
        EXPECT_EQ(paintDialog(d.m_hWnd), nullptr) << "not minimised";
        d.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        EXPECT_TRUE(d.IsIconic());
        EXPECT_EQ(paintDialog(d.m_hWnd), d.icon);
        EXPECT_EQ(queryDragIcon(d.m_hWnd), reinterpret_cast<HCURSOR>(d.icon));
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
}

TEST(Fonts, PointFontsKeepFaceAndSize) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "MS Sans Serif"));
    LOGFONT lf;
    ASSERT_TRUE(font.GetLogFont(&lf));
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(pointsOfHeight(lf.lfHeight), 9);
    const HFONT handle = font;
    EXPECT_EQ(CFont::FromHandle(handle), CFont::FromHandle(handle));
    font.DeleteObject();
    EXPECT_EQ(CFont::FromHandle(handle), nullptr) << "a deleted font has no object";
}

}  // namespace
}  // namespace kestrin::ui::test
