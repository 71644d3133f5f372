// The module's resources, found by the framework along its resource chain.
#include "platform/ui/ResourceChain.h"

#include "base/Cp1251.h"
#include "plugin/resources/ResourceIds.h"
#include "plugin/resources/ResourceParts.h"

using namespace kestrin::ui;
using namespace kestrin::literals;

MenuTemplate textMenuTemplate() {
    return MenuTemplate{IDR_TEXT_MENU,
                        {menuPopup("Кестрин"_cp, {menuItem("Текст/Редактирование"_cp, ID_MENU_CKESTRIN),
                                                   menuItem("Редактирование строк"_cp, ID_MENU_EKESTRIN)})}};
}

extern "C" const ResourceTable* kestrinModuleResources() {
    static const ResourceTable table = [] {
        ResourceTable t;
        t.menus.push_back(textMenuTemplate());
        t.dialogs.push_back(textPaletteTemplate());
        t.dialogs.push_back(textEditTemplate());
        t.dialogs.push_back(aboutTemplate());
        t.strings[IDS_ABOUTBOX] = "О программе.."_cp;
        t.bitmaps = buttonBitmaps();
        t.icons.push_back(kestrinIcon());
        return t;
    }();
    return &table;
}
