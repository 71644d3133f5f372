// The palette's text field helpers: clipboard and undo, the symbol
// keyboard, Roman numerals, case and layout conversion and the layout
// switch. What to insert or the new text comes from plain functions; the
// palette only applies it to its controls.
#include "plugin/palette/KeyboardIndicators.h"
#include "plugin/palette/LayoutConverter.h"
#include "plugin/palette/RomanNumerals.h"
#include "plugin/palette/SymbolCodes.h"
#include "plugin/palette/TextPaletteDlg.h"

void CTextPaletteDlg::OnCut() { m_edtText.Cut(); }
void CTextPaletteDlg::OnCopy() { m_edtText.Copy(); }
void CTextPaletteDlg::OnPaste() { m_edtText.Paste(); }

void CTextPaletteDlg::OnUndo() {
    m_edtText.Undo();
    applyToPreview();
}

// Puts `code` in place of the text field's selection (no undo record) and
// focuses the field; its change notification then applies the preview.
void CTextPaletteDlg::insertCode(const std::string& code) {
    m_edtText.ReplaceSel(code.c_str(), FALSE);
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnSymbolButton(UINT nID) {
    const int id = static_cast<int>(nID);
    const SymbolButton* button = findSymbolButton(id);
    if (button == nullptr) return;
    // Mode buttons look at their states from before this click, so the
    // controls are not read for them.
    if (id == kDiameterButton) m_preview.refreshStyleName();
    if (button->kind == SymbolKind::OwnFont) UpdateData(TRUE);
    const std::string code = symbolClickCode(id, m_modeStates, g_textProperties.styleName, m_strStyle);
    if (!code.empty()) insertCode(code);
}

void CTextPaletteDlg::OnRomanChanged() {
    UpdateData(TRUE);
    m_btnRomanOut.EnableWindow(!m_strRoman.empty());
}

void CTextPaletteDlg::OnRomanOutput() {
    const RomanOutput out = romanOutput(m_strRoman);
    m_strRoman.clear();
    m_btnRomanOut.EnableWindow(FALSE);
    if (out.refusal != nullptr) {
        std::string title;
        GetWindowText(title);
        MessageBox(out.refusal, title.c_str(), MB_ICONINFORMATION | MB_OK);
        writeControls();
        m_edtRoman.SetFocus();
        return;
    }
    writeControls();
    insertCode(out.code);
}

void CTextPaletteDlg::OnSwapCase() {
    UpdateData(TRUE);
    int start = 0, end = 0;
    m_edtText.GetSel(start, end);
    m_strText = convertSelection(m_strText, start, end, SelectionConversion::Case);
    writeControls();
    applyToPreview();
}

void CTextPaletteDlg::OnSwapLayout() {
    UpdateData(TRUE);
    int start = 0, end = 0;
    m_edtText.GetSel(start, end);
    m_strText = convertSelection(m_strText, start, end, SelectionConversion::Layout);
    writeControls();
    applyToPreview();
}

void CTextPaletteDlg::OnLanguageClicked() {
    switchKeyboardLayout();
    UpdateData(TRUE);
    m_edtText.SetFocus();
}
