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
struct CTextPaletteDlg::NumberBoxInfo {
    int controlId;
    std::string CTextPaletteDlg::*text;  // the member the box is exchanged through
    bool waitsForNumber;                 // typing that holds no number yet is left alone
    std::string (*refusal)();            // what the command line says
    std::string (*inForce)(const TextProperties&);  // what the box is put back to
};

namespace {

std::string sizeRefusal(const char* what) {
    return std::string(what) + " должна быть больше 0 и не больше "_cp + formatWhole(kMaxTextSize) + ".\n";
}

std::string rangeRefusal(const char* what, double bound) {
    const std::string b = formatWhole(bound);
    return std::string(what) + " от -"_cp + b + " до "_cp + b + ".\n";
}

}  // namespace

const CTextPaletteDlg::NumberBoxInfo& CTextPaletteDlg::numberBox(NumberBox box) {
    static const NumberBoxInfo boxes[kNumberBoxes] = {
        {IDC_HEIGHT, &CTextPaletteDlg::m_strHeight, true, [] { return sizeRefusal("\nВысота букв"_cp); },
         [](const TextProperties& r) {
             double height = r.height;
             if (height == 0) getRealVar("TEXTSIZE", height);  // shown while the record's is unknown
             return formatDistance(height);
         }},
        {IDC_WIDTH, &CTextPaletteDlg::m_strWidth, true, [] { return sizeRefusal("\nШирина букв"_cp); },
         [](const TextProperties& r) { return formatDistance(r.widthFactor); }},
        {IDC_OBLIQUE, &CTextPaletteDlg::m_strOblique, false,
         [] { return rangeRefusal("\nНаклон должен быть"_cp, kMaxSlantDegrees); },
         [](const TextProperties& r) { return formatDistance(r.oblique * kRadiansToDegrees); }},
        {IDC_ROTATION, &CTextPaletteDlg::m_strRotation, false,
         [] { return std::string("\nПоворот текста должен быть конечным числом градусов.\n"_cp); },
         [](const TextProperties& r) { return formatDegrees(r.rotation); }},
        {IDC_OFFSET_X, &CTextPaletteDlg::m_strOffsetX, false,
         [] { return rangeRefusal("\nСмещение должно быть"_cp, kMaxOffset); },
         [](const TextProperties& r) { return r.offsetX == 0 ? std::string() : formatWhole(r.offsetX); }},
        {IDC_OFFSET_Y, &CTextPaletteDlg::m_strOffsetY, false,
         [] { return rangeRefusal("\nСмещение должно быть"_cp, kMaxOffset); },
         [](const TextProperties& r) { return r.offsetY == 0 ? std::string() : formatWhole(r.offsetY); }},
    };
    return boxes[box];
}

void CTextPaletteDlg::refuse(NumberBox box) {
    if (m_refused[box]) return;
    m_refused[box] = true;
    acutPrintf("%s", numberBox(box).refusal().c_str());
}

bool CTextPaletteDlg::takeHeight(double height) {
    if (!isTextSize(height)) return false;
    m_refused[kHeightBox] = false;
    g_textProperties.height = height;
    return true;
}

bool CTextPaletteDlg::takeWidthOfLine(double widthFactor) {
    if (!isTextSize(widthFactor)) return false;
    m_refused[kWidthBox] = false;
    g_textProperties.widthFactor = widthFactor;
    return true;
}

bool CTextPaletteDlg::takeWidthOfStyle(double widthFactor) {
    if (!isTextSize(widthFactor)) return false;
    m_refused[kWidthBox] = false;
    m_preview.setWidthOfStyle(widthFactor, m_strStyle);
    return true;
}

bool CTextPaletteDlg::takeSlantOfLine(double degrees) {
    if (!isSlantDegrees(degrees)) return false;
    m_refused[kSlantBox] = false;
    g_textProperties.oblique = degrees * kDegreesToRadians;
    return true;
}

