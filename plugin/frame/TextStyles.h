// Operations on the drawing's text style records. Each opens what it needs,
// does one thing and closes it again.
//
// Answers are the database status numbers: Acad::eOk (0) on success,
// Acad::eNullObjectId (16) for the null id (the out value is left as it was),
// Acad::eNotThatKindOfClass (34) when the id cannot be opened or does not
// name a text style record.
#pragma once

#include <functional>
#include <string>

#include "host/api/Arx.h"

Acad::ErrorStatus getTextStyleName(AcDbObjectId styleId, std::string& name);
Acad::ErrorStatus getStyleObliquingAngle(AcDbObjectId styleId, double& angle);
Acad::ErrorStatus getStyleXScale(AcDbObjectId styleId, double& xScale);
Acad::ErrorStatus setStyleObliquingAngle(double angle, AcDbObjectId styleId);
Acad::ErrorStatus setStyleXScale(double xScale, AcDbObjectId styleId);

// The id of the (not erased) style `name` in the working drawing's text
// style table; the null id when there is none.
AcDbObjectId findTextStyle(const std::string& name);

// The module's own symbol font style.
inline constexpr const char* kSymbolStyleName = "ZOR";
inline constexpr const char* kSymbolFontFile = "Zor.shx";

// Creates the style "ZOR" on font "Zor.shx" when zor.shx is on the host's
// search path; otherwise prints "\nНе найден файл zor.shx.\n" and changes
// nothing. The one search decides: `onFontFound` runs as soon as it has
// found the file, before the style is made. Answers the new style's id, or
// the null id when nothing was created (font missing, no drawing, a style
// table that cannot be opened, or a table that refused the record; each of
// the last three is reported on the command line).
AcDbObjectId loadSymbolFontStyle(const std::function<void()>& onFontFound = {});
