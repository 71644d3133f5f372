// Dialog 8002: the composition palette.
#include "base/Cp1251.h"
#include "plugin/resources/ResourceIds.h"
#include "plugin/resources/ResourceParts.h"

using namespace kestrin::ui;
using namespace kestrin::literals;

namespace {

constexpr DWORD kImage = BS_BITMAP | WS_TABSTOP;
constexpr DWORD kCombo = CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kModeCheck = BS_PUSHLIKE | BS_BITMAP | WS_TABSTOP;

ControlTemplate imageButton(int id, DialogRect r) { return bitmapButton(id, r, kImage); }

// A symbol button of the first row: 13 x 11 at y 29.
ControlTemplate symbolButton(int id, int x) { return imageButton(id, {x, 29, 13, 11}); }

ControlTemplate modeCheck(int id, int x) { return autoCheckBox(id, "", {x, 29, 13, 11}, kModeCheck); }

ControlTemplate sunkenStatic(int id, int x, DWORD extra = 0) {
    return leftText(id, "", {x, 68, 23, 9}, SS_SUNKEN | extra);
}

void addTopRow(std::vector<ControlTemplate>& c) {
    c.push_back(imageButton(IDC_CUT, {8, 0, 15, 13}));
    c.push_back(imageButton(IDC_COPY, {26, 0, 15, 13}));
    c.push_back(imageButton(IDC_PASTE, {44, 0, 15, 13}));
    c.push_back(autoRadioButton(IDC_JUSTIFY_LEFT, "", {73, 0, 15, 13}, BS_PUSHLIKE | BS_BITMAP | WS_GROUP | WS_TABSTOP));
    c.push_back(autoRadioButton(IDC_JUSTIFY_CENTER, "", {91, 0, 15, 13}, BS_PUSHLIKE | BS_BITMAP));
    c.push_back(autoRadioButton(IDC_JUSTIFY_RIGHT, "", {107, 0, 15, 13}, BS_PUSHLIKE | BS_BITMAP));
    c.push_back(imageButton(IDC_SWAP_CASE, {129, 0, 15, 13}));
    c.push_back(imageButton(IDC_SWAP_LAYOUT, {146, 0, 15, 13}));
    c.push_back(imageButton(IDC_LOAD_FONT, {179, 0, 15, 13}));
    c.push_back(imageButton(IDC_UNDO, {201, 0, 15, 13}));
    c.push_back(imageButton(IDC_PICK_TEXT, {219, 0, 15, 13}));
    c.push_back(imageButton(IDC_HELP_BUTTON, {248, 0, 15, 13}));
    c.push_back(imageButton(IDC_ABOUT, {267, 0, 15, 13}));
    c.push_back(imageButton(IDC_EXIT, {285, 0, 15, 13}));
}

void addPropertyRow(std::vector<ControlTemplate>& c) {
    c.push_back(comboBox(IDC_STYLE, {7, 14, 55, 88}, kCombo));
    c.push_back(comboBox(IDC_HEIGHT, {63, 14, 30, 81}, kCombo));
    c.push_back(comboBox(IDC_WIDTH, {94, 14, 30, 81}, kCombo));
    c.push_back(comboBox(IDC_OBLIQUE, {125, 14, 30, 81}, kCombo));
    c.push_back(comboBox(IDC_ROTATION, {156, 14, 30, 81}, kCombo));
    c.push_back(editText(IDC_OFFSET_X, {187, 14, 19, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
    c.push_back(editText(IDC_OFFSET_Y, {207, 14, 19, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
    c.push_back(imageButton(IDC_PICK_OFFSET, {227, 15, 13, 12}));
    c.push_back(imageButton(IDC_MOVE_LINE, {247, 15, 13, 12}));
    // Both carry the default style; the later one, new line, is the default.
    c.push_back(defPushButton(IDC_PICK_POINT, "", {267, 15, 13, 12}, kImage));
    c.push_back(defPushButton(IDC_NEW_LINE, "", {287, 15, 13, 12}, kImage));
}

void addFirstSymbolRow(std::vector<ControlTemplate>& c) {
    c.push_back(modeCheck(IDC_OVERLINE, 7));
    c.push_back(modeCheck(IDC_UNDERLINE, 17));
    c.push_back(symbolButton(IDC_PLUS_MINUS, 27));
    c.push_back(symbolButton(IDC_DEGREE, 37));
    c.push_back(symbolButton(IDC_DIAMETER, 47));
    c.push_back(modeCheck(IDC_SUPERSCRIPT, 64));
    c.push_back(modeCheck(IDC_SUBSCRIPT, 74));
    const int ownFont[] = {IDC_RADICAL, IDC_DIVISION, IDC_INTEGRAL, IDC_NOT_EQUAL, IDC_APPROX_EQUAL,
                           IDC_ARROW_LEFT, IDC_ARROW_RIGHT, IDC_ARROW_UP, IDC_ARROW_DOWN, IDC_NUMBER_SIGN,
                           IDC_STAR};
    int x = 84;
    for (int id : ownFont) {
        c.push_back(symbolButton(id, x));
        x += 10;
    }
    x = 201;
    for (int id : {IDC_UPSILON_HOOKS, IDC_NABLA, IDC_LOGICAL_OR, IDC_PARTIAL, IDC_ELEMENT_OF}) {
        c.push_back(symbolButton(id, x));
        x += 10;
    }
    c.push_back(pushButton(IDC_GREEK_SIGMA_CAP, "S", {251, 29, 13, 11}, WS_TABSTOP));
    c.push_back(editText(IDC_ROMAN_INPUT, {269, 29, 18, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
    c.push_back(pushButton(IDC_ROMAN_OUTPUT, ">>", {288, 29, 13, 11}, WS_TABSTOP));
}

void addGreekRow(std::vector<ControlTemplate>& c) {
    struct Letter {
        int id;
        const char* caption;
    };
    const Letter letters[] = {
        {IDC_GREEK_THETA, "q"},       {IDC_GREEK_OMEGA, "w"},       {IDC_GREEK_EPSILON, "e"},
        {IDC_GREEK_RHO, "r"},         {IDC_GREEK_TAU, "t"},         {IDC_GREEK_PSI, "y"},
        {IDC_GREEK_UPSILON, "u"},     {IDC_GREEK_IOTA, "i"},        {IDC_GREEK_OMICRON, "o"},
        {IDC_GREEK_PI, "p"},          {IDC_GREEK_PSI_CAP, "Y"},     {IDC_GREEK_OMEGA_CAP, "W"},
        {IDC_GREEK_THETA_CAP, "Q"},   {IDC_GREEK_DELTA_CAP, "D"},   {IDC_GREEK_LAMBDA_CAP, "L"},
        {IDC_GREEK_ALPHA, "a"},       {IDC_GREEK_SIGMA, "s"},       {IDC_GREEK_DELTA, "d"},
        {IDC_GREEK_PHI, "f"},         {IDC_GREEK_GAMMA, "g"},       {IDC_GREEK_ETA, "h"},
        {IDC_GREEK_KAPPA, "k"},       {IDC_GREEK_LAMBDA, "l"},      {IDC_GREEK_ZETA, "z"},
        {IDC_GREEK_XI, "x"},          {IDC_GREEK_CHI, "c"},         {IDC_GREEK_BETA, "b"},
        {IDC_GREEK_NU, "n"},          {IDC_GREEK_MU, "m"},
    };
    int x = 7;
    for (const Letter& letter : letters) {
        c.push_back(pushButton(letter.id, letter.caption, {x, 41, 13, 11}, WS_TABSTOP));
        x += 10;
    }
}

void addBottom(std::vector<ControlTemplate>& c) {
    // Enter in the field presses the default button: no ES_WANTRETURN.
    c.push_back(editText(IDC_TEXT, {7, 54, 294, 15},
                         ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_TABSTOP));
    c.push_back(sunkenStatic(IDC_CAPS_LOCK, 226));
    c.push_back(sunkenStatic(IDC_NUM_LOCK, 252));
    c.push_back(sunkenStatic(IDC_LANGUAGE, 278, SS_NOTIFY));
}

}  // namespace

DialogTemplate textPaletteTemplate() {
    DialogTemplate d;
    d.id = IDD_TEXT_PALETTE;
    d.caption = "Кестрин"_cp;
    d.width = 310;
    d.height = 84;
    d.fontFace = "MS Sans Serif";
    d.fontSize = 9;
    d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    addTopRow(d.controls);
    addPropertyRow(d.controls);
    addFirstSymbolRow(d.controls);
    addGreekRow(d.controls);
    addBottom(d.controls);
    return d;
}
