// The line being composed: one module-wide record that outlives every
// command, so a new CKestrin starts from what the last one left. The
// palette's controls are only a view of it.
#pragma once

#include <string>

#include "host/api/AdsTypes.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/AcadTypes.h"

struct TextProperties {
    std::string text;          // string of the current line (CP1251)
    std::string styleName;     // name of the current text style
    AcDbObjectId styleId;      // its record; null when the name is not found
    double height = 0;         // 0: not yet known, the palette shows TEXTSIZE
    double widthFactor = 0;    // 0: take the style record's width factor
    double oblique = 0;        // radians; 0: take the style record's angle
    double rotation = 0;       // radians
    int horizontalMode = 0;    // 0 left, 1 center, 2 right
    AcGePoint3d insertionPoint;  // both position and alignment point
    double offsetX = 0;        // step to the next line's insertion point
    double offsetY = 0;
    ads_name entity = {0, 0};  // the preview entity
    unsigned char picked = 0;  // loaded from a picked text / pick from the edit dialog
};

// The one record of the module; zero at load.
extern TextProperties g_textProperties;

// Angles are held in radians and shown in degrees.
inline constexpr double kDegreesToRadians = 0.017453292519943295;
inline constexpr double kRadiansToDegrees = 57.29577951308232;
