// The palette's window: construction, data exchange, initialisation, the
// style-dependent look of the symbol buttons, tooltips and painting.
#include "plugin/palette/TextPaletteDlg.h"

#include <algorithm>
#include <iterator>

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/frame/TextStyles.h"
#include "plugin/palette/KeyboardIndicators.h"
#include "plugin/palette/LayoutConverter.h"
#include "plugin/palette/RomanNumerals.h"
#include "plugin/palette/SymbolCodes.h"
#include "plugin/palette/SymbolFont.h"
#include "plugin/palette/TextProperties.h"
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

BEGIN_MESSAGE_MAP(CTextPaletteDlg, CAcUiDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SHOWWINDOW()
    ON_BN_CLICKED(IDC_PICK_POINT, startLineAtPoint)
    ON_BN_CLICKED(IDC_CUT, OnCut)
    ON_BN_CLICKED(IDC_COPY, OnCopy)
    ON_BN_CLICKED(IDC_PASTE, OnPaste)
    ON_BN_CLICKED(IDC_LOAD_FONT, loadOwnFont)
    ON_BN_CLICKED(IDC_JUSTIFY_LEFT, OnJustifyLeft)
    ON_BN_CLICKED(IDC_JUSTIFY_CENTER, OnJustifyCenter)
    ON_BN_CLICKED(IDC_JUSTIFY_RIGHT, OnJustifyRight)
    ON_BN_CLICKED(IDC_PICK_OFFSET, pickLineOffset)
    ON_BN_CLICKED(IDC_NEW_LINE, newLine)
    ON_BN_CLICKED(IDC_MOVE_LINE, moveLine)
    ON_BN_CLICKED(IDC_PICK_TEXT, editExistingText)
    ON_BN_CLICKED(IDC_UNDO, OnUndo)
    ON_CBN_SELENDOK(IDC_STYLE, OnStyleSelected)
    ON_CBN_SELENDOK(IDC_HEIGHT, OnHeightSelected)
    ON_CBN_SELENDOK(IDC_WIDTH, OnWidthSelected)
    ON_CBN_SELENDOK(IDC_OBLIQUE, OnObliqueSelected)
    ON_CBN_SELENDOK(IDC_ROTATION, OnRotationSelected)
    ON_CBN_EDITCHANGE(IDC_HEIGHT, OnHeightTyped)
    ON_CBN_EDITCHANGE(IDC_WIDTH, OnWidthTyped)
    ON_CBN_EDITCHANGE(IDC_OBLIQUE, OnObliqueTyped)
    ON_CBN_EDITCHANGE(IDC_ROTATION, OnRotationTyped)
    ON_CBN_EDITCHANGE(IDC_STYLE, OnStyleTyped)
    ON_EN_CHANGE(IDC_TEXT, OnTextChanged)
    ON_EN_CHANGE(IDC_OFFSET_X, OnOffsetXChanged)
    ON_EN_CHANGE(IDC_OFFSET_Y, OnOffsetYChanged)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[0].first, kSymbolButtonRanges[0].last, OnSymbolButton)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[1].first, kSymbolButtonRanges[1].last, OnSymbolButton)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[2].first, kSymbolButtonRanges[2].last, OnSymbolButton)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[3].first, kSymbolButtonRanges[3].last, OnSymbolButton)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[4].first, kSymbolButtonRanges[4].last, OnSymbolButton)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[5].first, kSymbolButtonRanges[5].last, OnSymbolButton)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[6].first, kSymbolButtonRanges[6].last, OnSymbolButton)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[7].first, kSymbolButtonRanges[7].last, OnSymbolButton)
    ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[8].first, kSymbolButtonRanges[8].last, OnSymbolButton)
    ON_EN_CHANGE(IDC_ROMAN_INPUT, OnRomanChanged)
    ON_BN_CLICKED(IDC_ROMAN_OUTPUT, OnRomanOutput)
    ON_BN_CLICKED(IDC_SWAP_CASE, OnSwapCase)
    ON_BN_CLICKED(IDC_SWAP_LAYOUT, OnSwapLayout)
    ON_STN_CLICKED(IDC_LANGUAGE, OnLanguageClicked)
END_MESSAGE_MAP()

CTextPaletteDlg::CTextPaletteDlg(CWnd* pParent)
    : CAcUiDialog(IDD_TEXT_PALETTE, pParent), m_strRotation("0"), m_strOblique("0"), m_strWidth("0.6") {
    m_hIcon = AfxGetApp()->LoadIcon(IDI_KESTRIN);
}

