// The "Symbol" font of the palette's Greek letter buttons: the buttons carry
// one Latin letter each, which that font shows as the Greek letter.
#pragma once

#include <array>

#include "platform/ui/Framework.h"

// The 30 Greek letter buttons and the five image buttons of their block.
inline constexpr std::array<int, 35> kSymbolFontButtons = {
    8047, 8049, 8050, 8051, 8052, 8061, 8062, 8063, 8064, 8065, 8066, 8067,
    8069, 8070, 8072, 8074, 8075, 8076, 8077, 8078, 8079, 8081, 8082, 8083,
    8084, 8086, 8088, 8089, 8090, 8091, 8068, 8071, 8073, 8080, 8087};

inline constexpr const char* kSymbolFontFace = "Symbol";

// Creates `font` from the dialog's own font with only the face name changed
// to "Symbol" and gives it to the buttons above that exist. The font is the
// dialog's member and must outlive the buttons. Answers false (and changes
// nothing) when the dialog has no font to copy.
bool applySymbolFont(CWnd& dialog, CFont& font);
