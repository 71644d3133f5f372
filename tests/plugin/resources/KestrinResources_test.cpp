// The module's resource table: the palette template against its layout
// table, the edit dialog, the menu, the string, the icon and 42 distinct
// button faces.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/Cp1251.h"
#include "platform/ui/ResourceChain.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin;
using namespace kestrin::literals;
using ui::ControlClass;

namespace {

const ui::ResourceTable& table() { return *kestrinModuleResources(); }

const ui::ControlTemplate* control(const ui::DialogTemplate& d, int id) {
    auto it = std::find_if(d.controls.begin(), d.controls.end(), [&](const auto& c) { return c.id == id; });
    return it == d.controls.end() ? nullptr : &*it;
}

struct Placed {
    int id, x, y, w, h;
    ControlClass kind;
};

std::vector<Placed> paletteLayout() {
    const auto B = ControlClass::Button;
    std::vector<Placed> out = {
        {8008, 8, 0, 15, 13, B},    {8007, 26, 0, 15, 13, B},   {8011, 44, 0, 15, 13, B},
        {8021, 73, 0, 15, 13, B},   {8022, 91, 0, 15, 13, B},   {8023, 107, 0, 15, 13, B},
        {8046, 129, 0, 15, 13, B},  {8048, 146, 0, 15, 13, B},  {8013, 179, 0, 15, 13, B},
        {8044, 201, 0, 15, 13, B},  {8043, 219, 0, 15, 13, B},  {4, 248, 0, 15, 13, B},
        {3, 267, 0, 15, 13, B},     {2, 285, 0, 15, 13, B},
        {8002, 7, 14, 55, 88, ControlClass::ComboBox},  {8003, 63, 14, 30, 81, ControlClass::ComboBox},
        {8004, 94, 14, 30, 81, ControlClass::ComboBox}, {8005, 125, 14, 30, 81, ControlClass::ComboBox},
        {8006, 156, 14, 30, 81, ControlClass::ComboBox},
        {8015, 187, 14, 19, 12, ControlClass::Edit},    {8016, 207, 14, 19, 12, ControlClass::Edit},
        {8017, 227, 15, 13, 12, B}, {8018, 247, 15, 13, 12, B}, {8020, 267, 15, 13, 12, B},
        {8024, 287, 15, 13, 12, B},
        {8038, 269, 29, 18, 12, ControlClass::Edit},    {8041, 288, 29, 13, 11, B},
        {8019, 7, 54, 294, 15, ControlClass::Edit},
        {8053, 226, 68, 23, 9, ControlClass::Static},   {8057, 252, 68, 23, 9, ControlClass::Static},
        {8056, 278, 68, 23, 9, ControlClass::Static},
    };
    const std::pair<int, int> firstRow[] = {
        {8031, 7},   {8032, 17},  {8042, 27},  {8039, 37},  {8033, 47},  {8029, 64},  {8030, 74},  {8012, 84},
        {8025, 94},  {8026, 104}, {8027, 114}, {8028, 124}, {8034, 134}, {8035, 144}, {8036, 154}, {8037, 164},
        {8045, 174}, {8040, 184}, {8068, 201}, {8071, 211}, {8073, 221}, {8080, 231}, {8087, 241}, {8091, 251}};
    for (auto [id, x] : firstRow) out.push_back({id, x, 29, 13, 11, B});
    const int secondRow[] = {8047, 8049, 8050, 8051, 8052, 8061, 8062, 8063, 8064, 8065, 8066, 8067, 8069, 8070, 8072,
                             8074, 8075, 8076, 8077, 8078, 8079, 8081, 8082, 8083, 8084, 8086, 8088, 8089, 8090};
    int x = 7;
    for (int id : secondRow) {
        out.push_back({id, x, 41, 13, 11, B});
        x += 10;
    }
    return out;
}

TEST(ModuleResources, TheTableHasNoProblems) {
    EXPECT_EQ(ui::checkResourceTable(table()), std::vector<std::string>{});
}

TEST(ModuleResources, PaletteTemplateHoldsEveryControlInItsPlace) {
    const ui::DialogTemplate* d = table().dialog(IDD_TEXT_PALETTE);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->width, 310);
    EXPECT_EQ(d->height, 84);
    EXPECT_EQ(d->fontFace, "MS Sans Serif");
    EXPECT_EQ(d->fontSize, 9);
    EXPECT_EQ(d->style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);

