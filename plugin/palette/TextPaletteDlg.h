// The composition palette: the dialog in which the user writes one line of
// text after another into the drawing. A text entity in the drawing (the
// preview entity, g_textProperties.entity) shows the current line with the
// current properties; every change in the palette is written into it at once.
#pragma once

#include <string>

#include "host/api/AdsTypes.h"
#include "host/ui/AcUiDialog.h"
#include "platform/ui/Framework.h"
#include "plugin/palette/FilterEdit.h"
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
    // Steps the record's insertion point by the offset fields when the
    // rotation allows it.
    void stepByOffsets();
    // The step between two picked points becomes the record's offsets unless
    // either is beyond kMaxOffset (refused and reported; the old step stays).
    bool learnOffsets(double dx, double dy);
    bool offsetMode() const;
    void fillStyleList();
    void justify(int mode);
    void loadButtonImages();
    void setButtonBitmap(int controlId, int resourceId);
    PaletteFields fields() const;
    void takeFields(const PaletteFields& fields);
    // Puts `code` in place of the text field's selection (no undo record) and
    // focuses the field; its change notification then applies the preview.
    void insertCode(const std::string& code);

    // The number boxes whose typed value was refused: reported once, put
    // back when they lose the focus.
    enum NumberBox { kHeightBox, kWidthBox, kSlantBox, kRotationBox, kOffsetXBox, kOffsetYBox, kNumberBoxes };
    struct NumberBoxInfo;
    static const NumberBoxInfo& numberBox(NumberBox box);
    void refuse(NumberBox box);
    // Take a checked value into the record (a typed slant or width goes into
    // the style record); false, taking nothing, for a refused one.
    using Take = bool (CTextPaletteDlg::*)(double);
    bool takeHeight(double height);
    bool takeWidthOfLine(double widthFactor);
    bool takeWidthOfStyle(double widthFactor);
    bool takeSlantOfLine(double degrees);
    bool takeSlantOfStyle(double degrees);
    bool takeRotation(double degrees);
    bool takeOffsetX(double offset);
    bool takeOffsetY(double offset);
    void numberChosen(const CComboBox& combo, NumberBox box, Take take);
    bool numberTyped(NumberBox box, Take take);  // true: taken
    bool m_refused[kNumberBoxes] = {};

    PalettePreview m_preview{g_textProperties};
    HICON m_hIcon = nullptr;
    CBitmap m_bitmaps[42];  // in the order of kButtonBitmaps
    CFont m_fontSymbol;     // the Greek letter buttons' font; outlives them
    bool m_writing = false;  // writeControls is running
};
