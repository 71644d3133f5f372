#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

enum : int { kLargeDialog = 300, kLargeEdit = 3001 };

const ResourceTable& largeFontResources() {
    static const ResourceTable table{
        .dialogs = {DialogTemplate{.id = kLargeDialog,
                                   .caption = "Large",
                                   .width = 100,
                                   .height = 40,
                                   .fontSize = 12,
                                   .controls = {editText(kLargeEdit, {8, 16, 40, 12})}}},
    };
    return table;
}

using DialogUnits = UiTest;

TEST_F(DialogUnits, TheEightPointFontHasTheClassicBaseUnits) {
    const SIZE base = dialogBaseUnits(8);
    EXPECT_EQ(base.cx, 6);
    EXPECT_EQ(base.cy, 13);
    const RECT r = dialogUnitsToPixels({7, 7, 249, 18});
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 11);
    EXPECT_EQ(r.right, 384);
    EXPECT_EQ(r.bottom, 40);
}

TEST_F(DialogUnits, ADialogIsLaidOutWithItsTemplateFontsBaseUnits) {
    const HINSTANCE module = fakeModule(7);
    registerModuleResources(module, &largeFontResources());
    AfxSetResourceHandle(module);
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(kLargeDialog));
    const SIZE base = dialogBaseUnits(12);
    EXPECT_GT(base.cy, 13) << "a larger font has larger units";
    const Window& edit = windowRef(dlg.GetDlgItem(kLargeEdit)->m_hWnd);
    EXPECT_EQ(edit.rect.left, 8 * base.cx / 4);
    EXPECT_EQ(edit.rect.top, 16 * base.cy / 8);
    EXPECT_EQ(edit.rect.bottom - edit.rect.top, 28 * base.cy / 8 - 16 * base.cy / 8);
    // One line of the dialog's text fits the height of 8 dialog units.
    CClientDC dc(&dlg);
    EXPECT_EQ(dc.GetTextExtent("x").cy, base.cy);
    const Window& d = windowRef(dlg.m_hWnd);
    EXPECT_EQ(d.rect.right, 100 * base.cx / 4);
    dlg.DestroyWindow();
    unregisterModuleResources(module);
}

}  // namespace
}  // namespace kestrin::ui::test