    const std::vector<Placed> layout = paletteLayout();
    EXPECT_EQ(d->controls.size(), layout.size());
    for (const Placed& p : layout) {
        const ui::ControlTemplate* c = control(*d, p.id);
        ASSERT_NE(c, nullptr) << "control " << p.id;
        EXPECT_EQ(c->kind, p.kind) << "control " << p.id;
        EXPECT_EQ(c->rect.x, p.x) << "control " << p.id;
        EXPECT_EQ(c->rect.y, p.y) << "control " << p.id;
        EXPECT_EQ(c->rect.width, p.w) << "control " << p.id;
        EXPECT_EQ(c->rect.height, p.h) << "control " << p.id;
    }
}

TEST(ModuleResources, PaletteControlStyles) {
    const ui::DialogTemplate& d = *table().dialog(IDD_TEXT_PALETTE);
    for (int id : {8002, 8003, 8004, 8005, 8006}) {
        EXPECT_EQ(control(d, id)->style & 0x3, CBS_DROPDOWN) << id;
        EXPECT_TRUE(control(d, id)->style & CBS_SORT) << id;
    }
    const DWORD text = control(d, IDC_TEXT)->style;
    EXPECT_TRUE(text & ES_MULTILINE);
    EXPECT_FALSE(text & ES_WANTRETURN);
    EXPECT_EQ(text & (ES_AUTOHSCROLL | ES_AUTOVSCROLL), ES_AUTOHSCROLL | ES_AUTOVSCROLL);
    for (int id : {8029, 8030, 8031, 8032}) {
        EXPECT_EQ(control(d, id)->style & BS_TYPEMASK, BS_AUTOCHECKBOX) << id;
        EXPECT_TRUE(control(d, id)->style & BS_PUSHLIKE) << id;
        EXPECT_TRUE(control(d, id)->style & BS_BITMAP) << id;
    }
    for (int id : {8021, 8022, 8023}) {
        EXPECT_EQ(control(d, id)->style & BS_TYPEMASK, BS_AUTORADIOBUTTON) << id;
        EXPECT_TRUE(control(d, id)->style & BS_PUSHLIKE) << id;
    }
    EXPECT_TRUE(control(d, 8021)->style & WS_GROUP);
    // Both carry the default style; the later one is the dialog's default.
    int lastDefault = 0;
    for (const auto& c : d.controls)
        if (c.kind == ControlClass::Button && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) lastDefault = c.id;
    EXPECT_EQ(control(d, IDC_PICK_POINT)->style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(lastDefault, IDC_NEW_LINE);
    for (int id : {8053, 8057, 8056}) EXPECT_TRUE(control(d, id)->style & SS_SUNKEN) << id;
    EXPECT_TRUE(control(d, IDC_LANGUAGE)->style & SS_NOTIFY);
    EXPECT_FALSE(control(d, IDC_CAPS_LOCK)->style & SS_NOTIFY);
}

TEST(ModuleResources, PaletteCaptions) {
    const ui::DialogTemplate& d = *table().dialog(IDD_TEXT_PALETTE);
    EXPECT_EQ(control(d, IDC_GREEK_SIGMA_CAP)->text, "S");
    EXPECT_EQ(control(d, IDC_ROMAN_OUTPUT)->text, ">>");
    const std::pair<int, const char*> letters[] = {
        {8047, "q"}, {8049, "w"}, {8050, "e"}, {8051, "r"}, {8052, "t"}, {8061, "y"}, {8062, "u"}, {8063, "i"},
        {8064, "o"}, {8065, "p"}, {8066, "Y"}, {8067, "W"}, {8069, "Q"}, {8070, "D"}, {8072, "L"}, {8074, "a"},
        {8075, "s"}, {8076, "d"}, {8077, "f"}, {8078, "g"}, {8079, "h"}, {8081, "k"}, {8082, "l"}, {8083, "z"},
        {8084, "x"}, {8086, "c"}, {8088, "b"}, {8089, "n"}, {8090, "m"}};
    for (auto [id, caption] : letters) EXPECT_EQ(control(d, id)->text, caption) << id;
    // Image buttons carry no caption of their own.
    for (int id : {8008, 8007, 8011, 8013, 8044, 8043, 4, 3, 2, 8017, 8018, 8020, 8024, 8012, 8040}) {
        EXPECT_TRUE(control(d, id)->style & BS_BITMAP) << id;
        EXPECT_EQ(control(d, id)->text, "") << id;
    }
}

TEST(ModuleResources, EditDialogTemplate) {
    const ui::DialogTemplate* d = table().dialog(IDD_TEXT_EDIT);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->caption, "Dialog");
    EXPECT_EQ(d->width, 263);
    EXPECT_EQ(d->height, 46);
    EXPECT_EQ(d->fontSize, 8);
    struct Expected {
        int id;
        ControlClass kind;
        const char* text;
        int x, y, w, h;
    };
    const Expected expected[] = {
        {8000, ControlClass::Edit, "", 7, 7, 249, 18},
        {8001, ControlClass::Button, "Динамически"_cp, 7, 30, 63, 9},
        {1, ControlClass::Button, "OK", 81, 28, 32, 11},
        {3, ControlClass::Button, "Отмена"_cp, 132, 28, 32, 11},
        {8053, ControlClass::Static, "", 181, 30, 23, 9},
        {8057, ControlClass::Static, "", 207, 30, 23, 9},
        {8056, ControlClass::Static, "", 233, 30, 23, 9},
    };
    ASSERT_EQ(d->controls.size(), std::size(expected));
    for (const Expected& e : expected) {
        const ui::ControlTemplate* c = control(*d, e.id);
        ASSERT_NE(c, nullptr) << e.id;
        EXPECT_EQ(c->kind, e.kind) << e.id;
        EXPECT_EQ(c->text, e.text) << e.id;
        EXPECT_EQ(c->rect.x, e.x) << e.id;
        EXPECT_EQ(c->rect.y, e.y) << e.id;
        EXPECT_EQ(c->rect.width, e.w) << e.id;
        EXPECT_EQ(c->rect.height, e.h) << e.id;
    }
    EXPECT_EQ(control(*d, 8000)->style & ES_AUTOHSCROLL, ES_AUTOHSCROLL);
    EXPECT_FALSE(control(*d, 8000)->style & ES_MULTILINE);
    EXPECT_EQ(control(*d, 8001)->style & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(control(*d, 1)->style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    for (int id : {8053, 8057, 8056}) EXPECT_TRUE(control(*d, id)->style & SS_SUNKEN) << id;
}

TEST(ModuleResources, MenuStringAndIcon) {
    const ui::MenuTemplate* menu = table().menu(IDR_TEXT_MENU);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 1u);
    const ui::MenuItemTemplate& popup = menu->items.front();
    EXPECT_EQ(popup.text, "Кестрин"_cp);
    ASSERT_EQ(popup.popup.size(), 2u);
    EXPECT_EQ(popup.popup[0].id, ID_MENU_CKESTRIN);
    EXPECT_EQ(popup.popup[0].text, "Текст/Редактирование"_cp);
    EXPECT_EQ(popup.popup[1].id, ID_MENU_EKESTRIN);
    EXPECT_EQ(popup.popup[1].text, "Редактирование строк"_cp);
    for (const auto& item : popup.popup) EXPECT_EQ(item.flags & (MF_GRAYED | MF_CHECKED), 0u);

    ASSERT_NE(table().string(IDS_ABOUTBOX), nullptr);
    EXPECT_EQ(*table().string(IDS_ABOUTBOX), "О программе.."_cp);
    ASSERT_NE(table().icon(IDI_KESTRIN), nullptr);
    EXPECT_GT(table().icon(IDI_KESTRIN)->width, 0);
}

TEST(ModuleResources, FortyTwoDistinctButtonFaces) {
    const std::set<int> expected = {8010, 8009, 8011, 8012, 8014, 8016, 8078, 8082, 8023, 8061, 8057,
                                    8084, 8018, 8026, 8021, 8103, 8024, 8027, 8037, 8038, 8035, 8036,
                                    8044, 8049, 8054, 8039, 8040, 8041, 8042, 8043, 8045, 8046, 8047,
                                    8048, 8050, 8060, 8095, 8096, 8097, 8098, 8099, 8100};
    ASSERT_EQ(expected.size(), 42u);
    EXPECT_EQ(std::set<int>(kButtonBitmaps.begin(), kButtonBitmaps.end()), expected);
    EXPECT_EQ(table().bitmaps.size(), 42u);
    std::set<std::vector<COLORREF>> faces;
    for (int id : expected) {
        const ui::ImageResource* image = table().bitmap(id);
        ASSERT_NE(image, nullptr) << id;
        EXPECT_EQ(image->pixels.size(), static_cast<std::size_t>(image->width * image->height)) << id;
        faces.insert(image->pixels);
    }
    EXPECT_EQ(faces.size(), 42u) << "two button faces are the same image";
    // The blank face is one colour; every other face draws something.
    const auto& blank = table().bitmap(IDB_BLANK)->pixels;
    EXPECT_TRUE(std::all_of(blank.begin(), blank.end(), [&](COLORREF c) { return c == blank.front(); }));
    for (int id : expected) {
        if (id == IDB_BLANK) continue;
        const auto& p = table().bitmap(id)->pixels;
        EXPECT_FALSE(std::all_of(p.begin(), p.end(), [&](COLORREF c) { return c == p.front(); })) << id;
    }
}

}  // namespace