bool CTextPaletteDlg::takeSlantOfStyle(double degrees) {
    if (!isSlantDegrees(degrees)) return false;
    m_refused[kSlantBox] = false;
    m_preview.setSlantDegrees(degrees);
    return true;
}

bool CTextPaletteDlg::takeRotation(double degrees) {
    if (!rotationFromDegrees(degrees, g_textProperties.rotation)) return false;
    m_refused[kRotationBox] = false;
    return true;
}

bool CTextPaletteDlg::takeOffsetX(double offset) {
    if (!isOffset(offset)) return false;
    m_refused[kOffsetXBox] = false;
    g_textProperties.offsetX = offset;
    return true;
}

bool CTextPaletteDlg::takeOffsetY(double offset) {
    if (!isOffset(offset)) return false;
    m_refused[kOffsetYBox] = false;
    g_textProperties.offsetY = offset;
    return true;
}

// A number chosen from a box's list goes into the line: the preview follows
// and the text field takes the focus again.
void CTextPaletteDlg::numberChosen(const CComboBox& combo, NumberBox box, Take take) {
    std::string entry;
    if (chosenEntry(combo, entry) && !(this->*take)(std::atof(entry.c_str()))) refuse(box);
    applyToPreview();
    m_edtText.SetFocus();
}

// A number typed into a box: taken, or refused with the preview as it was.
// The offsets only step later lines: no preview follows them.
bool CTextPaletteDlg::numberTyped(NumberBox box, Take take) {
    UpdateData(TRUE);
    const NumberBoxInfo& info = numberBox(box);
    const std::string& text = this->*info.text;
    if (info.waitsForNumber && !holdsNumber(text)) return false;  // on the way to a number: nothing to take yet
    if (!(this->*take)(std::atof(text.c_str()))) {
        refuse(box);
        return false;
    }
    return true;
}

void CTextPaletteDlg::OnHeightSelected() { numberChosen(m_cmbHeight, kHeightBox, &CTextPaletteDlg::takeHeight); }
void CTextPaletteDlg::OnWidthSelected() { numberChosen(m_cmbWidth, kWidthBox, &CTextPaletteDlg::takeWidthOfLine); }
void CTextPaletteDlg::OnObliqueSelected() { numberChosen(m_cmbOblique, kSlantBox, &CTextPaletteDlg::takeSlantOfLine); }
void CTextPaletteDlg::OnRotationSelected() {
    numberChosen(m_cmbRotation, kRotationBox, &CTextPaletteDlg::takeRotation);
}

void CTextPaletteDlg::OnHeightTyped() {
    if (numberTyped(kHeightBox, &CTextPaletteDlg::takeHeight)) applyToPreview();
}
void CTextPaletteDlg::OnWidthTyped() {
    if (numberTyped(kWidthBox, &CTextPaletteDlg::takeWidthOfStyle)) applyToPreview();
}
void CTextPaletteDlg::OnObliqueTyped() {
    if (numberTyped(kSlantBox, &CTextPaletteDlg::takeSlantOfStyle)) applyToPreview();
}
void CTextPaletteDlg::OnRotationTyped() {
    if (numberTyped(kRotationBox, &CTextPaletteDlg::takeRotation)) applyToPreview();
}
void CTextPaletteDlg::OnOffsetXChanged() { numberTyped(kOffsetXBox, &CTextPaletteDlg::takeOffsetX); }
void CTextPaletteDlg::OnOffsetYChanged() { numberTyped(kOffsetYBox, &CTextPaletteDlg::takeOffsetY); }

void CTextPaletteDlg::OnTextChanged() { applyToPreview(); }

void CTextPaletteDlg::OnNumberBoxLeft(UINT nID) {
    UpdateData(TRUE);
    for (int b = 0; b < kNumberBoxes; ++b) {
        const auto box = static_cast<NumberBox>(b);
        const NumberBoxInfo& info = numberBox(box);
        if (static_cast<UINT>(info.controlId) != nID) continue;
        if (!m_refused[box]) return;
        m_refused[box] = false;
        this->*info.text = info.inForce(g_textProperties);
        writeControls();
        return;
    }
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
