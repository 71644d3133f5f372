// The palette's side of the preview: record to controls, controls to the
// preview (PalettePreview does the drawing's part), and the handlers of the
// property controls.
#include <cstdlib>

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/frame/SystemVariables.h"
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
    for (bool& refused : m_refused) refused = false;  // every box shows the value in force
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

// Numbers typed or chosen are checked before they reach the record: a value
// the host would refuse, or one beyond the palette's bounds, stays in its box
// and the preview keeps the value in force; the refusal is said once on the
// command line and the box is put back when it loses the focus.
void CTextPaletteDlg::refuse(NumberBox box) {
    if (m_refused[box]) return;
    m_refused[box] = true;
    const std::string size = formatWhole(kMaxTextSize);
    const std::string slant = formatWhole(kMaxSlantDegrees);
    const std::string offset = formatWhole(kMaxOffset);
    switch (box) {
    case kHeightBox:
        acutPrintf("\nВысота букв должна быть больше 0 и не больше %s.\n"_cp, size.c_str());
        break;
    case kWidthBox:
        acutPrintf("\nШирина букв должна быть больше 0 и не больше %s.\n"_cp, size.c_str());
        break;
    case kSlantBox: acutPrintf("\nНаклон должен быть от -%s до %s.\n"_cp, slant.c_str(), slant.c_str()); break;
    case kRotationBox: acutPrintf("%s", "\nПоворот текста должен быть конечным числом градусов.\n"_cp); break;
    case kOffsetXBox:
    case kOffsetYBox:
        acutPrintf("\nСмещение должно быть от -%s до %s.\n"_cp, offset.c_str(), offset.c_str());
        break;
    default: break;
    }
}

bool CTextPaletteDlg::takeHeight(double height) {
    if (!isTextSize(height)) return false;
    m_refused[kHeightBox] = false;
    g_textProperties.height = height;
    return true;
}

bool CTextPaletteDlg::takeWidth(double widthFactor, bool intoStyle) {
    if (!isTextSize(widthFactor)) return false;
    m_refused[kWidthBox] = false;
    if (intoStyle) m_preview.setWidthOfStyle(widthFactor, m_strStyle);
    else g_textProperties.widthFactor = widthFactor;
    return true;
}

bool CTextPaletteDlg::takeSlant(double degrees, bool intoStyle) {
    if (!isSlantDegrees(degrees)) return false;
    m_refused[kSlantBox] = false;
    if (intoStyle) m_preview.setSlantDegrees(degrees);
    else g_textProperties.oblique = degrees * kDegreesToRadians;
    return true;
}

bool CTextPaletteDlg::takeRotation(double degrees) {
    if (!rotationFromDegrees(degrees, g_textProperties.rotation)) return false;
    m_refused[kRotationBox] = false;
    return true;
}

void CTextPaletteDlg::OnHeightSelected() {
    std::string entry;
    if (chosenEntry(m_cmbHeight, entry) && !takeHeight(std::atof(entry.c_str()))) refuse(kHeightBox);
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnHeightTyped() {
    UpdateData(TRUE);
    if (!holdsNumber(m_strHeight)) return;  // on the way to a number: nothing to take yet
    if (!takeHeight(std::atof(m_strHeight.c_str()))) return refuse(kHeightBox);
    applyToPreview();
}

void CTextPaletteDlg::OnObliqueSelected() {
    std::string entry;
    if (chosenEntry(m_cmbOblique, entry) && !takeSlant(std::atof(entry.c_str()), false)) refuse(kSlantBox);
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnObliqueTyped() {
    UpdateData(TRUE);
    if (!takeSlant(std::atof(m_strOblique.c_str()), true)) return refuse(kSlantBox);
    applyToPreview();
}

void CTextPaletteDlg::OnRotationSelected() {
    std::string entry;
    if (chosenEntry(m_cmbRotation, entry) && !takeRotation(std::atof(entry.c_str()))) refuse(kRotationBox);
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnRotationTyped() {
    UpdateData(TRUE);
    if (!takeRotation(std::atof(m_strRotation.c_str()))) return refuse(kRotationBox);
    applyToPreview();
}

void CTextPaletteDlg::OnWidthSelected() {
    std::string entry;
    if (chosenEntry(m_cmbWidth, entry) && !takeWidth(std::atof(entry.c_str()), false)) refuse(kWidthBox);
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnWidthTyped() {
    UpdateData(TRUE);
    if (!holdsNumber(m_strWidth)) return;  // on the way to a number: nothing to take yet
    if (!takeWidth(std::atof(m_strWidth.c_str()), true)) return refuse(kWidthBox);
    applyToPreview();
}

void CTextPaletteDlg::OnTextChanged() { applyToPreview(); }

void CTextPaletteDlg::OnOffsetXChanged() {
    UpdateData(TRUE);
    const double offset = std::atof(m_strOffsetX.c_str());
    if (!isOffset(offset)) return refuse(kOffsetXBox);
    m_refused[kOffsetXBox] = false;
    g_textProperties.offsetX = offset;
}

void CTextPaletteDlg::OnOffsetYChanged() {
    UpdateData(TRUE);
    const double offset = std::atof(m_strOffsetY.c_str());
    if (!isOffset(offset)) return refuse(kOffsetYBox);
    m_refused[kOffsetYBox] = false;
    g_textProperties.offsetY = offset;
}

void CTextPaletteDlg::OnNumberBoxLeft(UINT nID) {
    const TextProperties& r = g_textProperties;
    UpdateData(TRUE);
    std::string* member = nullptr;
    std::string inForce;
    NumberBox box = kNumberBoxes;
    switch (nID) {
    case IDC_HEIGHT: {
        box = kHeightBox;
        member = &m_strHeight;
        double height = r.height;
        if (height == 0) getRealVar("TEXTSIZE", height);  // shown while the record's is unknown
        inForce = formatDistance(height);
        break;
    }
    case IDC_WIDTH: box = kWidthBox; member = &m_strWidth; inForce = formatDistance(r.widthFactor); break;
    case IDC_OBLIQUE:
        box = kSlantBox;
        member = &m_strOblique;
        inForce = formatDistance(r.oblique * kRadiansToDegrees);
        break;
    case IDC_ROTATION: box = kRotationBox; member = &m_strRotation; inForce = formatDegrees(r.rotation); break;
    case IDC_OFFSET_X:
        box = kOffsetXBox;
        member = &m_strOffsetX;
        inForce = r.offsetX == 0 ? std::string() : formatWhole(r.offsetX);
        break;
    case IDC_OFFSET_Y:
        box = kOffsetYBox;
        member = &m_strOffsetY;
        inForce = r.offsetY == 0 ? std::string() : formatWhole(r.offsetY);
        break;
    default: return;
    }
    if (!m_refused[box]) return;
    m_refused[box] = false;
    *member = inForce;
    writeControls();
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
