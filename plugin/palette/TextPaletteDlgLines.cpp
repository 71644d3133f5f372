// The palette's line operations: each one that needs a point or a text from
// the drawing hides the palette, asks the host and comes back, or ends the
// palette when the user cancels.

#include <optional>

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/frame/SystemVariables.h"
#include "plugin/frame/TextPlacement.h"
#include "plugin/frame/TextStyles.h"
#include "plugin/palette/TextPaletteDlg.h"
#include "plugin/palette/TextProperties.h"

using namespace kestrin::literals;

namespace {

const char* insertionPrompt() { return "\nВыберите точку вставки: "_cp; }

// Asks for the insertion point of a line, with `base` as the base point;
// nothing when none was given.
std::optional<AcGePoint3d> askInsertionPoint(const AcGePoint3d& base) {
    ads_point from = {base.x, base.y, base.z};
    ads_point to = {0, 0, 0};
    if (acedGetPoint(from, insertionPrompt(), to) != RTNORM) return std::nullopt;
    return AcGePoint3d(to[0], to[1], to[2]);
}

// Where a dragged line is moved from; the transform callback has no other
// way to know it.
AcGePoint3d dragBase;

int followCursor(ads_point pt, ads_matrix mt) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) mt[i][j] = i == j ? 1.0 : 0.0;
    mt[0][3] = pt[0] - dragBase.x;
    mt[1][3] = pt[1] - dragBase.y;
    return RTNORM;
}

// As askInsertionPoint, while the entity `text` follows the cursor (moved
// from `base`); a line with no entity to show is asked for plainly.
std::optional<AcGePoint3d> dragInsertionPoint(const AcGePoint3d& base, const ads_name text) {
    ads_name set = {0, 0};
    if (acedSSAdd(text, nullptr, set) != RTNORM) return askInsertionPoint(base);
    dragBase = base;
    ads_point to = {0, 0, 0};
    const int status = acedDragGen(set, insertionPrompt(), 0, followCursor, to);
    acedSSFree(set);
    if (status != RTNORM) return std::nullopt;
    return AcGePoint3d(to[0], to[1], to[2]);
}

}  // namespace

// Asks for a line's insertion point from `base`; the model places the line
// there. False when none was given.
bool CTextPaletteDlg::pickInsertionPoint(const AcGePoint3d& base) { return placeAt(askInsertionPoint(base)); }

// The same while the preview entity follows the cursor.
bool CTextPaletteDlg::dragLineToPoint(const AcGePoint3d& base) {
    return placeAt(dragInsertionPoint(base, g_textProperties.entity));
}

bool CTextPaletteDlg::placeAt(const std::optional<AcGePoint3d>& point) {
    if (point) m_model.placeAt(*point);
    return point.has_value();
}

// Input from the drawing: hide for it, then come back or end the palette.
void CTextPaletteDlg::beginHandOver() {
    BeginEditorCommand();
    ShowWindow(SW_HIDE);
}

void CTextPaletteDlg::completeHandOver() {
    CompleteEditorCommand(true);
    delete m_pToolTip;
    m_pToolTip = nullptr;
    createToolTips();
    ShowWindow(SW_SHOW);
    flushDrawingGraphics();
}

void CTextPaletteDlg::cancelHandOver() { CancelEditorCommand(); }

// A new preview line with `text` (createTextEntity), made by the palette.
void CTextPaletteDlg::makeLine(const std::string& text) {
    createTextEntity(text);
    m_preview.setPickedFromDrawing(false);
}

// The offset boxes hold a step.
bool CTextPaletteDlg::offsetMode() const { return PaletteModel::offsetMode(m_strOffsetX, m_strOffsetY); }

// The next line at the step from this one, with `text` (a new line empty, a
// moved one its own): no point is asked.
void CTextPaletteDlg::placeSteppedLine(const std::string& text) {
    m_model.stepByOffsets(m_strRotation, m_strOffsetX, m_strOffsetY);
    makeLine(text);
    m_edtText.SetFocus();
    writeControls();
}

void CTextPaletteDlg::pickLineOffset() {
    TextProperties& r = g_textProperties;
    beginHandOver();
    int orthomode = 0;
    int osmode = 0;
    getShortVar("orthomode", orthomode);
    getShortVar("osmode", osmode);
    setRealVar("orthomode", 1);
    setRealVar("osmode", 64);

    ads_point first = {0, 0, 0};
    ads_point second = {0, 0, 0};
    const bool given = acedGetPoint(nullptr, "\nПервая точка: "_cp, first) == RTNORM &&
                       acedGetPoint(first, "\nВторая точка: "_cp, second) == RTNORM;
    setRealVar("orthomode", orthomode);
    setRealVar("osmode", osmode);
    if (!given) {
        eraseIfEmpty(r.entity);
        cancelHandOver();
        return;
    }
    m_model.learnOffsets(second[0] - first[0], second[1] - first[1]);
    m_strOffsetX = m_model.inForce(PaletteModel::kOffsetX);
    m_strOffsetY = m_model.inForce(PaletteModel::kOffsetY);
    writeControls();
    completeHandOver();
}

