// System variables of the working drawing, and numbers as the drawing shows
// them.
#pragma once

#include <cstddef>

#include "host/api/AdsTypes.h"

// Reads a variable by name (any case). Integers come as RTSHORT (RTLONG for
// 32-bit ones), reals as RTREAL, text as RTSTR (the caller frees the string
// with free()), points as RT3DPOINT. RTERROR for an unknown name or when
// there is no drawing.
int acedGetVar(const char* name, resbuf* result);
// Writes a variable. A real given for an integer variable is taken as that
// integer when it is whole. Refused with RTERROR: an unknown or read-only
// name, a value of the wrong type or out of range, TEXTSIZE of 0 or less,
// a TEXTSTYLE that names no text style.
int acedSetVar(const char* name, const resbuf* value);

// `value` as text in `unit` (1 scientific, 2 decimal, 3 engineering,
// 4 architectural, 5 fractional; -1 the drawing's LUNITS) with `precision`
// places (-1 LUPREC), zeros suppressed as DIMZIN says. `out` needs 64 bytes.
// RTERROR for a unit or precision out of range.
int acdbRToS(ads_real value, int unit, int precision, char* out);

namespace kestrin::host {
// The same, into a buffer of `size` bytes (RTERROR when it does not fit).
int realToString(double value, int unit, int precision, char* out, std::size_t size);
}
