// What the palette does to the line's record apart from its controls, so
// that the palette's handlers only translate control events into calls here
// and show what the record then holds:
// - the numbers of its boxes, each checked against the host's and the
//   palette's bounds before it reaches the record (or the style record);
// - which boxes hold a refused value: the refusal is said once, and the box
//   is put back to the value in force when it loses the focus;
// - the step from line to line: the offsets that move the next line, learnt
//   from two picked points or typed.
#pragma once

#include <functional>
#include <string>

#include "plugin/palette/PalettePreview.h"
#include "plugin/palette/TextProperties.h"

class PaletteModel {
public:
    enum Box { kHeight, kWidth, kSlant, kRotation, kOffsetX, kOffsetY, kBoxes };

    PaletteModel(TextProperties& record, PalettePreview& preview) : record_(record), preview_(preview) {}

    // Take a value into the record: false, taking nothing, for one beyond
    // the bounds. A slant or width typed (not chosen) goes into the style.
    bool takeHeight(double height);
    bool takeWidthOfLine(double widthFactor);
    bool takeWidthOfStyle(double widthFactor, const std::string& styleName);
    bool takeSlantOfLine(double degrees);
    bool takeSlantOfStyle(double degrees);
    bool takeRotation(double degrees);
    bool takeOffsetX(double offset);
    bool takeOffsetY(double offset);

    // Marks the box refused and says why on the command line, once until the
    // box takes a value or is put back.
    void refuse(Box box);
    bool refused(Box box) const { return refused_[box]; }
    // Every box shows the value in force (after the record was shown anew).
    void forgetRefusals();
    // Clears a refusal; true when there was one (the box is put back).
    bool putBack(Box box);
    // What the command line says for a refused value of the box (CP1251).
    static std::string refusal(Box box);
    // The value in force as the box shows it.
    std::string inForce(Box box) const;

    // Whether the offset boxes hold a step: a new or moved line then goes
    // there without asking for a point.
    static bool offsetMode(const std::string& offsetX, const std::string& offsetY);
    // The record's insertion point moved by the boxes' step, when the
    // rotation box allows it and the step is within the bounds.
    void stepByOffsets(const std::string& rotation, const std::string& offsetX, const std::string& offsetY);
    // The step between two picked points becomes the record's offsets;
    // false, with the boxes refused and the old step kept, when either is
    // beyond the bounds.
    bool learnOffsets(double dx, double dy);

    // The justification: 0 left, 1 centre, 2 right.
    void justify(int horizontalMode) { record_.horizontalMode = horizontalMode; }
    // The style the line is written in.
    void useStyle(const AcDbObjectId& style) { record_.styleId = style; }
    // The next line starts without text.
    void startEmptyLine() { record_.text.clear(); }
    // The line goes to `point` (the insertion point picked for it).
    void placeAt(const AcGePoint3d& point) { record_.insertionPoint = point; }
    // The preview text moved from `from` to the record's insertion point; a
    // text that cannot be moved keeps its place, and so does the record.
    void moveTextFrom(const AcGePoint3d& from);

private:
    // A value within the bounds ends the box's refusal and is stored.
    bool take(Box box, bool valid, const std::function<void()>& store);

    TextProperties& record_;
    PalettePreview& preview_;
    bool refused_[kBoxes] = {};
};
