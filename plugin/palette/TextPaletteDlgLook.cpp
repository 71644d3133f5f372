// The palette's look: button images, the style-dependent look of the
// symbol buttons, and the tooltips.
#include <algorithm>
#include <iterator>

#include "base/Cp1251.h"
#include "plugin/frame/TextStyles.h"
#include "plugin/palette/SymbolCodes.h"
#include "plugin/palette/TextPaletteDlg.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin::literals;

namespace {

struct ButtonImage {
    int control;
    int bitmap;
};

// Image buttons that always show the same picture.
constexpr ButtonImage kFixedImages[] = {
    {IDC_CUT, IDB_CUT},
    {IDC_COPY, IDB_COPY},
    {IDC_PASTE, IDB_PASTE},
    {IDC_JUSTIFY_LEFT, IDB_JUSTIFY_LEFT},
    {IDC_JUSTIFY_CENTER, IDB_JUSTIFY_CENTER},
    {IDC_JUSTIFY_RIGHT, IDB_JUSTIFY_RIGHT},
    {IDC_SWAP_CASE, IDB_SWAP_CASE},
    {IDC_SWAP_LAYOUT, IDB_SWAP_LAYOUT},
    {IDC_LOAD_FONT, IDB_LOAD_FONT},
    {IDC_UNDO, IDB_UNDO},
    {IDC_PICK_TEXT, IDB_PICK_TEXT},
    {IDC_HELP_BUTTON, IDB_HELP},
    {IDC_ABOUT, IDB_ABOUT},
    {IDC_EXIT, IDB_EXIT},
    {IDC_PICK_OFFSET, IDB_PICK_OFFSET},
    {IDC_MOVE_LINE, IDB_MOVE_LINE},
    {IDC_PICK_POINT, IDB_PICK_POINT},
    {IDC_NEW_LINE, IDB_NEW_LINE},
    {IDC_OVERLINE, IDB_OVERLINE},
    {IDC_UNDERLINE, IDB_UNDERLINE},
    {IDC_SUPERSCRIPT, IDB_SUPERSCRIPT},
    {IDC_SUBSCRIPT, IDB_SUBSCRIPT},
    {IDC_DIAMETER, IDB_DIAMETER},
    {IDC_DEGREE, IDB_DEGREE},
    {IDC_PLUS_MINUS, IDB_PLUS_MINUS},
};

// Buttons whose symbols exist only in the own font: their pictures show
// only while the style is "ZOR".
constexpr ButtonImage kOwnFontImages[] = {
    {IDC_RADICAL, IDB_RADICAL},         {IDC_DIVISION, IDB_DIVISION},       {IDC_INTEGRAL, IDB_INTEGRAL},
    {IDC_NOT_EQUAL, IDB_NOT_EQUAL},     {IDC_APPROX_EQUAL, IDB_APPROX_EQUAL}, {IDC_ARROW_LEFT, IDB_ARROW_LEFT},
    {IDC_ARROW_RIGHT, IDB_ARROW_RIGHT}, {IDC_ARROW_UP, IDB_ARROW_UP},       {IDC_ARROW_DOWN, IDB_ARROW_DOWN},
    {IDC_STAR, IDB_STAR},               {IDC_NUMBER_SIGN, IDB_NUMBER_SIGN}, {IDC_LOGICAL_OR, IDB_LOGICAL_OR},
    {IDC_UPSILON_HOOKS, IDB_UPSILON_HOOKS}, {IDC_NABLA, IDB_NABLA},         {IDC_PARTIAL, IDB_PARTIAL},
    {IDC_ELEMENT_OF, IDB_ELEMENT_OF},
};

// Letter buttons usable only with the own font.
constexpr int kOwnFontLetters[] = {
    8066, 8064, 8083, 8086, 8081, 8084, 8063, 8062, 8089, 8052, 8051, 8075, 8090, 8076, 8074,
    8082, 8049, 8061, 8078, 8069, 8067, 8047, 8088, 8072, 8079, 8077, 8091, 8070, 8050, 8065,
};

struct Tool {
    int control;
    const char* text;
};

const Tool* toolTable(std::size_t& count) {
    static const Tool tools[] = {
        {IDC_CUT, "Вырезать"_cp},
        {IDC_COPY, "Копировать"_cp},
        {IDC_PASTE, "Вставить"_cp},
        {IDC_JUSTIFY_LEFT, "Юстировка левая"_cp},
        {IDC_JUSTIFY_CENTER, "Юстировка центр"_cp},
        {IDC_JUSTIFY_RIGHT, "Юстировка правая"_cp},
        {IDC_LOAD_FONT, "Загрузка шрифта ZOR.SHX"_cp},
        {IDC_OFFSET_X, "Смещение по Х"_cp},  // Cyrillic Х
        {IDC_OFFSET_Y, "Смещение по Y"_cp},  // Latin Y
        {IDC_PICK_OFFSET, "Установка смещения для строки"_cp},
        {IDC_PICK_POINT, "Выбрать точку вставки"_cp},
        {IDC_ABOUT, "О программе"_cp},
        {IDC_EXIT, "Выход"_cp},
        {IDC_NEW_LINE, "Новая строка"_cp},
        {IDC_STYLE, "Стиль"_cp},
        {IDC_HEIGHT, "Высота букв"_cp},
        {IDC_WIDTH, "Ширина букв"_cp},
        {IDC_OBLIQUE, "Наклон букв"_cp},
        {IDC_ROTATION, "Поворот текста"_cp},
        {IDC_UNDO, "Отменить"_cp},
        {IDC_SWAP_CASE, "Регистр букв"_cp},
        {IDC_SUPERSCRIPT, "Верхний индекс"_cp},
        {IDC_SUBSCRIPT, "Нижний индекс"_cp},
        {IDC_OVERLINE, "Линия над текстом"_cp},
        {IDC_UNDERLINE, "Линия под текстом"_cp},
        {IDC_ROMAN_OUTPUT, "Вывод римских цифр"_cp},
        {IDC_ROMAN_INPUT, "Ввод арабских цифр от 0 - 100"_cp},
        {IDC_PICK_TEXT, "Редактирование текста"_cp},
        {IDC_SWAP_LAYOUT, "Кирилица/Латинский"_cp},
        {IDC_HELP_BUTTON, "Помощь"_cp},
        {IDC_MOVE_LINE, "Перенести"_cp},
    };
    count = std::size(tools);
    return tools;
}

}  // namespace

