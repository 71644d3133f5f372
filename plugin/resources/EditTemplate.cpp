// Dialog 100: the text edit dialog.
#include "base/Cp1251.h"
#include "plugin/resources/ResourceIds.h"
#include "plugin/resources/ResourceParts.h"

using namespace kestrin::ui;
using namespace kestrin::literals;

DialogTemplate textEditTemplate() {
    DialogTemplate d;
    d.id = IDD_TEXT_EDIT;
    d.caption = "Dialog";
    d.width = 263;
    d.height = 46;
    d.fontFace = "MS Sans Serif";
    d.fontSize = 8;
    d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    d.controls = {
        editText(IDC_EDIT_TEXT, {7, 7, 249, 18}, ES_AUTOHSCROLL | WS_TABSTOP),
        autoCheckBox(IDC_EDIT_DYNAMIC, "Динамически"_cp, {7, 30, 63, 9}, WS_TABSTOP),
        defPushButton(IDC_EDIT_OK, "OK", {81, 28, 32, 11}, WS_TABSTOP),
        pushButton(IDC_EDIT_UNDO, "Отмена"_cp, {132, 28, 32, 11}, WS_TABSTOP),
        leftText(IDC_CAPS_LOCK, "", {181, 30, 23, 9}, SS_SUNKEN),
        leftText(IDC_NUM_LOCK, "", {207, 30, 23, 9}, SS_SUNKEN),
        leftText(IDC_LANGUAGE, "", {233, 30, 23, 9}, SS_SUNKEN),
    };
    return d;
}
