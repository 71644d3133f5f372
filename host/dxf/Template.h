// The drawing the host starts from when it opens no file: a valid DXF R2000
// drawing in code page 1251 (metric: TEXTSIZE 2.5, text style "Standard").
#pragma once

#include "host/dxf/DxfDocument.h"

namespace kestrin::dxf {

Document newDrawingTemplate();

}  // namespace kestrin::dxf