CTextPaletteDlg::~CTextPaletteDlg() {
    delete m_pToolTip;
    for (CBitmap& bitmap : m_bitmaps) bitmap.DeleteObject();
}

void CTextPaletteDlg::DoDataExchange(CDataExchange* pDX) {
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CUT, m_btnCut);
    DDX_Control(pDX, IDC_COPY, m_btnCopy);
    DDX_Control(pDX, IDC_PASTE, m_btnPaste);
    DDX_Control(pDX, IDC_JUSTIFY_LEFT, m_btnLeft);
    DDX_Control(pDX, IDC_JUSTIFY_CENTER, m_btnCenter);
    DDX_Control(pDX, IDC_JUSTIFY_RIGHT, m_btnRight);
    DDX_Control(pDX, IDC_SWAP_CASE, m_btnCase);
    DDX_Control(pDX, IDC_SWAP_LAYOUT, m_btnLayout);
    DDX_Control(pDX, IDC_LOAD_FONT, m_btnOwnFont);
    DDX_Control(pDX, IDC_UNDO, m_btnUndo);
    DDX_Control(pDX, IDC_PICK_TEXT, m_btnEditText);
    DDX_Control(pDX, IDC_HELP_BUTTON, m_btnHelp);
    DDX_Control(pDX, IDC_ABOUT, m_btnAbout);
    DDX_Control(pDX, IDC_EXIT, m_btnExit);
    DDX_Control(pDX, IDC_PICK_OFFSET, m_btnPickOffset);
    DDX_Control(pDX, IDC_MOVE_LINE, m_btnMove);
    DDX_Control(pDX, IDC_PICK_POINT, m_btnPickPoint);
    DDX_Control(pDX, IDC_NEW_LINE, m_btnNewLine);
    DDX_Control(pDX, IDC_ROMAN_OUTPUT, m_btnRomanOut);
    DDX_Control(pDX, IDC_STYLE, m_cmbStyle);
    DDX_Control(pDX, IDC_HEIGHT, m_cmbHeight);
    DDX_Control(pDX, IDC_WIDTH, m_cmbWidth);
    DDX_Control(pDX, IDC_OBLIQUE, m_cmbOblique);
    DDX_Control(pDX, IDC_ROTATION, m_cmbRotation);
    DDX_Control(pDX, IDC_OFFSET_X, m_edtOffsetX);
    DDX_Control(pDX, IDC_OFFSET_Y, m_edtOffsetY);
    DDX_Control(pDX, IDC_TEXT, m_edtText);
    DDX_Text(pDX, IDC_TEXT, m_strText);
    DDX_CBString(pDX, IDC_HEIGHT, m_strHeight);
    DDX_CBString(pDX, IDC_ROTATION, m_strRotation);
    DDX_CBString(pDX, IDC_STYLE, m_strStyle);
    DDX_CBString(pDX, IDC_OBLIQUE, m_strOblique);
    DDX_CBString(pDX, IDC_WIDTH, m_strWidth);
    DDX_Text(pDX, IDC_OFFSET_X, m_strOffsetX);
    DDX_Text(pDX, IDC_OFFSET_Y, m_strOffsetY);
    DDX_Check(pDX, IDC_SUPERSCRIPT, m_modeStates[0]);
    DDX_Check(pDX, IDC_SUBSCRIPT, m_modeStates[1]);
    DDX_Check(pDX, IDC_OVERLINE, m_modeStates[2]);
    DDX_Check(pDX, IDC_UNDERLINE, m_modeStates[3]);
    DDX_Control(pDX, IDC_SUPERSCRIPT, m_btnModes[0]);
    DDX_Control(pDX, IDC_SUBSCRIPT, m_btnModes[1]);
    DDX_Control(pDX, IDC_OVERLINE, m_btnModes[2]);
    DDX_Control(pDX, IDC_UNDERLINE, m_btnModes[3]);
    DDX_Control(pDX, IDC_ROMAN_INPUT, m_edtRoman);
    DDX_Control(pDX, IDC_CAPS_LOCK, m_stcIndicator1);
    DDX_Control(pDX, IDC_NUM_LOCK, m_stcIndicator2);
    DDX_Control(pDX, IDC_LANGUAGE, m_stcLanguage);
    DDX_Text(pDX, IDC_ROMAN_INPUT, m_strRoman);
    DDX_Text(pDX, IDC_LANGUAGE, m_strLanguage);
}

