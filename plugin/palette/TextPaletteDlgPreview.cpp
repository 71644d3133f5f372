// The palette and its preview entity: the record shown in the controls, the
// controls written into the record, the entity, its style and the system
// variables, and the handlers of the property controls.
#include <cstdlib>

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/frame/SystemVariables.h"
#include "plugin/frame/TextPlacement.h"
#include "plugin/frame/TextStyles.h"
#include "plugin/palette/PaletteNumbers.h"
#include "plugin/palette/TextPaletteDlg.h"
#include "plugin/palette/TextProperties.h"
#include "plugin/resources/ResourceIds.h"

using namespace kestrin::literals;

namespace {

// Writes the record's properties into the preview text.
void writeRecordInto(AcDbText* text, const TextProperties& r) {
    text->setTextString(r.text.c_str());
    text->setHeight(r.height);
    text->setRotation(r.rotation);
    text->setTextStyle(r.styleId);
    text->setWidthFactor(r.widthFactor);
    text->setOblique(r.oblique);
    text->setHorizontalMode(static_cast<AcDb::TextHorzMode>(r.horizontalMode));
    text->setAlignmentPoint(r.insertionPoint);
    text->setPosition(r.insertionPoint);
}

}  // namespace

void CTextPaletteDlg::refreshFromRecord() {
    TextProperties& r = g_textProperties;
    switch (r.horizontalMode) {
    case 0: m_btnLeft.SetCheck(BST_CHECKED); break;
    case 1: m_btnCenter.SetCheck(BST_CHECKED); break;
    case 2: m_btnRight.SetCheck(BST_CHECKED); break;
    default: break;
    }
    if (r.offsetX != 0) m_strOffsetX = formatWhole(r.offsetX);
    if (r.offsetY != 0) m_strOffsetY = formatWhole(r.offsetY);
    m_strRotation = formatDegrees(r.rotation);

    r.styleId = findTextStyle(r.styleName);
    if (r.styleId.isNull()) {
        getStringVar("TEXTSTYLE", r.styleName);
        r.styleId = findTextStyle(r.styleName);
    }
    m_strStyle = r.styleName;
    applyStyleLook(r.styleName);

    if (r.height == 0) {
        double textSize = 0;
        getRealVar("TEXTSIZE", textSize);
        m_strHeight = formatDistance(textSize);
    } else {
        m_strHeight = formatDistance(r.height);
    }

    if (r.oblique == 0) {
        double styleAngle = 0;
        getStyleObliquingAngle(r.styleId, styleAngle);
        m_strOblique = formatDistance(styleAngle * kRadiansToDegrees);
        writeControls();
        r.oblique = styleAngle;
    } else {
        m_strOblique = formatDistance(r.oblique * kRadiansToDegrees);
    }

    if (r.widthFactor == 0) {
        double styleScale = 0;
        getStyleXScale(r.styleId, styleScale);
        m_strWidth = formatDistance(styleScale);
        r.widthFactor = styleScale;
    } else {
        m_strWidth = formatDistance(r.widthFactor);
        r.picked = 0;
    }

    m_strText = r.text;
    writeControls();
    m_edtText.SetSel(0, m_edtText.GetWindowTextLength());
}

void CTextPaletteDlg::writeControls() {
    const bool was = m_writing;
    m_writing = true;
    UpdateData(FALSE);
    m_writing = was;
}

void CTextPaletteDlg::applyToPreview() {
    // Writing the "not a text" message into the field raises its change
    // again; that nested call has nothing to add.
    if (m_applying) return;
    m_applying = true;
    TextProperties& r = g_textProperties;
    UpdateData(TRUE);
    r.text = m_strText;

    AcDbObjectId id;
    AcDbObject* object = nullptr;
    // A preview entity that cannot be opened (erased meanwhile) is skipped:
    // the style and the variables still follow the palette.
    if (acdbGetObjectId(id, r.entity) == Acad::eOk && acdbOpenObject(object, id, AcDb::kForWrite) == Acad::eOk) {
        AcDbText* text = AcDbText::cast(object);
        if (text == nullptr) {
            object->close();
            m_edtText.EnableWindow(FALSE);
            m_btnNewLine.ShowWindow(SW_HIDE);
            m_strText = "Это не текст!"_cp;
            writeControls();
            m_applying = false;
            return;
        }
        writeRecordInto(text, r);
        text->close();
    }

    if (!m_strStyle.empty()) r.styleName = m_strStyle;
    else getTextStyleName(r.styleId, r.styleName);
    setStringVar("TEXTSTYLE", r.styleName);
    setRealVar("TEXTSIZE", r.height);
    setStyleObliquingAngle(r.oblique, r.styleId);
    setStyleXScale(r.widthFactor, r.styleId);
    flushDrawingGraphics();

    m_edtText.EnableWindow(TRUE);
    m_btnNewLine.ShowWindow(SW_SHOW);
    r.offsetX = std::atoi(m_strOffsetX.c_str());
    r.offsetY = std::atoi(m_strOffsetY.c_str());
    m_applying = false;
}

void CTextPaletteDlg::eraseIfEmpty(ads_name entity) {
    if (m_strText.empty()) {
        AcDbObjectId id;
        AcDbObject* object = nullptr;
        if (acdbGetObjectId(id, entity) == Acad::eOk && acdbOpenObject(object, id, AcDb::kForWrite) == Acad::eOk) {
            if (AcDbText::cast(object) != nullptr) object->erase();
            object->close();
        }
    }
    g_textProperties.text.clear();
}

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
    if (chosenEntry(m_cmbStyle, entry)) {
        g_textProperties.styleName = entry;
        g_textProperties.styleId = findTextStyle(entry);
    }
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
    if (m_writing) return;
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
    if (m_writing) return;
    UpdateData(TRUE);
    TextProperties& r = g_textProperties;
    r.oblique = std::atof(m_strOblique.c_str()) * kDegreesToRadians;
    setStyleObliquingAngle(r.oblique, r.styleId);
    applyToPreview();
}

void CTextPaletteDlg::OnRotationSelected() {
    std::string entry;
    if (chosenEntry(m_cmbRotation, entry)) g_textProperties.rotation = std::atof(entry.c_str()) * kDegreesToRadians;
    applyToPreview();
    m_edtText.SetFocus();
}

void CTextPaletteDlg::OnRotationTyped() {
    if (m_writing) return;
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
    if (m_writing) return;
    UpdateData(TRUE);
    TextProperties& r = g_textProperties;
    r.widthFactor = std::atof(m_strWidth.c_str());
    r.styleId = findTextStyle(m_strStyle);
    setStyleXScale(r.widthFactor, r.styleId);
    applyToPreview();
}

void CTextPaletteDlg::OnTextChanged() {
    if (!m_writing) applyToPreview();
}

void CTextPaletteDlg::OnOffsetXChanged() {
    if (m_writing) return;
    UpdateData(TRUE);
    g_textProperties.offsetX = std::atof(m_strOffsetX.c_str());
}

void CTextPaletteDlg::OnOffsetYChanged() {
    if (m_writing) return;
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

void CTextPaletteDlg::OnCut() { m_edtText.Cut(); }
void CTextPaletteDlg::OnCopy() { m_edtText.Copy(); }
void CTextPaletteDlg::OnPaste() { m_edtText.Paste(); }

void CTextPaletteDlg::OnUndo() {
    m_edtText.Undo();
    applyToPreview();
}
