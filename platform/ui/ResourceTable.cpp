#include "platform/ui/ResourceTable.h"

#include <set>

namespace kestrin::ui {

const char* controlClassName(ControlClass c) {
    switch (c) {
        case ControlClass::Button: return "button";
        case ControlClass::Edit: return "edit";
        case ControlClass::ComboBox: return "combo box";
        case ControlClass::ListBox: return "list box";
        case ControlClass::Static: return "static";
        case ControlClass::ProgressBar: return "progress bar";
    }
    return "?";
}

namespace {
ControlTemplate make(ControlClass kind, int id, std::string text, DialogRect r, DWORD style) {
    return ControlTemplate{kind, id, std::move(text), r, style, 0};
}
}  // namespace

ControlTemplate pushButton(int id, std::string text, DialogRect r, DWORD style) {
    return make(ControlClass::Button, id, std::move(text), r, BS_PUSHBUTTON | WS_TABSTOP | style);
}
ControlTemplate defPushButton(int id, std::string text, DialogRect r, DWORD style) {
    return make(ControlClass::Button, id, std::move(text), r, BS_DEFPUSHBUTTON | WS_TABSTOP | style);
}
ControlTemplate checkBox(int id, std::string text, DialogRect r, DWORD style) {
    return make(ControlClass::Button, id, std::move(text), r, BS_CHECKBOX | WS_TABSTOP | style);
}
ControlTemplate autoCheckBox(int id, std::string text, DialogRect r, DWORD style) {
    return make(ControlClass::Button, id, std::move(text), r, BS_AUTOCHECKBOX | WS_TABSTOP | style);
}
ControlTemplate radioButton(int id, std::string text, DialogRect r, DWORD style) {
    return make(ControlClass::Button, id, std::move(text), r, BS_RADIOBUTTON | style);
}
ControlTemplate autoRadioButton(int id, std::string text, DialogRect r, DWORD style) {
    return make(ControlClass::Button, id, std::move(text), r, BS_AUTORADIOBUTTON | style);
}
ControlTemplate groupBox(int id, std::string text, DialogRect r, DWORD style) {
    return make(ControlClass::Button, id, std::move(text), r, BS_GROUPBOX | style);
}
ControlTemplate bitmapButton(int id, DialogRect r, DWORD style) {
    return make(ControlClass::Button, id, {}, r, BS_BITMAP | WS_TABSTOP | style);
}
ControlTemplate editText(int id, DialogRect r, DWORD style) {
    return make(ControlClass::Edit, id, {}, r, WS_TABSTOP | WS_BORDER | style);
}
ControlTemplate comboBox(int id, DialogRect r, DWORD style) {
    return make(ControlClass::ComboBox, id, {}, r, WS_TABSTOP | style);
}
ControlTemplate listBox(int id, DialogRect r, DWORD style) {
    return make(ControlClass::ListBox, id, {}, r, WS_TABSTOP | style);
}
ControlTemplate leftText(int id, std::string text, DialogRect r, DWORD style) {
    return make(ControlClass::Static, id, std::move(text), r, SS_LEFT | style);
}
ControlTemplate iconStatic(int id, int iconResource, DialogRect r, DWORD style) {
    ControlTemplate t = make(ControlClass::Static, id, {}, r, SS_ICON | style);
    t.image = iconResource;
    return t;
}
ControlTemplate progressBar(int id, DialogRect r, DWORD style) {
    return make(ControlClass::ProgressBar, id, {}, r, WS_BORDER | style);
}

MenuItemTemplate menuItem(std::string text, int id, UINT flags) {
    return MenuItemTemplate{std::move(text), id, flags, {}};
}
MenuItemTemplate menuSeparator() { return MenuItemTemplate{{}, 0, MF_SEPARATOR, {}}; }
MenuItemTemplate menuPopup(std::string text, std::vector<MenuItemTemplate> items) {
    return MenuItemTemplate{std::move(text), 0, MF_POPUP, std::move(items)};
}

ImageResource imageFromArt(int id, const std::vector<std::string>& rows, const std::map<char, COLORREF>& colours) {
    const std::string name = "image " + std::to_string(id);
    if (rows.empty()) throw ResourceError(name + ": no pixel rows");
    ImageResource image{id, static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), {}};
    if (image.width == 0) throw ResourceError(name + ": row 1 is empty");
    image.pixels.reserve(static_cast<std::size_t>(image.width) * rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (static_cast<int>(rows[r].size()) != image.width)
            throw ResourceError(name + ": row " + std::to_string(r + 1) + " has " + std::to_string(rows[r].size()) +
                                " pixels, row 1 has " + std::to_string(image.width));
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const auto it = colours.find(rows[r][c]);
            if (it == colours.end())
                throw ResourceError(name + ": row " + std::to_string(r + 1) + ", column " + std::to_string(c + 1) +
                                    ": character '" + rows[r][c] + "' has no colour");
            image.pixels.push_back(it->second);
        }
    }
    return image;
}

namespace {
template <class T>
const T* byId(const std::vector<T>& items, int id) {
    for (const auto& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

template <class T>
void checkUnique(const std::vector<T>& items, const char* kind, std::vector<std::string>& problems) {
    std::set<int> seen;
    for (const auto& item : items)
        if (!seen.insert(item.id).second) problems.push_back(std::string(kind) + " " + std::to_string(item.id) + " is declared twice");
}

void checkImages(const std::vector<ImageResource>& images, const char* kind, std::vector<std::string>& problems) {
    for (const auto& image : images)
        if (image.width <= 0 || image.height <= 0 ||
            image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
            problems.push_back(std::string(kind) + " " + std::to_string(image.id) + " has " +
                               std::to_string(image.pixels.size()) + " pixels for a size of " + std::to_string(image.width) +
                               " by " + std::to_string(image.height));
}
}  // namespace

const DialogTemplate* ResourceTable::dialog(int id) const { return byId(dialogs, id); }
const MenuTemplate* ResourceTable::menu(int id) const { return byId(menus, id); }
const ImageResource* ResourceTable::bitmap(int id) const { return byId(bitmaps, id); }
const ImageResource* ResourceTable::icon(int id) const { return byId(icons, id); }
const std::string* ResourceTable::string(int id) const {
    const auto it = strings.find(id);
    return it == strings.end() ? nullptr : &it->second;
}

std::vector<std::string> checkResourceTable(const ResourceTable& table) {
    std::vector<std::string> problems;
    checkUnique(table.dialogs, "dialog", problems);
    checkUnique(table.menus, "menu", problems);
    checkUnique(table.bitmaps, "bitmap", problems);
    checkUnique(table.icons, "icon", problems);
    checkImages(table.bitmaps, "bitmap", problems);
    checkImages(table.icons, "icon", problems);
    for (const auto& d : table.dialogs) {
        std::set<int> ids;
        for (const auto& c : d.controls)
            if (c.id != -1 && !ids.insert(c.id).second)
                problems.push_back("dialog " + std::to_string(d.id) + ": control id " + std::to_string(c.id) + " is used twice");
    }
    return problems;
}

}  // namespace kestrin::ui
