#include "setup/SetupResources.h"

#include "base/Cp1251.h"
#include "setup/SetupIds.h"

using namespace kestrin::ui;
using namespace kestrin::literals;

namespace {

DialogTemplate setupTemplate() {
    DialogTemplate d;
    d.id = IDD_SETUP;
    d.caption = "Установка программы"_cp;
    d.width = 269;
    d.height = 77;
    d.fontFace = "MS Sans Serif";
    d.fontSize = 8;
    d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    d.controls = {
        leftText(-1, "Каталог"_cp, {7, 9, 40, 8}),
        editText(IDC_TARGET_DIR, {49, 7, 187, 13}, ES_AUTOHSCROLL | WS_TABSTOP),
        pushButton(IDC_BROWSE, "...", {240, 7, 22, 13}, WS_TABSTOP),
        progressBar(IDC_COPY_PROGRESS, {7, 30, 255, 10}),
        defPushButton(IDOK, "ОК"_cp, {77, 54, 50, 14}, WS_TABSTOP),
        pushButton(IDCANCEL, "Отмена"_cp, {141, 54, 50, 14}, WS_TABSTOP),
    };
    return d;
}

DialogTemplate chooseDirTemplate() {
    DialogTemplate d;
    d.id = IDD_CHOOSE_DIR;
    d.caption = "Открыть"_cp;
    d.width = 165;
    d.height = 134;
    d.fontFace = "Helv";
    d.fontSize = 8;
    d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    d.controls = {
        leftText(-1, "&Каталоги"_cp, {6, 6, 92, 9}),
        editText(IDC_DIR_PATH, {6, 17, 92, 12}, ES_AUTOHSCROLL | WS_TABSTOP),
        listBox(IDC_DIR_LIST, {6, 33, 92, 68}, LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP),
        leftText(IDC_DRIVES_LABEL, "Диски"_cp, {6, 104, 92, 9}),
        comboBox(IDC_DRIVES, {6, 114, 92, 68}, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP),
        defPushButton(IDOK, "OK", {108, 6, 50, 14}, WS_TABSTOP),
        pushButton(IDCANCEL, "Отмена"_cp, {108, 24, 50, 14}, WS_TABSTOP),
        pushButton(IDC_HELP_BUTTON, "&Помощь"_cp, {108, 46, 50, 14}, WS_TABSTOP),
        leftText(IDC_FILE_NAME_LABEL, "&Nom:", {108, 66, 50, 9}),
        editText(IDC_FILE_NAME, {108, 76, 50, 12}, ES_AUTOHSCROLL),
        listBox(IDC_FILE_LIST, {108, 90, 50, 20}, LBS_NOTIFY | LBS_SORT),
        leftText(IDC_FILE_TYPE_LABEL, "Liste des fichiers de &Type:", {108, 104, 50, 9}),
        comboBox(IDC_FILE_TYPES, {108, 114, 50, 36}, CBS_DROPDOWNLIST),
        leftText(IDC_CURRENT_DIR_TEXT, "", {6, 124, 92, 9}),
        autoCheckBox(IDC_READ_ONLY, "&Read only", {108, 124, 50, 9}),
        leftText(-1, "&Repertoires:", {6, 140, 92, 9}),  // below the visible area
    };
    return d;
}

// 16 x 16: a folder with an arrow going into it.
ImageResource setupIcon() {
    const std::map<char, COLORREF> colours = {
        {'.', RGB(192, 192, 192)}, {'k', RGB(0, 0, 0)},   {'y', RGB(255, 255, 0)},
        {'o', RGB(128, 128, 0)},   {'r', RGB(192, 0, 0)}, {'w', RGB(255, 255, 255)},
    };
    return imageFromArt(IDR_SETUP_ICON,
                        {
                            "................",
                            ".......rr.......",
                            ".......rr.......",
                            ".......rr.......",
                            ".....rrrrrr.....",
                            "......rrrr......",
                            ".kkkk...rr......",
                            "kwyyyk..........",
                            "kyyyyykkkkkkkkk.",
                            "kyyyyyyyyyyyyyk.",
                            "kyyyyyyyyyyyyyko",
                            "kyyyyyyyyyyyyyko",
                            "kyyyyyyyyyyyyyko",
                            "kyyyyyyyyyyyyyko",
                            "kkkkkkkkkkkkkkko",
                            ".ooooooooooooooo",
                        },
                        colours);
}

}  // namespace

const ResourceTable& setupResources() {
    static const ResourceTable table = [] {
        ResourceTable t;
        t.dialogs.push_back(setupTemplate());
        t.dialogs.push_back(chooseDirTemplate());
        t.strings[IDS_PRODUCT] = "Кестрина V2.0"_cp;
        t.icons.push_back(setupIcon());
        return t;
    }();
    return table;
}
