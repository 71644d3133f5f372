// The hello module's resources: its context menu and its dialog.
#include "platform/ui/ResourceChain.h"
#include "tests/modules/hello/HelloIds.h"

using namespace kestrin::ui;

extern "C" const ResourceTable* kestrinModuleResources() {
    static const ResourceTable table = [] {
        ResourceTable t;
        t.menus.push_back(MenuTemplate{kHelloMenu,
                                       {menuPopup("Hello", {menuItem("Say hello", kSayHelloItem),
                                                            menuItem("Open dialog", kOpenDialogItem),
                                                            menuItem("Never", kGrayedItem, MF_STRING | MF_GRAYED)})}});
        DialogTemplate d;
        d.id = kHelloDialog;
        d.caption = "Hello";
        d.width = 160;
        d.height = 50;
        d.controls = {editText(kPointField, {7, 7, 100, 12}),
                      pushButton(kPickButton, "Pick point", {110, 7, 43, 12}),
                      defPushButton(IDOK, "OK", {60, 30, 40, 12}),
                      pushButton(IDCANCEL, "Cancel", {110, 30, 43, 12})};
        t.dialogs.push_back(std::move(d));
        return t;
    }();
    return &table;
}
