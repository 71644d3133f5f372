// The palette's side of the preview: record to controls, controls to the
// preview (PalettePreview does the drawing's part), and the handlers of the
// property controls.
#include <cstdlib>

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/palette/PaletteNumbers.h"
#include "plugin/palette/TextPaletteDlg.h"
#include "plugin/resources/ResourceIds.h"
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
    m_model.forgetRefusals();  // every box shows the value in force
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

// Numbers typed or chosen are checked by the model before they reach the
// record: a refused one stays in its box and the preview keeps the value in
// force; the box is put back when it loses the focus.
struct CTextPaletteDlg::NumberBoxInfo {
    int controlId;
    std::string CTextPaletteDlg::*text;  // the member the box is exchanged through
    bool waitsForNumber;                 // typing that holds no number yet is left alone
};

const CTextPaletteDlg::NumberBoxInfo& CTextPaletteDlg::numberBox(PaletteModel::Box box) {
    static const NumberBoxInfo boxes[PaletteModel::kBoxes] = {
        {IDC_HEIGHT, &CTextPaletteDlg::m_strHeight, true},       {IDC_WIDTH, &CTextPaletteDlg::m_strWidth, true},
        {IDC_OBLIQUE, &CTextPaletteDlg::m_strOblique, false},    {IDC_ROTATION, &CTextPaletteDlg::m_strRotation, false},
        {IDC_OFFSET_X, &CTextPaletteDlg::m_strOffsetX, false},   {IDC_OFFSET_Y, &CTextPaletteDlg::m_strOffsetY, false},
    };
    return boxes[box];
}

// A number chosen from a box's list goes into the line: the preview follows
// and the text field takes the focus again.
void CTextPaletteDlg::numberChosen(const CComboBox& combo, PaletteModel::Box box, const Take& take) {
    std::string entry;
    if (chosenEntry(combo, entry) && !take(std::atof(entry.c_str()))) m_model.refuse(box);
    applyToPreview();
    m_edtText.SetFocus();
}

// A number typed into a box: taken, or refused with the preview as it was.
bool CTextPaletteDlg::numberTyped(PaletteModel::Box box, const Take& take) {
    UpdateData(TRUE);
    const NumberBoxInfo& info = numberBox(box);
    const std::string& text = this->*info.text;
    if (info.waitsForNumber && !holdsNumber(text)) return false;  // on the way to a number: nothing to take yet
    if (!take(std::atof(text.c_str()))) {
        m_model.refuse(box);
        return false;
    }
    return true;
}

void CTextPaletteDlg::OnHeightSelected() {
    numberChosen(m_cmbHeight, PaletteModel::kHeight, [this](double v) { return m_model.takeHeight(v); });
}
void CTextPaletteDlg::OnWidthSelected() {
    numberChosen(m_cmbWidth, PaletteModel::kWidth, [this](double v) { return m_model.takeWidthOfLine(v); });
}
void CTextPaletteDlg::OnObliqueSelected() {
    numberChosen(m_cmbOblique, PaletteModel::kSlant, [this](double v) { return m_model.takeSlantOfLine(v); });
}
void CTextPaletteDlg::OnRotationSelected() {
    numberChosen(m_cmbRotation, PaletteModel::kRotation, [this](double v) { return m_model.takeRotation(v); });
}

void CTextPaletteDlg::OnHeightTyped() {
    if (numberTyped(PaletteModel::kHeight, [this](double v) { return m_model.takeHeight(v); })) applyToPreview();
}
void CTextPaletteDlg::OnWidthTyped() {
    if (numberTyped(PaletteModel::kWidth, [this](double v) { return m_model.takeWidthOfStyle(v, m_strStyle); }))
        applyToPreview();
}
void CTextPaletteDlg::OnObliqueTyped() {
    if (numberTyped(PaletteModel::kSlant, [this](double v) { return m_model.takeSlantOfStyle(v); })) applyToPreview();
}
void CTextPaletteDlg::OnRotationTyped() {
    if (numberTyped(PaletteModel::kRotation, [this](double v) { return m_model.takeRotation(v); })) applyToPreview();
}
// The offsets only step later lines: no preview follows them.
void CTextPaletteDlg::OnOffsetXChanged() {
    numberTyped(PaletteModel::kOffsetX, [this](double v) { return m_model.takeOffsetX(v); });
}
void CTextPaletteDlg::OnOffsetYChanged() {
    numberTyped(PaletteModel::kOffsetY, [this](double v) { return m_model.takeOffsetY(v); });
}

void CTextPaletteDlg::OnTextChanged() { applyToPreview(); }

// A number box that lost the focus shows the value in force again when it
// holds a refused one.
void CTextPaletteDlg::OnNumberBoxLeft(UINT nID) {
    UpdateData(TRUE);
    for (int b = 0; b < PaletteModel::kBoxes; ++b) {
        const auto box = static_cast<PaletteModel::Box>(b);
        const NumberBoxInfo& info = numberBox(box);
        if (static_cast<UINT>(info.controlId) != nID) continue;
        if (!m_model.putBack(box)) return;
        this->*info.text = m_model.inForce(box);
        writeControls();
        return;
    }
}

void CTextPaletteDlg::OnJustifyLeft() { justify(0); }
void CTextPaletteDlg::OnJustifyCenter() { justify(1); }
void CTextPaletteDlg::OnJustifyRight() { justify(2); }

void CTextPaletteDlg::justify(int mode) {
    m_model.justify(mode);
    m_btnLeft.SetCheck(mode == 0 ? BST_CHECKED : BST_UNCHECKED);
    m_btnCenter.SetCheck(mode == 1 ? BST_CHECKED : BST_UNCHECKED);
    m_btnRight.SetCheck(mode == 2 ? BST_CHECKED : BST_UNCHECKED);
    applyToPreview();
    m_edtText.SetFocus();
}
