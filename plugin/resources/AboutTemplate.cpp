// Dialog 8053: the About box.
#include "base/Cp1251.h"
#include "plugin/resources/ResourceIds.h"
#include "plugin/resources/ResourceParts.h"

using namespace kestrin::ui;
using namespace kestrin::literals;

DialogTemplate aboutTemplate() {
    DialogTemplate d;
    d.id = IDD_ABOUTBOX;
    d.caption = "О программе"_cp;
    d.width = 212;
    d.height = 50;
    d.fontFace = "MS Sans Serif";
    d.fontSize = 8;
    d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    d.controls = {
        defPushButton(IDOK, "OK", {162, 7, 43, 14}, WS_GROUP | WS_TABSTOP),
        iconStatic(-1, IDI_KESTRIN, {11, 14, 20, 20}),
        leftText(-1, "Автор: Zor софт, г. Самара"_cp, {40, 7, 115, 8}),
        leftText(-1, "Телефон: +7 (846) 000-00-00"_cp, {40, 19, 115, 8}),
        leftText(IDC_ABOUT_LINK, kAuthorMail, {40, 31, 115, 8}),
    };
    return d;
}