void CTextPaletteDlg::loadButtonImages() {
    for (std::size_t i = 0; i < kButtonBitmaps.size(); ++i) m_bitmaps[i].LoadBitmap(kButtonBitmaps[i]);
    for (const ButtonImage& b : kFixedImages) setButtonBitmap(b.control, b.bitmap);
    for (const ButtonImage& b : kOwnFontImages) setButtonBitmap(b.control, b.bitmap);
}

void CTextPaletteDlg::setButtonBitmap(int controlId, int resourceId) {
    const auto at = std::find(kButtonBitmaps.begin(), kButtonBitmaps.end(), resourceId);
    const HBITMAP bitmap = at == kButtonBitmaps.end() ? nullptr : HBITMAP(m_bitmaps[at - kButtonBitmaps.begin()]);
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(controlId))) button->SetBitmap(bitmap);
}

void CTextPaletteDlg::applyStyleLook(const std::string& styleName) {
    const bool own = styleName == kSymbolStyleName;
    for (const ButtonImage& b : kOwnFontImages) setButtonBitmap(b.control, own ? b.bitmap : IDB_BLANK);
    m_btnModes[0].ShowWindow(own ? SW_SHOW : SW_HIDE);
    m_btnModes[1].ShowWindow(own ? SW_SHOW : SW_HIDE);
    for (int id : kOwnFontLetters)
        if (CWnd* letter = GetDlgItem(id)) letter->EnableWindow(own);
}

void CTextPaletteDlg::OnStyleTyped() {
    UpdateData(TRUE);
    applyStyleLook(m_strStyle == kSymbolStyleName ? m_strStyle : std::string());
}

void CTextPaletteDlg::createToolTips() {
    m_pToolTip = new CToolTipCtrl;
    m_pToolTip->Create(this);
    std::size_t count = 0;
    const Tool* tools = toolTable(count);
    for (std::size_t i = 0; i < count; ++i)
        if (CWnd* control = GetDlgItem(tools[i].control)) m_pToolTip->AddTool(control, tools[i].text);
    m_pToolTip->Activate(TRUE);
}

