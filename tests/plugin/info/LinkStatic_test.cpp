// The link control on windows of its own: binding, fitting, drawing state.
#include <gtest/gtest.h>

#include "platform/ui/Framework.h"
#include "platform/ui/View.h"
#include "plugin/info/LinkStatic.h"

namespace kestrin::test {
namespace {

// A dialog window with one static (id 77) that a CLinkStatic binds to.
class LinkStaticTest : public ::testing::Test {
protected:
    LinkStaticTest() {
        dialog = ui::createWindow(ui::WindowKind::Dialog, nullptr, 0, WS_POPUP, "d");
        dialogFont.CreatePointFont(80, "MS Sans Serif");
        ui::windowRef(dialog).font = dialogFont;
        ui::windowRef(dialog).rect = RECT{50, 50, 450, 250};
        ui::windowRef(dialog).frameworkObject = ui::makeFrameworkObject(ui::WindowKind::Dialog);
        ui::windowRef(dialog).frameworkObject->m_hWnd = dialog;
    }
    ~LinkStaticTest() override {
        link.reset();
        ui::destroyWindow(dialog);
    }
    // Makes the static and binds the link control to it.
    ui::Window& bind(const std::string& text, DWORD style, RECT rect, const std::string& target = {}) {
        const HWND h = ui::createWindow(ui::WindowKind::Static, dialog, 77, style | WS_CHILD | WS_VISIBLE, text);
        ui::Window& w = ui::windowRef(h);
        w.rect = rect;
        w.frameworkObject = ui::makeFrameworkObject(ui::WindowKind::Static);
        w.frameworkObject->m_hWnd = h;
        w.handler = w.frameworkObject.get();
        link = std::make_unique<CLinkStatic>();
        if (!target.empty()) link->SetTarget(target);
        EXPECT_TRUE(link->SubclassWindow(h));
        return w;
    }
    HBRUSH draw(CDC& dc) {
        const auto* entry = ui::msgmap::findEntry(link->messageMap(), WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
        return reinterpret_cast<HBRUSH>(entry->pfn(link.get(), reinterpret_cast<WPARAM>(&dc), CTLCOLOR_STATIC));
    }
    static ::testing::AssertionResult same(const RECT& a, const RECT& b) {
        if (a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "{" << a.left << ", " << a.top << ", " << a.right << ", " << a.bottom
                                             << "}";
    }

    HWND dialog = nullptr;
    CFont dialogFont;
    std::unique_ptr<CLinkStatic> link;
};

// Text is measured at 5 pixels a character and 13 pixels high.

TEST_F(LinkStaticTest, AnEmptyStaticWithATargetSetBeforeBindingShowsTheTarget) {
    ui::Window& w = bind("", SS_LEFT, RECT{10, 20, 300, 60}, "http://example.com");
    EXPECT_EQ(w.text, "http://example.com");
    EXPECT_EQ(link->GetTarget(), "http://example.com");
    EXPECT_TRUE(same(w.rect, RECT{10, 20, 10 + 18 * 5, 33}));
    EXPECT_TRUE(w.style & SS_NOTIFY);
    EXPECT_EQ(ui::toolTipTextOf(w.handle), "http://example.com");
}

TEST_F(LinkStaticTest, WithoutATargetTheTextIsTheTarget) {
    ui::Window& w = bind("mail@example.com", SS_LEFT, RECT{10, 20, 300, 60});
    EXPECT_EQ(link->GetTarget(), "mail@example.com");
    link->SetTarget("mailto:mail@example.com");
    EXPECT_EQ(w.text, "mail@example.com");
    EXPECT_EQ(ui::toolTipTextOf(w.handle), "mailto:mail@example.com");
}

TEST_F(LinkStaticTest, ARightAlignedControlKeepsItsRightEdge) {
    ui::Window& w = bind("abcd", SS_RIGHT, RECT{100, 10, 300, 40});
    EXPECT_TRUE(same(w.rect, RECT{280, 10, 300, 23}));
}

TEST_F(LinkStaticTest, ACentredControlKeepsItsCentre) {
    ui::Window& w = bind("abcd", SS_CENTER | SS_CENTERIMAGE, RECT{100, 10, 300, 40});
    EXPECT_TRUE(same(w.rect, RECT{190, 18, 210, 32}));
    // Odd leftovers: the shrink truncates toward zero on both sides.
    ui::windowRef(w.handle).rect = RECT{100, 10, 125, 40};
    link->FitToText();
    EXPECT_TRUE(same(w.rect, RECT{102, 18, 123, 32}));
}

TEST_F(LinkStaticTest, FittingCanBeSwitchedOff) {
    ui::Window& w = bind("abcd", SS_LEFT, RECT{100, 10, 300, 40});
    EXPECT_TRUE(same(w.rect, RECT{100, 10, 120, 23}));
    link->SetFitToText(false);
    link->SetWindowText("abcdefgh");
    link->FitToText();
    EXPECT_TRUE(same(w.rect, RECT{100, 10, 120, 23}));
}

TEST_F(LinkStaticTest, DrawsInLinkColoursOverTheParentsBackground) {
    bind("abc", SS_LEFT, RECT{0, 0, 100, 20});
    CDC dc;
    EXPECT_EQ(draw(dc), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(dc.textColour, RGB(0, 0, 238));
    EXPECT_EQ(dc.backMode, TRANSPARENT);
    // Underlined by default: a copy of the dialog's font, made once.
    LOGFONT lf;
    ASSERT_NE(dc.font, nullptr);
    ASSERT_TRUE(dc.font->GetLogFont(&lf));
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    CFont* first = dc.font;
    CDC again;
    draw(again);
    EXPECT_EQ(again.font, first);

    link->MarkVisited(true);
    link->SetUnderlined(false);
    CDC visited;
    draw(visited);
    EXPECT_EQ(visited.textColour, RGB(85, 26, 139));
    EXPECT_EQ(visited.font, nullptr);
    EXPECT_EQ(ui::queryControlColours(link->m_hWnd).text, RGB(85, 26, 139));
}

TEST_F(LinkStaticTest, ShowsTheArrowCursor) {
    bind("abc", SS_LEFT, RECT{0, 0, 100, 20});
    ::SetCursor(nullptr);
    EXPECT_EQ(ui::sendMessage(link->m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(link->m_hWnd), 1), TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace kestrin::test
