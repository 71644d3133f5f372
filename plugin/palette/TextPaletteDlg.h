// The composition palette: the dialog in which the user writes one line of
// text after another into the drawing. A text entity in the drawing (the
// preview entity, g_textProperties.entity) shows the current line with the
// current properties; every change in the palette is written into it at once.
#pragma once

#include <functional>
#include <string>

#include "host/api/AdsTypes.h"
#include "host/ui/AcUiDialog.h"
#include "platform/ui/Framework.h"
#include "plugin/palette/FilterEdit.h"
#include "plugin/palette/PaletteModel.h"
#include "plugin/palette/PalettePreview.h"
#include "plugin/palette/TextProperties.h"

class CTextPaletteDlg : public CAcUiDialog {
public:
    CTextPaletteDlg(CWnd* pParent = nullptr);
    ~CTextPaletteDlg() override;

    // The tooltips of the controls (built anew after each hand-over).
    const CToolTipCtrl* toolTips() const { return m_pToolTip; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    void OnSysCommand(UINT nID, LPARAM lParam) override;
    void OnAboutClicked();
    void OnHelpClicked();

    // Property handlers (TextPaletteDlgPreview.cpp).
    void OnStyleSelected(); void OnStyleTyped();
    void OnHeightSelected(); void OnHeightTyped();
    void OnWidthSelected(); void OnWidthTyped();
    void OnObliqueSelected(); void OnObliqueTyped();
    void OnRotationSelected(); void OnRotationTyped();
    void OnTextChanged(); void OnOffsetXChanged(); void OnOffsetYChanged();
    void OnJustifyLeft(); void OnJustifyCenter(); void OnJustifyRight();
    // A number box that lost the focus shows the value in force again when
    // it holds a refused one.
    void OnNumberBoxLeft(UINT nID);

    // Editing, symbol keyboard, Roman numerals, conversions and the layout
    // switch (TextPaletteDlgKeys.cpp).
    void OnCut(); void OnCopy(); void OnPaste(); void OnUndo();
    void OnSymbolButton(UINT nID);
    void OnRomanChanged(); void OnRomanOutput();
    void OnSwapCase(); void OnSwapLayout();
    void OnLanguageClicked();

    // Line operations that may hand input over to the host
    // (TextPaletteDlgLines.cpp).
    void pickLineOffset(); void startLineAtPoint(); void newLine();
    void moveLine(); void editExistingText(); void loadOwnFont();

    DECLARE_MESSAGE_MAP()

private:
    // Values exchanged with the controls, stored as typed.
    std::string m_strText;       // 8019
    std::string m_strHeight;     // 8003
    std::string m_strRotation;   // 8006
    std::string m_strStyle;      // 8002
    std::string m_strOblique;    // 8005
    std::string m_strWidth;      // 8004
    std::string m_strOffsetX;    // 8015
    std::string m_strOffsetY;    // 8016
    int m_modeStates[4] = {0, 0, 0, 0};  // 8029..8032
    std::string m_strRoman;      // 8038
    std::string m_strLanguage;   // 8056

    // Controls the palette addresses directly.
    CButton m_btnCut, m_btnCopy, m_btnPaste;                 // 8008 8007 8011
    CButton m_btnLeft, m_btnCenter, m_btnRight;              // 8021 8022 8023
    CButton m_btnCase, m_btnLayout;                          // 8046 8048
    CButton m_btnOwnFont, m_btnUndo, m_btnEditText;          // 8013 8044 8043
    CButton m_btnHelp, m_btnAbout, m_btnExit;                // 4 3 2
    CButton m_btnPickOffset, m_btnMove, m_btnPickPoint, m_btnNewLine;  // 8017 8018 8020 8024
    CButton m_btnRomanOut;                                   // 8041
    CButton m_btnModes[4];                                   // 8029..8032
    CComboBox m_cmbStyle, m_cmbHeight, m_cmbWidth, m_cmbOblique, m_cmbRotation;  // 8002..8006
    CStatic m_stcIndicator1, m_stcIndicator2, m_stcLanguage;  // 8053 8057 8056
    // Filtered edit fields (their character filters are set in OnInitDialog).
    CFilterEdit m_edtOffsetX, m_edtOffsetY, m_edtRoman, m_edtText;  // 8015 8016 8038 8019

    CToolTipCtrl* m_pToolTip = nullptr;

    void applyStyleLook(const std::string& styleName);
    void createToolTips();
    void refreshFromRecord();
    void applyToPreview();
    void eraseIfEmpty(ads_name entity);
    // Members to controls: the one way the palette writes its controls. The
    // change notifications these writes raise are dropped (OnCommand): a
    // handler would read every control back while later members are not
    // yet written.
    void writeControls();

    // Asks for a line's insertion point from `base`; the model places the
    // line there. False when none was given.
    bool pickInsertionPoint(const AcGePoint3d& base);
    // The same while the preview entity follows the cursor.
    bool dragLineToPoint(const AcGePoint3d& base);
    // Input from the drawing: hide for it, then come back or end the palette.
    void beginHandOver();
    void completeHandOver();
    void cancelHandOver();
    // Creates the line with `text` at the point just picked, shows the step
    // from `base` to it in the offset fields and completes the hand-over.
    void placeLineAtPickedPoint(const AcGePoint3d& base, const std::string& text);
    // The same with the picked text itself moved to the point.
    void movePickedTextToPickedPoint(const AcGePoint3d& base);
    void completePickedStep(const AcGePoint3d& base);
    // A new preview line with `text` (createTextEntity), made by the palette.
    void makeLine(const std::string& text);
    void movePickedText();
    bool offsetMode() const;  // the offset boxes hold a step
    // The next line at the step from this one, with `text` (a new line empty,
    // a moved one its own): no point is asked.
    void placeSteppedLine(const std::string& text);
    void fillStyleList();
    void justify(int mode);
    void loadButtonImages();
    void setButtonBitmap(int controlId, int resourceId);
    PaletteFields fields() const;
    void takeFields(const PaletteFields& fields);
    // Puts `code` in place of the text field's selection (no undo record) and
    // focuses the field; its change notification then applies the preview.
    void insertCode(const std::string& code);

    // The number boxes: the control and the member each is exchanged through.
    struct NumberBoxInfo;
    static const NumberBoxInfo& numberBox(PaletteModel::Box box);
    using Take = std::function<bool(double)>;  // a take of the model
    void numberChosen(const CComboBox& combo, PaletteModel::Box box, const Take& take);
    bool numberTyped(PaletteModel::Box box, const Take& take);  // true: taken

    PalettePreview m_preview{g_textProperties};
    PaletteModel m_model{g_textProperties, m_preview};
    HICON m_hIcon = nullptr;
    CBitmap m_bitmaps[42];  // in the order of kButtonBitmaps
    CFont m_fontSymbol;     // the Greek letter buttons' font; outlives them
    bool m_writing = false;  // writeControls is running
};
