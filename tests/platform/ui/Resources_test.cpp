#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

const ResourceTable& moduleTable() {
    static const ResourceTable table{
        .dialogs = {DialogTemplate{.id = 8002,
                                   .caption = "Palette",
                                   .width = 310,
                                   .height = 84,
                                   .fontSize = 9,
                                   .controls = {pushButton(IDCANCEL, "Выход"_cp, {285, 0, 15, 13})}}},
        .strings = {{3, "О программе.."_cp}, {7, "module only"}},
        .bitmaps = {imageFromArt(8010, {"#"}, {{'#', 0}})},
    };
    return table;
}

class ResourceChain : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        registerModuleResources(plugin_, &moduleTable());
    }
    void TearDown() override {
        unregisterModuleResources(plugin_);
        UiTest::TearDown();
    }
    HINSTANCE plugin_ = fakeModule(2);
};

TEST_F(ResourceChain, AModuleInTheChainIsSearchedWhileTheHostIsCurrent) {
    EXPECT_EQ(findDialog(8002).dialog, nullptr) << "not in the chain yet";
    AFX_EXTENSION_MODULE ext;
    ASSERT_TRUE(AfxInitExtensionModule(ext, plugin_));
    new CDynLinkLibrary(ext);
    AfxSetResourceHandle(module_);
    const FoundDialog found = findDialog(8002);
    EXPECT_EQ(found.module, plugin_);
    ASSERT_NE(found.dialog, nullptr);
    EXPECT_EQ(found.dialog->fontSize, 9);
    std::string text;
    ASSERT_TRUE(AfxLoadString(7, text));
    EXPECT_EQ(text, "module only");
    // The current handle comes first: string 3 exists in both.
    ASSERT_TRUE(AfxLoadString(3, text));
    EXPECT_EQ(resourceSearchOrder(), (std::vector<HINSTANCE>{module_, plugin_}));
    AfxSetResourceHandle(plugin_);
    EXPECT_EQ(resourceSearchOrder().front(), plugin_);
    EXPECT_EQ(AfxFindResourceHandle(8010, "bitmap"), plugin_);
    AfxTermExtensionModule(ext);
    AfxSetResourceHandle(module_);
    EXPECT_EQ(findDialog(8002).dialog, nullptr) << "gone with the extension module";
}

TEST_F(ResourceChain, ADialogOfTheModuleRunsAndIsGoneAfterUnregistering) {
    AFX_EXTENSION_MODULE ext;
    AfxInitExtensionModule(ext, plugin_);
    new CDynLinkLibrary(ext);
    script({key("escape")});
    CDialog palette(8002);
    EXPECT_EQ(palette.DoModal(), IDCANCEL);

    unregisterModuleResources(plugin_);
    EXPECT_EQ(findDialog(8002).dialog, nullptr);
    CDialog again(8002);
    EXPECT_EQ(again.DoModal(), -1);
    AfxTermExtensionModule(ext);
    registerModuleResources(plugin_, &moduleTable());  // for TearDown
}

TEST_F(ResourceChain, LoadStringReadsOneModuleAndCutsToTheBuffer) {
    char buffer[6];
    EXPECT_EQ(LoadString(plugin_, 7, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "modul");
    EXPECT_EQ(LoadString(module_, 7, buffer, sizeof buffer), 0);
}

TEST_F(ResourceChain, MenusAreBuiltFromTheTable) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kMenu));
    ASSERT_EQ(menu.GetMenuItemCount(), 1);
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), 3);
    EXPECT_EQ(popup->GetMenuItemID(0), 100u);
    EXPECT_EQ(popup->GetMenuItemID(1), 0u) << "separator";
    std::string text;
    popup->GetMenuString(101, text, MF_BYCOMMAND);
    EXPECT_EQ(text, "Редактирование строк"_cp);
    EXPECT_TRUE(menuHasCommand(menu, 101));
    EXPECT_FALSE(menuHasCommand(menu, 102));
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(4242));
}

TEST(ResourceRegistry, MalformedTablesAreRefusedWithEveryProblemNamed) {
    ResourceTable bad{
        .dialogs = {DialogTemplate{.id = 5, .controls = {pushButton(1, "a", {}), pushButton(1, "b", {})}},
                    DialogTemplate{.id = 5}},
        .bitmaps = {ImageResource{9, 2, 2, {0, 0, 0}}},
    };
    try {
        registerModuleResources(fakeModule(7), &bad);
        FAIL() << "registered a malformed table";
    } catch (const ResourceError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "module 458752: malformed resources:\n"
                  "  dialog 5 is declared twice\n"
                  "  bitmap 9 has 3 pixels for a size of 2 by 2\n"
                  "  dialog 5: control id 1 is used twice");
    }
    EXPECT_EQ(moduleResources(fakeModule(7)), nullptr);
    EXPECT_THROW(registerModuleResources(nullptr, &bad), ResourceError);
    EXPECT_THROW(registerModuleResources(fakeModule(7), nullptr), ResourceError);
}

TEST(ResourceRegistry, RegisteringTwiceIsRefusedAndKeepsTheFirstTable) {
    const ResourceTable one, two;
    registerModuleResources(fakeModule(8), &one);
    EXPECT_THROW(registerModuleResources(fakeModule(8), &two), ResourceError);
    EXPECT_EQ(moduleResources(fakeModule(8)), &one);
    unregisterModuleResources(fakeModule(8));
}

TEST(PixelArt, RowsBecomePixelsAndMistakesAreLocated) {
    const ImageResource img = imageFromArt(3, {"ab", "ba"}, {{'a', 1}, {'b', 2}});
    EXPECT_EQ(img.pixels, (std::vector<COLORREF>{1, 2, 2, 1}));
    EXPECT_EQ(img.width, 2);
    try {
        imageFromArt(4, {"ab", "abc"}, {{'a', 1}, {'b', 2}});
        FAIL();
    } catch (const ResourceError& e) {
        EXPECT_STREQ(e.what(), "image 4: row 2 has 3 pixels, row 1 has 2");
    }
    try {
        imageFromArt(5, {"ab", "aX"}, {{'a', 1}, {'b', 2}});
        FAIL();
    } catch (const ResourceError& e) {
        EXPECT_STREQ(e.what(), "image 5: row 2, column 2: character 'X' has no colour");
    }
}

}  // namespace
}  // namespace kestrin::ui::test