BOOL CTextPaletteDlg::OnInitDialog() {
    CAcUiDialog::OnInitDialog();

    SetWindowText("Кестрин V2.4  ( Zor софт)"_cp);
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    std::string about;
    if (AfxLoadString(IDS_ABOUTBOX, about) && !about.empty()) {
        if (CMenu* menu = GetSystemMenu(FALSE)) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }

    for (std::size_t i = 0; i < kButtonBitmaps.size(); ++i) m_bitmaps[i].LoadBitmap(kButtonBitmaps[i]);
    for (const ButtonImage& b : kFixedImages) setButtonBitmap(b.control, b.bitmap);
    for (const ButtonImage& b : kOwnFontImages) setButtonBitmap(b.control, b.bitmap);

    updateKeyboardIndicators(*this);
    createToolTips();

    m_btnRomanOut.EnableWindow(FALSE);

    for (const char* entry : {"0", "15"}) m_cmbOblique.AddString(entry);
    for (const char* entry : {"0", "90"}) m_cmbRotation.AddString(entry);
    for (const char* entry : {"1.8", "2.5", "3.5", "5", "7"}) m_cmbHeight.AddString(entry);
    for (const char* entry : {"0.6", "1"}) m_cmbWidth.AddString(entry);

    m_edtOffsetX.setCharacterList("1 2 3 4 5 6 7 8 9 0 - ", 1);
    m_edtOffsetY.setCharacterList("1 2 3 4 5 6 7 8 9 0 - ", 1);
    m_edtRoman.setCharacterList("1 2 3 4 5 6 7 8 9 0 ", 1);
    m_edtText.setCharacterList("", 1);

    fillStyleList();

    applySymbolFont(*this, m_fontSymbol);

    refreshFromRecord();
    return TRUE;
}

void CTextPaletteDlg::fillStyleList() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbTextStyleTable* table = nullptr;
    if (db == nullptr || db->getTextStyleTable(table, AcDb::kForRead) != Acad::eOk) return;
    AcDbTextStyleTableIterator* it = nullptr;
    if (table->newIterator(it) == Acad::eOk) {
        for (it->start(); !it->done(); it->step()) {
            AcDbTextStyleTableRecord* record = nullptr;
            if (it->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
            const char* name = nullptr;
            if (record->getName(name) == Acad::eOk && name != nullptr && *name != '\0') {
                m_cmbStyle.AddString(name);
                if (std::string(name) == kSymbolStyleName) m_btnOwnFont.ShowWindow(SW_HIDE);
            }
            record->close();
        }
        delete it;
    }
    table->close();
}

HBITMAP CTextPaletteDlg::buttonBitmap(int resourceId) const {
    const auto at = std::find(kButtonBitmaps.begin(), kButtonBitmaps.end(), resourceId);
    if (at == kButtonBitmaps.end()) return nullptr;
    return m_bitmaps[at - kButtonBitmaps.begin()];
}

void CTextPaletteDlg::setButtonBitmap(int controlId, int resourceId) {
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(controlId))) button->SetBitmap(buttonBitmap(resourceId));
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
    if (m_writing) return;
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

BOOL CTextPaletteDlg::PreTranslateMessage(MSG* pMsg) {
    if (m_pToolTip != nullptr) m_pToolTip->RelayEvent(pMsg);
    updateKeyboardIndicators(*this);
    return CAcUiDialog::PreTranslateMessage(pMsg);
}

void CTextPaletteDlg::OnSymbolButton(UINT nID) {
    clickSymbolButton(*this, static_cast<int>(nID), m_modeStates, m_strStyle, m_edtText);
}

void CTextPaletteDlg::OnRomanChanged() {
    if (!m_writing) onRomanInputChanged(*this, m_strRoman);
}

void CTextPaletteDlg::OnRomanOutput() { outputRomanNumeral(*this, m_strRoman, m_edtText); }

void CTextPaletteDlg::OnSwapCase() {
    convertSelectedText(*this, m_edtText, m_strText, SelectionConversion::Case);
    applyToPreview();
}

void CTextPaletteDlg::OnSwapLayout() {
    convertSelectedText(*this, m_edtText, m_strText, SelectionConversion::Layout);
    applyToPreview();
}

void CTextPaletteDlg::OnLanguageClicked() { switchKeyboardLayout(*this, IDC_TEXT); }

void CTextPaletteDlg::OnPaint() {
    if (!IsIconic()) {
        CAcUiDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    dc.SendIconEraseBackground();
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CTextPaletteDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

void CTextPaletteDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
    CAcUiDialog::OnShowWindow(bShow, nStatus);
    if (bShow) m_edtText.SetFocus();
}

void CTextPaletteDlg::OnCancel() {
    eraseIfEmpty(g_textProperties.entity);
    CAcUiDialog::OnCancel();
}