void CTextPaletteDlg::startLineAtPoint() {
    TextProperties& r = g_textProperties;
    const AcGePoint3d base = r.insertionPoint;
    m_model.startEmptyLine();
    eraseIfEmpty(r.entity);
    beginHandOver();
    if (!pickInsertionPoint(base)) {
        cancelHandOver();
        return;
    }
    m_strText.clear();
    makeLine(std::string());
    m_edtText.SetFocus();
    writeControls();
    completeHandOver();
}

void CTextPaletteDlg::newLine() {
    TextProperties& r = g_textProperties;
    UpdateData(TRUE);
    eraseIfEmpty(r.entity);
    const AcGePoint3d base = r.insertionPoint;

    if (offsetMode()) {
        m_model.startEmptyLine();
        m_strText.clear();
        placeSteppedLine(std::string());
        return;
    }

    beginHandOver();
    m_model.startEmptyLine();
    if (!pickInsertionPoint(base)) {
        cancelHandOver();
        return;
    }
    placeLineAtPickedPoint(base, std::string());
}

void CTextPaletteDlg::moveLine() {
    if (m_preview.pickedFromDrawing()) {
        movePickedText();
        return;
    }
    TextProperties& r = g_textProperties;
    UpdateData(TRUE);
    const AcGePoint3d base = r.insertionPoint;

    if (offsetMode()) {
        m_preview.eraseText();
        placeSteppedLine(r.text);
        flushDrawingGraphics();
        return;
    }

    // The line follows the cursor and is taken away only when its new point
    // is given: a cancel leaves it where it was, so no text is lost. An empty
    // line goes, as on Cancel.
    beginHandOver();
    if (!dragLineToPoint(base)) {
        if (r.text.empty()) m_preview.eraseText();
        cancelHandOver();
        return;
    }
    m_preview.eraseText();
    placeLineAtPickedPoint(base, r.text);
}

// A text of the drawing keeps its handle, layer, extended data and all the
// palette does not show: it is moved, never erased and made anew. Until the
// point is given nothing of it is touched, so a cancel leaves it as it was.
void CTextPaletteDlg::movePickedText() {
    TextProperties& r = g_textProperties;
    UpdateData(TRUE);
    const AcGePoint3d base = r.insertionPoint;

    if (offsetMode()) {
        m_model.stepByOffsets(m_strRotation, m_strOffsetX, m_strOffsetY);
        m_model.moveTextFrom(base);
        m_edtText.SetFocus();
        writeControls();
        flushDrawingGraphics();
        return;
    }

    beginHandOver();
    if (!dragLineToPoint(base)) {
        cancelHandOver();
        return;
    }
    movePickedTextToPickedPoint(base);
}

// Creates the line with `text` at the point just picked, shows the step from
// `base` to it in the offset fields and completes the hand-over.
void CTextPaletteDlg::placeLineAtPickedPoint(const AcGePoint3d& base, const std::string& text) {
    m_strText = text;
    makeLine(text);
    completePickedStep(base);
}

// The same with the picked text itself moved to the point.
void CTextPaletteDlg::movePickedTextToPickedPoint(const AcGePoint3d& base) {
    TextProperties& r = g_textProperties;
    m_strText = r.text;
    m_model.moveTextFrom(base);
    completePickedStep(base);
}

void CTextPaletteDlg::completePickedStep(const AcGePoint3d& base) {
    const TextProperties& r = g_textProperties;
    m_edtText.SetFocus();
    writeControls();
    m_model.learnOffsets(r.insertionPoint.x - base.x, r.insertionPoint.y - base.y);
    refreshFromRecord();
    completeHandOver();
}

void CTextPaletteDlg::editExistingText() {
    TextProperties& r = g_textProperties;
    beginHandOver();
    eraseIfEmpty(r.entity);
    m_strText.clear();
    if (pickUntilDone(pickExistingText) == kPickCancelled) {
        cancelHandOver();
        return;
    }
    m_preview.setPickedFromDrawing(true);
    m_strText = r.text;
    writeControls();
    refreshFromRecord();
    completeHandOver();
}

void CTextPaletteDlg::loadOwnFont() {
    // The button goes as soon as the font file is found; it comes back when
    // no style was made after all, for another try.
    bool fontFound = false;
    const AcDbObjectId created = loadSymbolFontStyle([&] {
        fontFound = true;
        m_btnOwnFont.ShowWindow(SW_HIDE);
    });
    if (created.isNull()) {
        if (fontFound) m_btnOwnFont.ShowWindow(SW_SHOW);
        return;
    }
    m_model.useStyle(created);

    m_strStyle = kSymbolStyleName;
    const int count = m_cmbStyle.GetCount();
    if (count == 0) return;
    bool listed = false;
    for (int i = 0; i < count && !listed; ++i) {
        std::string entry;
        m_cmbStyle.GetLBText(i, entry);
        listed = entry == kSymbolStyleName;
    }
    if (!listed) m_cmbStyle.AddString(kSymbolStyleName);
    writeControls();
    m_preview.chooseStyle(kSymbolStyleName);
    applyToPreview();

    applyStyleLook(kSymbolStyleName);
    m_edtText.SetFocus();
}
