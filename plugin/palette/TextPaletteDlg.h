// The composition palette: the dialog in which the user writes one line of
// text after another into the drawing. A text entity in the drawing (the
// preview entity, g_textProperties.entity) shows the current line with the
// current properties; every change in the palette is written into it at once.
// The handlers translate control events into calls on the model
// (PaletteModel) and show what the record then holds.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "host/api/AdsTypes.h"
#include "host/ui/AcUiDialog.h"
#include "plugin/palette/PaletteControls.h"
#include "plugin/palette/PaletteModel.h"
#include "plugin/palette/PalettePreview.h"
#include "plugin/palette/TextProperties.h"

class CTextPaletteDlg : public CAcUiDialog, private PaletteControls {
public:
    CTextPaletteDlg(CWnd* pParent = nullptr);
    ~CTextPaletteDlg() override;
    const CToolTipCtrl* toolTips() const { return m_pToolTip; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // The window (TextPaletteDlg.cpp).
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    void OnSysCommand(UINT nID, LPARAM lParam) override;
    void OnAboutClicked(); void OnHelpClicked();
    // Properties (TextPaletteDlgPreview.cpp).
    void OnStyleSelected(); void OnStyleTyped(); void OnHeightSelected(); void OnHeightTyped();
    void OnWidthSelected(); void OnWidthTyped(); void OnObliqueSelected(); void OnObliqueTyped();
    void OnRotationSelected(); void OnRotationTyped();
    void OnTextChanged(); void OnOffsetXChanged(); void OnOffsetYChanged();
    void OnJustifyLeft(); void OnJustifyCenter(); void OnJustifyRight();
    void OnNumberBoxLeft(UINT nID);
    // Editing, symbols, Roman numerals, conversions, layout (TextPaletteDlgKeys.cpp).
    void OnCut(); void OnCopy(); void OnPaste(); void OnUndo(); void OnSymbolButton(UINT nID);
    void OnRomanChanged(); void OnRomanOutput(); void OnSwapCase(); void OnSwapLayout(); void OnLanguageClicked();
    // Line operations that may hand input over to the host (TextPaletteDlgLines.cpp).
    void pickLineOffset(); void startLineAtPoint(); void newLine();
    void moveLine(); void editExistingText(); void loadOwnFont();
    DECLARE_MESSAGE_MAP()

private:
    // The one write path into the controls, and the record read back (TextPaletteDlg.cpp).
    void writeControls(); void fillStyleList(); PaletteFields fields() const; void takeFields(const PaletteFields& fields);
    // The window's look (TextPaletteDlgLook.cpp).
    void createToolTips(); void loadButtonImages(); void setButtonBitmap(int controlId, int resourceId);
    void applyStyleLook(const std::string& styleName);
    // The record and the preview (TextPaletteDlgPreview.cpp; insertCode in TextPaletteDlgKeys.cpp).
    void refreshFromRecord(); void applyToPreview(); void eraseIfEmpty(ads_name entity); void justify(int mode);
    void insertCode(const std::string& code);
    struct NumberBoxInfo;
    static const NumberBoxInfo& numberBox(PaletteModel::Box box);
    using Take = std::function<bool(double)>;  // a take of the model
    void numberChosen(const CComboBox& combo, PaletteModel::Box box, const Take& take);
    bool numberTyped(PaletteModel::Box box, const Take& take);
    // The line steps (TextPaletteDlgLines.cpp).
    bool pickInsertionPoint(const AcGePoint3d& base); bool dragLineToPoint(const AcGePoint3d& base);
    bool placeAt(const std::optional<AcGePoint3d>& point);
    void beginHandOver(); void completeHandOver(); void cancelHandOver();
    void placeLineAtPickedPoint(const AcGePoint3d& base, const std::string& text);
    void movePickedTextToPickedPoint(const AcGePoint3d& base); void completePickedStep(const AcGePoint3d& base);
    void makeLine(const std::string& text); void movePickedText();
    bool offsetMode() const; void placeSteppedLine(const std::string& text);

    PalettePreview m_preview{g_textProperties};
    PaletteModel m_model{g_textProperties, m_preview};
    bool m_writing = false;  // writeControls is running
};
