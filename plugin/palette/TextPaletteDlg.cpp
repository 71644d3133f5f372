// The palette's window: construction, message table, data exchange and the
// one write path into the controls, initialisation and painting.
#include "plugin/palette/TextPaletteDlg.h"


#include "base/Cp1251.h"
#include "plugin/frame/TextStyles.h"
#include "plugin/info/AboutDlg.h"
#include "plugin/info/DialogIcon.h"
#include "plugin/info/HelpFile.h"
#include "plugin/palette/KeyboardIndicators.h"
#include "plugin/palette/SymbolCodes.h"
#include "plugin/palette/SymbolFont.h"
#include "plugin/palette/TextProperties.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin::literals;


BEGIN_MESSAGE_MAP(CTextPaletteDlg, CAcUiDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SHOWWINDOW()
    ON_WM_SYSCOMMAND()
    ON_BN_CLICKED(IDC_ABOUT, OnAboutClicked)
    ON_BN_CLICKED(IDC_HELP_BUTTON, OnHelpClicked)
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
    ON_CONTROL_RANGE(CBN_KILLFOCUS, IDC_HEIGHT, IDC_ROTATION, OnNumberBoxLeft)
    ON_CONTROL_RANGE(EN_KILLFOCUS, IDC_OFFSET_X, IDC_OFFSET_Y, OnNumberBoxLeft)
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
    : CAcUiDialog(IDD_TEXT_PALETTE, pParent) {
    m_hIcon = AfxGetApp()->LoadIcon(IDI_KESTRIN);
    // The placement command has just picked the text or made a new line.
    m_preview.setPickedFromDrawing(g_textProperties.picked != 0);
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
    setDialogIcons(*this, m_hIcon);

    appendAboutToSystemMenu(*this);

    loadButtonImages();

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
    for (const std::string& name : PalettePreview::styleNames()) {
        m_cmbStyle.AddString(name.c_str());
        if (name == kSymbolStyleName) m_btnOwnFont.ShowWindow(SW_HIDE);
    }
}

// Members to controls: the one way the palette writes its controls. The
// change notifications these writes raise are dropped (OnCommand): a handler
// would read every control back while later members are not yet written.
void CTextPaletteDlg::writeControls() {
    const bool was = m_writing;
    m_writing = true;
    UpdateData(FALSE);
    m_writing = was;
}

BOOL CTextPaletteDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A control's notification raised by writeControls is the palette's own
    // echo, not the user's change.
    if (m_writing && lParam != 0) return TRUE;
    return CAcUiDialog::OnCommand(wParam, lParam);
}

PaletteFields CTextPaletteDlg::fields() const {
    return {m_strText, m_strHeight, m_strRotation, m_strStyle, m_strOblique, m_strWidth, m_strOffsetX, m_strOffsetY};
}

void CTextPaletteDlg::takeFields(const PaletteFields& f) {
    m_strText = f.text;
    m_strHeight = f.height;
    m_strRotation = f.rotation;
    m_strStyle = f.style;
    m_strOblique = f.oblique;
    m_strWidth = f.width;
    m_strOffsetX = f.offsetX;
    m_strOffsetY = f.offsetY;
}

BOOL CTextPaletteDlg::PreTranslateMessage(MSG* pMsg) {
    if (m_pToolTip != nullptr) m_pToolTip->RelayEvent(pMsg);
    updateKeyboardIndicators(*this);
    return CAcUiDialog::PreTranslateMessage(pMsg);
}

void CTextPaletteDlg::OnPaint() {
    if (!paintMinimisedIcon(*this, m_hIcon)) CAcUiDialog::OnPaint();
}

HCURSOR CTextPaletteDlg::OnQueryDragIcon() { return dragCursorOf(m_hIcon); }

void CTextPaletteDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
    CAcUiDialog::OnShowWindow(bShow, nStatus);
    if (bShow) m_edtText.SetFocus();
}

void CTextPaletteDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if (isAboutCommand(nID)) showAboutBox(this);
    else CAcUiDialog::OnSysCommand(nID, lParam);
}

void CTextPaletteDlg::OnAboutClicked() { showAboutBox(this); }

void CTextPaletteDlg::OnHelpClicked() { showHelpFile(); }

void CTextPaletteDlg::OnCancel() {
    eraseIfEmpty(g_textProperties.entity);
    CAcUiDialog::OnCancel();
}
