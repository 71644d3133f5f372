// A module's resources as a C++ table: dialog templates, menus, string table,
// bitmaps and icons, each addressed by number.
//
// A module declares one ResourceTable and exports it through
// kestrinModuleResources() (ResourceChain.h). The control helpers read like
// the statements of a resource script:
//
//     DialogTemplate{.id = 100, .caption = "Dialog", .width = 263, .height = 46,
//                    .fontFace = "MS Sans Serif", .fontSize = 8,
//                    .controls = {
//                        editText(8000, {7, 7, 249, 18}, ES_AUTOHSCROLL),
//                        autoCheckBox(8001, "Динамически"_cp, {7, 30, 63, 9}),
//                        defPushButton(IDOK, "OK", {81, 28, 32, 11}),
//                    }}
//
// Rectangles are in dialog units (x, y, width, height). Texts are CP1251.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win/Styles.h"
#include "platform/win/Types.h"

namespace kestrin::ui {

// The window class of a control.
enum class ControlClass { Button, Edit, ComboBox, ListBox, Static, ProgressBar };
const char* controlClassName(ControlClass c);

struct DialogRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct ControlTemplate {
    ControlClass kind = ControlClass::Static;
    int id = -1;
    std::string text{};  // caption; for an icon or bitmap static, empty
    DialogRect rect{};
    DWORD style = 0;   // WS_, BS_, ES_, CBS_, SS_ bits; WS_VISIBLE and WS_CHILD are implied
    int image = 0;     // icon or bitmap resource of an image static
};

// Buttons.
ControlTemplate pushButton(int id, std::string text, DialogRect r, DWORD style = 0);
ControlTemplate defPushButton(int id, std::string text, DialogRect r, DWORD style = 0);
ControlTemplate checkBox(int id, std::string text, DialogRect r, DWORD style = 0);
ControlTemplate autoCheckBox(int id, std::string text, DialogRect r, DWORD style = 0);
ControlTemplate radioButton(int id, std::string text, DialogRect r, DWORD style = 0);
ControlTemplate autoRadioButton(int id, std::string text, DialogRect r, DWORD style = 0);
ControlTemplate groupBox(int id, std::string text, DialogRect r, DWORD style = 0);
// Image buttons (BS_BITMAP) without text; the program gives them their image.
ControlTemplate bitmapButton(int id, DialogRect r, DWORD style = 0);
// Fields and lists.
ControlTemplate editText(int id, DialogRect r, DWORD style = 0);
ControlTemplate comboBox(int id, DialogRect r, DWORD style = CBS_DROPDOWN | CBS_SORT);
ControlTemplate listBox(int id, DialogRect r, DWORD style = LBS_NOTIFY);
// Statics.
ControlTemplate leftText(int id, std::string text, DialogRect r, DWORD style = 0);
ControlTemplate iconStatic(int id, int iconResource, DialogRect r, DWORD style = 0);
ControlTemplate progressBar(int id, DialogRect r, DWORD style = 0);

struct DialogTemplate {
    int id = 0;
    std::string caption{};
    int width = 0, height = 0;  // dialog units
    std::string fontFace = "MS Sans Serif";
    int fontSize = 8;           // points
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    std::vector<ControlTemplate> controls{};
};

struct MenuItemTemplate {
    std::string text{};  // empty with MF_SEPARATOR
    int id = 0;        // command id; 0 for a popup or separator
    UINT flags = MF_STRING;
    std::vector<MenuItemTemplate> popup{};  // items of a popup (MF_POPUP)
};
MenuItemTemplate menuItem(std::string text, int id, UINT flags = MF_STRING);
MenuItemTemplate menuSeparator();
MenuItemTemplate menuPopup(std::string text, std::vector<MenuItemTemplate> items);

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItemTemplate> items{};
};

// An image: width times height colours, row by row from the top.
struct ImageResource {
    int id = 0;
    int width = 0, height = 0;
    std::vector<COLORREF> pixels{};
};

// Raised for a malformed resource; the message names the resource and what
// is wrong with it.
class ResourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An image from text pixel art: one string per row, one character per pixel,
// each character looked up in `colours`. Rows of unequal length or an
// unknown character raise ResourceError naming the image, row and column.
ImageResource imageFromArt(int id, const std::vector<std::string>& rows, const std::map<char, COLORREF>& colours);

struct ResourceTable {
    std::vector<DialogTemplate> dialogs{};
    std::vector<MenuTemplate> menus{};
    std::map<int, std::string> strings{};
    std::vector<ImageResource> bitmaps{};
    std::vector<ImageResource> icons{};

    const DialogTemplate* dialog(int id) const;
    const MenuTemplate* menu(int id) const;
    const std::string* string(int id) const;
    const ImageResource* bitmap(int id) const;
    const ImageResource* icon(int id) const;
};

// Every problem of a table (duplicate numbers, controls sharing an id,
// images whose pixel count does not match their size), one line each.
std::vector<std::string> checkResourceTable(const ResourceTable& table);

}  // namespace kestrin::ui
