// The keyboard indicators of the palette and of the edit dialog (Caps Lock,
// Num Lock, Russian or Latin layout), and the palette's layout switch.
#pragma once

#include "platform/ui/Framework.h"

// "CAP" / "NUM" only when the key's state byte is exactly 1: toggled on and
// not held down at this moment. Otherwise the field is emptied.
void updateCapsIndicator(CWnd& dialog);
void updateNumIndicator(CWnd& dialog);
// "RUS" when the active layout's identifier ends in "419", else "LAT".
void updateLanguageIndicator(CWnd& dialog);
// The three in the order the dialogs refresh them.
void updateKeyboardIndicators(CWnd& dialog);

// Activates the second installed layout with reorder, so repeated calls
// alternate between the first two. With fewer than two layouts the layout
// stays. Answers whether a layout was activated.
bool switchKeyboardLayout();
