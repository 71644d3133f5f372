// The palette's side of the preview: record to controls, controls to the
// preview (PalettePreview does the drawing's part), and the handlers of the
// property controls.
#include <cstdlib>

#include "base/Cp1251.h"
#include "plugin/palette/TextPaletteDlg.h"
#include "plugin/palette/TextProperties.h"

using namespace kestrin::literals;

void CTextPaletteDlg::refreshFromRecord() {
    switch (g_textProperties.horizontalMode) {
    case 0: m_btnLeft.SetCheck(BST_CHECKED); break;
    case 1: m_btnCenter.SetCheck(BST_CHECKED); break;
    case 2: m_btnRight.SetCheck(BST_CHECKED); break;
    default: break;
    }
    PaletteFields f = fields();
    m_preview.show(f);
    takeFields(f);
    applyStyleLook(g_textProperties.styleName);
    writeControls();
    m_edtText.SetSel(0, m_edtText.GetWindowTextLength());
}

void CTextPaletteDlg::applyToPreview() {
    UpdateData(TRUE);
    const bool isText = m_preview.apply(fields());
    m_edtText.EnableWindow(isText);
    m_btnNewLine.ShowWindow(isText ? SW_SHOW : SW_HIDE);
    if (!isText) {
        m_strText = "Это не текст!"_cp;
        writeControls();
    }
}

void CTextPaletteDlg::eraseIfEmpty(ads_name entity) { m_preview.eraseIfEmpty(m_strText, entity); }

namespace {

// The chosen entry of a combo box; false when none is chosen.
bool chosenEntry(const CComboBox& combo, std::string& entry) {
    const int index = combo.GetCurSel();
    if (index == CB_ERR) return false;
    combo.GetLBText(index, entry);
    return true;
}

}  // namespace

void CTextPaletteDlg::OnStyleSelected() {
    std::string entry;
    if (chosenEntry(m_cmbStyle, entry)) m_preview.chooseStyle(entry);
    applyStyleLook(entry);
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnHeightSelected() {
    std::string entry;
    if (chosenEntry(m_cmbHeight, entry)) g_textProperties.height = std::atof(entry.c_str());
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnHeightTyped() {
    UpdateData(TRUE);
    g_textProperties.height = std::atof(m_strHeight.c_str());
    applyToPreview();
}

void CTextPaletteDlg::OnObliqueSelected() {
    std::string entry;
    if (chosenEntry(m_cmbOblique, entry)) g_textProperties.oblique = std::atof(entry.c_str()) * kDegreesToRadians;
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnObliqueTyped() {
    UpdateData(TRUE);
    m_preview.setSlantDegrees(std::atof(m_strOblique.c_str()));
    applyToPreview();
}

void CTextPaletteDlg::OnRotationSelected() {
    std::string entry;
    if (chosenEntry(m_cmbRotation, entry)) g_textProperties.rotation = std::atof(entry.c_str()) * kDegreesToRadians;
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnRotationTyped() {
    UpdateData(TRUE);
    g_textProperties.rotation = std::atof(m_strRotation.c_str()) * kDegreesToRadians;
    applyToPreview();
}

void CTextPaletteDlg::OnWidthSelected() {
    std::string entry;
    if (chosenEntry(m_cmbWidth, entry)) g_textProperties.widthFactor = std::atof(entry.c_str());
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnWidthTyped() {
    UpdateData(TRUE);
    m_preview.setWidthOfStyle(std::atof(m_strWidth.c_str()), m_strStyle);
    applyToPreview();
}

void CTextPaletteDlg::OnTextChanged() { applyToPreview(); }

void CTextPaletteDlg::OnOffsetXChanged() {
    UpdateData(TRUE);
    g_textProperties.offsetX = std::atof(m_strOffsetX.c_str());
}

void CTextPaletteDlg::OnOffsetYChanged() {
    UpdateData(TRUE);
    g_textProperties.offsetY = std::atof(m_strOffsetY.c_str());
}

void CTextPaletteDlg::OnJustifyLeft() { justify(0); }
void CTextPaletteDlg::OnJustifyCenter() { justify(1); }
void CTextPaletteDlg::OnJustifyRight() { justify(2); }

void CTextPaletteDlg::justify(int mode) {
    g_textProperties.horizontalMode = mode;
    m_btnLeft.SetCheck(mode == 0 ? BST_CHECKED : BST_UNCHECKED);
    m_btnCenter.SetCheck(mode == 1 ? BST_CHECKED : BST_UNCHECKED);
    m_btnRight.SetCheck(mode == 2 ? BST_CHECKED : BST_UNCHECKED);
    applyToPreview();
    m_edtText.SetFocus();
}
